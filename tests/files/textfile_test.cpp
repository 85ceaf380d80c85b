// Text files on disk: appends that never continue an open line or leave half a record, and rewrites
// that replace the file in one step.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>

#include "common/utf16.h"
#include "files/textfile.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace {

using sc::utf16::toBytes;

std::string lf(std::string_view text) {
    return toBytes(sc::utf16::fromUtf8(text));
}

class TextFileTest : public ::testing::Test {
  protected:
    std::u16string path(const std::string& name) const {
        return dir.folder() + u"\\" + sc::utf16::fromUtf8(name);
    }
    sctest::TempFolder dir;
};

TEST_F(TextFileTest, AnAppendNeverContinuesAnOpenLine) {
    struct Case {
        const char* what;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"empty", "", lf("b\n")},
        {"ended", lf("a\n"), lf("a\nb\n")},
        {"open", lf("a"), lf("a\nb\n")},
        {"partial unit after a line end", lf("a\n") + "x", lf("a\nb\n")},
        {"partial unit after an open line", lf("a,0") + "x", lf("a,0\nb\n")},
        {"byte-order mark", "\xFF\xFE" + lf("a"), "\xFF\xFE" + lf("a\nb\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.writeBytes("f", c.before);
        ASSERT_TRUE(sc::textfile::append(path("f"), u"b\n"));
        EXPECT_EQ(dir.bytes("f"), c.after);
    }
    ASSERT_TRUE(sc::textfile::append(path("new"), u"b\n"));
    EXPECT_EQ(dir.bytes("new"), lf("b\n"));
}

TEST_F(TextFileTest, UndoAppendGivesTheOldBytesBack) {
    platform::AppendUndo undo;
    for (const std::string& before : {lf("a"), lf("a") + "x"}) {
        dir.writeBytes("f", before);
        ASSERT_TRUE(sc::textfile::append(path("f"), u"b\n", undo));
        ASSERT_TRUE(platform::undoAppend(path("f"), undo));
        EXPECT_EQ(dir.bytes("f"), before);
    }
    ASSERT_TRUE(sc::textfile::append(path("g"), u"b\n", undo));
    EXPECT_TRUE(undo.created);
    ASSERT_TRUE(platform::undoAppend(path("g"), undo));
    EXPECT_FALSE(dir.exists("g"));
}

TEST_F(TextFileTest, AnAppendThatRunsOutOfRoomLeavesTheFileAsItWas) {
    const std::string before = lf("first,1\nopen") + "x";
    dir.writeBytes("f", before);
    const std::u16string file = path("f");
    // Room for the line end and part of the record, not all of it.
    const auto result = sctest::runChild([&] {
        sctest::limitFileSize(before.size() + 6);
        return sc::textfile::append(file, u"second,2\n") ? 1 : 0;
    });
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(dir.bytes("f"), before);
}

TEST_F(TextFileTest, ReplaceSwapsTheFileInOneStep) {
    dir.writeBytes("f", lf("old\n"));
    const int old = ::open(dir.file("f").c_str(), O_RDONLY);
    ASSERT_GE(old, 0);
    struct stat before {};
    ASSERT_EQ(::fstat(old, &before), 0);
    ASSERT_TRUE(sc::textfile::replace(path("f"), u"new\n"));
    // A rewrite in place would show the new bytes through the old descriptor and keep the inode.
    std::string seen(16, '\0');
    seen.resize(static_cast<std::size_t>(::pread(old, seen.data(), seen.size(), 0)));
    ::close(old);
    EXPECT_EQ(seen, lf("old\n"));
    struct stat after {};
    ASSERT_EQ(::stat(dir.file("f").c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(dir.bytes("f"), lf("new\n"));
}

TEST_F(TextFileTest, ReplaceStepsPastLeftoversAndTheyAreRemovedLater) {
    // Leftovers of a dead process that had this process's id.
    for (int n = 0; n < 5; ++n)
        dir.writeBytes("f.tmp" + std::to_string(::getpid()) + "_" + std::to_string(n), "stale");
    dir.writeBytes("f.tmpother", "stale");
    dir.writeBytes("g.tmp1_1", "someone else's");
    ASSERT_TRUE(sc::textfile::replace(path("f"), u"new\n"));
    ASSERT_TRUE(sc::textfile::replace(path("f"), u"newer\n"));
    EXPECT_EQ(dir.bytes("f"), lf("newer\n"));
    platform::removeStaleTemporaries(path("f"));
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("")))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"f", "g.tmp1_1"}));
}

TEST_F(TextFileTest, AFailedReplaceLeavesTheFileAndNoTemporary) {
    const std::string before = lf("old\n");
    dir.writeBytes("f", before);
    const std::u16string file = path("f");
    const auto result = sctest::runChild([&] {
        sctest::limitFileSize(4);
        return sc::textfile::replace(file, u"a longer text\n") ? 1 : 0;
    });
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(dir.bytes("f"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("")), {}), 1);
}

TEST_F(TextFileTest, BackslashesSeparateAndOnlyTheTargetRemains) {
    const std::u16string file = path("f.txt");
    ASSERT_TRUE(sc::textfile::append(file, u"a\n"));
    ASSERT_TRUE(sc::textfile::append(file, u"b\n"));
    std::u16string text;
    ASSERT_TRUE(sc::textfile::read(file, text));
    EXPECT_EQ(text, u"a\nb\n");
    ASSERT_TRUE(sc::textfile::replace(file, u"c\n"));
    ASSERT_TRUE(sc::textfile::read(file, text));
    EXPECT_EQ(text, u"c\n");
    // The temporary was moved over the target.
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
        1);
    EXPECT_FALSE(sc::textfile::replace(dir.folder() + u"/missing/f.txt", u"x"));
}

TEST_F(TextFileTest, ReadingSkipsAByteOrderMark) {
    dir.writeBytes("f", "\xFF\xFE" + lf("a\n"));
    std::u16string text;
    ASSERT_TRUE(sc::textfile::read(path("f"), text));
    EXPECT_EQ(text, u"a\n");
}

} // namespace
