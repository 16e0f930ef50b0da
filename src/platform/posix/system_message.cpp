#include "platform/system_message.h"

namespace platform {

bool SystemMessageText(std::uint32_t, std::string&) {
  return false;
}

}  // namespace platform
