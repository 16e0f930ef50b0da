#include <windows.h>

#include "platform/resource_text.h"

namespace platform {

namespace {

HMODULE g_resourceModule = nullptr;

bool LoadFrom(HMODULE module, std::uint32_t number, std::string& text) {
  char buffer[1024];
  // LoadStringA returns the length it copied; 0 when the module has no such string.
  const int length = LoadStringA(module, number, buffer, sizeof buffer);
  if (length <= 0) return false;
  text.assign(buffer, static_cast<std::size_t>(length));
  return true;
}

}  // namespace

bool LoadResourceText(std::uint32_t number, std::string& text) {
  if (g_resourceModule && LoadFrom(g_resourceModule, number, text)) return true;
  return LoadFrom(GetModuleHandleA(nullptr), number, text);
}

void SetResourceModule(void* module) {
  g_resourceModule = static_cast<HMODULE>(module);
}

}  // namespace platform
