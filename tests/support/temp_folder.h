// A fresh scratch folder per test, removed again at its end, with byte-level access to the files in it.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

#include "common/utf16.h"

namespace sctest {

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class TempFolder {
  public:
    // The tag only makes a leftover folder easy to trace back to its test.
    explicit TempFolder(std::string_view tag = "test") {
        static std::atomic<int> counter{0};
        path_ =
            std::filesystem::temp_directory_path() /
            ("sc_" + std::string(tag) + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path_); // left by an earlier process of the same id
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as the engine is given it: UTF-16, no trailing separator.
    std::u16string folder() const { return sc::utf16::fromUtf8(path_.string()); }
    std::filesystem::path file(const std::string& name) const { return path_ / name; }
    std::u16string u16File(const std::string& name) const { return sc::utf16::fromUtf8(file(name).string()); }
    bool exists(const std::string& name) const { return std::filesystem::exists(file(name)); }

    std::string bytes(const std::string& name) const { return readBytes(file(name)); }
    void writeBytes(const std::string& name, std::string_view bytes) const {
        sctest::writeBytes(file(name), bytes);
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
