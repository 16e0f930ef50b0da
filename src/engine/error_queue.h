#pragma once
// An unbounded first-in, first-out queue of error records. Each record has its own node,
// so a record that cannot be stored fails alone and leaves the queue intact.
// Not synchronised: the owner holds g_errorLock around every call.

#include "engine/mem_test.h"

class ErrorQueue {
 public:
  ErrorQueue() = default;
  ErrorQueue(const ErrorQueue&) = delete;
  ErrorQueue& operator=(const ErrorQueue&) = delete;
  ~ErrorQueue() { Clear(); }

  // Appends at the tail; false when there is no memory for the record.
  bool Push(const MemTestError& error);
  // Removes the head into `error`; false, with `error` untouched, when empty.
  bool Pop(MemTestError& error);
  void Clear();

 private:
  struct Node {
    MemTestError error;
    Node* next;
  };

  Node* m_head = nullptr;
  Node* m_tail = nullptr;
};
