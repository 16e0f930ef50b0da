#include <windows.h>

#include "platform/append_file.h"

namespace platform {

bool AppendToFile(const char* path, const char* bytes, std::size_t size) {
  const HANDLE file =
      CreateFileA(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      size == 0 ||
      (WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size);
  CloseHandle(file);
  return ok;
}

}  // namespace platform
