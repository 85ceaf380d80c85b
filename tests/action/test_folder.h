// A fresh scratch folder per test, with byte-level access to the files in it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "common/utf16.h"

namespace sctest {

class TestFolder {
  public:
    TestFolder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("sc_test_" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // The folder as the engine is given it: UTF-16, no trailing separator.
    std::u16string folder() const { return sc::utf16::fromUtf8(path_.string()); }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }
    bool exists(const std::string& name) const { return std::filesystem::exists(file(name)); }

    std::string bytes(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void writeBytes(const std::string& name, const std::string& bytes) const {
        std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    // UTF-16LE content as the engine's files hold it.
    std::u16string text(const std::string& name) const { return sc::utf16::fromBytes(bytes(name)); }
    void writeText(const std::string& name, std::u16string_view text) const {
        writeBytes(name, sc::utf16::toBytes(text));
    }
    // Removes the folder so that every later write into it fails.
    void removeAll() const { std::filesystem::remove_all(path_); }

  private:
    std::filesystem::path path_;
};

} // namespace sctest
