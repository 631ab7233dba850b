#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

namespace orivel::test {

// A file's bytes exactly as they are on disk; empty when it cannot be read.
inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Replaces a file's content with exactly these bytes.
inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A folder of its own for each test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("orivel-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
            std::to_string(std::random_device{}()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  // Writes the bytes exactly as given and returns the file's path. Paths stay paths: on
  // Windows a round trip through std::string would change every non-ASCII name.
  std::filesystem::path write(const std::filesystem::path& name, std::string_view bytes) const {
    const auto path = dir_ / name;
    WriteBytes(path, bytes);
    return path;
  }
  std::filesystem::path path(const std::filesystem::path& name) const { return dir_ / name; }
  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

}  // namespace orivel::test
