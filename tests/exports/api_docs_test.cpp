// The host transcripts in docs/api-extensions.md, run against the native library: each console block
// starts from a fresh user folder, and every command's output (standard output, then standard error)
// must be the lines shown under it. "FOLDER" stands for that folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

struct Command {
    std::string line;
    std::string expected;
};

std::vector<std::vector<Command>> consoleBlocks(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::vector<Command>> blocks;
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!inside && line == "```console") {
            inside = true;
            blocks.emplace_back();
        } else if (inside && line == "```") {
            inside = false;
        } else if (inside && line.rfind("$ strokecast-host ", 0) == 0) {
            blocks.back().push_back({line.substr(18), ""});
        } else if (inside && !blocks.back().empty()) {
            blocks.back().back().expected += line + "\n";
        }
    }
    return blocks;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string slurp(FILE* pipe) {
    std::string out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    return out;
}

TEST(ApiDocs, EveryHostTranscriptIsWhatTheHostPrints) {
    const auto blocks = consoleBlocks(STROKECAST_SOURCE_DIR "/docs/api-extensions.md");
    ASSERT_GE(blocks.size(), 4u);
    int commands = 0;
    for (const auto& block : blocks) {
        sctest::TempFolder dir;
        const std::string folder = dir.file("").parent_path().string();
        for (const Command& c : block) {
            SCOPED_TRACE(c.line);
            std::string args = c.line;
            replaceAll(args, "FOLDER", folder);
            const std::string err = folder + "/../" + dir.file("").parent_path().filename().string() + ".err";
            const std::string command = std::string("cd '" STROKECAST_SOURCE_DIR "' && '" STROKECAST_HOST
                                                    "' --library '" STROKECAST_LIBRARY "' --user-folder '") +
                                        folder + "' " + args + " 2>'" + err + "'";
            FILE* pipe = ::popen(command.c_str(), "r");
            ASSERT_NE(pipe, nullptr);
            std::string out = slurp(pipe);
            ::pclose(pipe);
            std::ifstream errIn(err);
            out += std::string(std::istreambuf_iterator<char>(errIn), {});
            std::remove(err.c_str());
            replaceAll(out, folder, "FOLDER");
            EXPECT_EQ(out, c.expected);
            ++commands;
        }
    }
    EXPECT_GE(commands, 10);
}

} // namespace
