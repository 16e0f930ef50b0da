#pragma once
// The operating system's catalogue of message texts for error and status codes.

#include <cstdint>
#include <string>

namespace platform {

// The catalogue's text for code, as the catalogue gives it (line end included), or
// false when it has none. Native builds have no such catalogue.
bool SystemMessageText(std::uint32_t code, std::string& text);

}  // namespace platform
