// How the program picks its language module: the registry value, the file name rule, data
// only loading from a given path, and the folder it makes current.

#include "shell/language_module.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "shell/exe_module_impl.h"
#include "support/temp_folder.h"

namespace {

constexpr const char* kTestKey = "Software\\Sieveline tests\\language";

class LanguageKey : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }
  void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }

  void SetValue(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Language", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
};

TEST_F(LanguageKey, OnlyAFourByteNumberCountsAndTheKeyIsMadeOnFirstRun) {
  std::uint32_t id = 1033;
  ReadLanguageId(kTestKey, id);
  EXPECT_EQ(id, 1033u);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key, "Language", nullptr, nullptr, nullptr, nullptr),
            ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);

  SetValue(REG_SZ, "1049", 5);
  ReadLanguageId(kTestKey, id);
  EXPECT_EQ(id, 1033u);
  const std::uint64_t wide = 1049;
  SetValue(REG_QWORD, &wide, sizeof wide);
  ReadLanguageId(kTestKey, id);
  EXPECT_EQ(id, 1033u);

  const DWORD russian = 1049;
  SetValue(REG_DWORD, &russian, sizeof russian);
  ReadLanguageId(kTestKey, id);
  EXPECT_EQ(id, 1049u);
}

TEST(LanguageModule, NamedForTheLanguageAndMappedAsDataFromItsPath) {
  EXPECT_EQ(LanguageModuleName("C:\\p\\", 7), "C:\\p\\kt0007.dll");
  EXPECT_EQ(LanguageModuleName("C:\\p\\", 1033), "C:\\p\\kt1033.dll");
  EXPECT_EQ(LanguageModuleName("", 66561), "kt66561.dll");

  test_support::TempFolder folder;
  EXPECT_EQ(LoadLanguageModule(folder.File("kt1049.dll")), nullptr);
  std::filesystem::copy_file(SIEVELINE_ENGLISH_MODULE, folder.File("kt1049.dll"));
  HMODULE module = LoadLanguageModule(folder.File("kt1049.dll"));
  ASSERT_NE(module, nullptr);
  char title[32] = {};
  EXPECT_GT(LoadStringA(module, 3003, title, sizeof title), 0);
  EXPECT_STREQ(title, "Sieveline");
  FreeLibrary(module);
}

struct NoProgram {};

TEST(ModuleInit, MakesTheProgramFolderCurrent) {
  test_support::TempFolder elsewhere;
  ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.Path().string().c_str()));
  IExeModuleImpl<NoProgram> module;
  EXPECT_EQ(module.Init(""), S_OK);
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_EQ(std::string(current) + "\\", ProgramFolder());
}

}  // namespace
