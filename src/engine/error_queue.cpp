#include "engine/error_queue.h"

#include <new>

bool ErrorQueue::Push(const MemTestError& error) {
  Node* node = new (std::nothrow) Node{error, nullptr};
  if (node == nullptr) return false;
  (m_tail ? m_tail->next : m_head) = node;
  m_tail = node;
  return true;
}

bool ErrorQueue::Pop(MemTestError& error) {
  Node* node = m_head;
  if (node == nullptr) return false;
  error = node->error;
  m_head = node->next;
  if (m_head == nullptr) m_tail = nullptr;
  delete node;
  return true;
}

void ErrorQueue::Clear() {
  MemTestError discarded;
  while (Pop(discarded)) {
  }
}
