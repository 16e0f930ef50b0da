#include "platform/resource_text.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace platform {

namespace {

struct Entry {
  std::uint32_t number;
  std::string_view text;
};

constexpr Entry kStrings[] = {
#define STRING_ENTRY(number, text) {number, text},
#include "resources/strings.inc"
#undef STRING_ENTRY
};

}  // namespace

bool LoadResourceText(std::uint32_t number, std::string& text) {
  const auto* entry = std::find_if(std::begin(kStrings), std::end(kStrings),
                                   [number](const Entry& e) { return e.number == number; });
  if (entry == std::end(kStrings)) return false;
  text = entry->text;
  return true;
}

void SetResourceModule(void*) {}

}  // namespace platform
