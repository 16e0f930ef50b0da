#include "user_language_key.h"

namespace program_driver {
namespace {

constexpr const char* kKey = "Software\\Quorvanta\\SYSTEM";
constexpr const char* kValue = "Language";

}  // namespace

bool UserKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool DeleteUserKey() {
  RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  return !UserKeyExists();
}

void SetLanguageValue(DWORD type, const void* data, DWORD bytes) {
  RegSetKeyValueA(HKEY_CURRENT_USER, kKey, kValue, type, data, bytes);
}

LanguageValueGuard::LanguageValueGuard() {
  m_present = RegGetValueA(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_ANY | RRF_NOEXPAND, &m_type,
                           m_data, &m_size) == ERROR_SUCCESS;
}

LanguageValueGuard::~LanguageValueGuard() {
  if (m_present) {
    SetLanguageValue(m_type, m_data, m_size);
  } else {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, kValue);
  }
}

}  // namespace program_driver
