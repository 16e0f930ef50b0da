#include <windows.h>

#include "platform/system_message.h"

namespace platform {

bool SystemMessageText(std::uint32_t code, std::string& text) {
  char* message = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
      nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&message),
      0, nullptr);
  if (length != 0) text.assign(message, length);
  LocalFree(message);
  return length != 0;
}

}  // namespace platform
