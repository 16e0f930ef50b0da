#pragma once
// Texts of the program's string table, looked up by number.

#include <cstdint>
#include <string>

namespace platform {

// The text of string `number`, or false when the table has none. On Windows the text
// comes from the current resource module (the language module once one is loaded) and,
// failing that, from the program's own resources; elsewhere from the compiled-in table.
bool LoadResourceText(std::uint32_t number, std::string& text);

// Windows only: the module that texts are looked up in first (an HMODULE); null for the
// program's own. The shell sets it once it has loaded a language module.
void SetResourceModule(void* module);

}  // namespace platform
