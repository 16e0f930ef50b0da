#include "diag/text.h"

#include "platform/resource_text.h"

std::string ResolveText(TextRef text) {
  if (text == nullptr) return {};
  if (!IsTextId(text)) return text;
  std::string loaded;
  platform::LoadResourceText(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(text)),
                             loaded);
  return loaded;
}
