#pragma once
// A folder of its own under the system's temporary folder, removed with everything in it
// when the test ends; and whole-file reads and writes in binary, so line ends show.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace test_support {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      m_path = base / ("sieveline-test-" + std::to_string(std::random_device{}()) + "-" +
                       std::to_string(counter++));
      if (std::filesystem::create_directory(m_path)) break;
    }
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }

  // The full path of `name` inside the folder, in the platform's own spelling.
  std::string File(const std::string& name) const { return (m_path / name).string(); }
  const std::filesystem::path& Path() const { return m_path; }

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
