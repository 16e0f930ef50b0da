#pragma once
// A folder of its own under the system's temporary folder, removed with everything in it
// when the test ends; and whole-file reads and writes in binary, so line ends show.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace test_support {

class TempFolder {
 public:
  TempFolder()
      : m_path(std::filesystem::temp_directory_path() /
               ("sieveline-test-" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(m_path);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }

  std::string File(const std::string& name) const { return (m_path / name).string(); }

 private:
  std::filesystem::path m_path;
};

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace test_support
