#pragma once
// Index checks of the program's fixed-size arrays and indexed containers. A bad index
// raises the processor's array-bounds fault (0xC000008C), so on the user-interface
// thread it arrives as a QV::CRunTimeException like any other fault, and elsewhere it
// ends the process.

#include <cstddef>

#include "platform/fault_translator.h"

namespace QV {

inline void CheckIndex(std::size_t index, std::size_t count) {
  if (index >= count) platform::RaiseArrayBoundsFault();
}

// A fixed-size array whose every element access checks its index.
template <typename T, std::size_t N>
class CheckedArray {
 public:
  T& operator[](std::size_t index) {
    CheckIndex(index, N);
    return m_items[index];
  }
  const T& operator[](std::size_t index) const {
    CheckIndex(index, N);
    return m_items[index];
  }
  static constexpr std::size_t size() { return N; }

 private:
  T m_items[N]{};
};

}  // namespace QV
