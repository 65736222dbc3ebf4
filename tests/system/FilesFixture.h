// A folder of its own for each file test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "system/Files.h"

namespace keldra {

class FilesTest : public ::testing::Test {
 protected:
  FilesTest() {
    std::random_device rd;
    folder_ =
        fs::temp_directory_path() / ("keldra-files-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(folder_);
  }
  ~FilesTest() override {
    std::error_code ec;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(folder_, ec);
  }

  fs::path File(const std::string& name) const { return folder_ / name; }

  static std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void Put(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  // Every name in the folder: a temporary file left behind shows up here.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  fs::path folder_;
  Files files_;
};

}  // namespace keldra
