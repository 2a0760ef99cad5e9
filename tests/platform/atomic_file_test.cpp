// Whole-file replacement: the file is always one complete version.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "support/test_support.h"

namespace vesk {
namespace {

size_t entries(const std::string& dir) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
    return n;
}

TEST(AtomicFile, ReplacesWholeAndKeepsTheFilesMode) {
    test::TempDir dir;
    const std::string path = dir.file("user.cfg");
    const std::string binary("A=1\n\0\xFF\nB=2\n", 11);
    ASSERT_TRUE(writeFileAtomically(path, binary));
    std::string back;
    ASSERT_TRUE(readWholeFile(path, back));
    EXPECT_EQ(back, binary);

    ::chmod(path.c_str(), 0600);
    ASSERT_TRUE(writeFileAtomically(path, "short"));
    ASSERT_TRUE(readWholeFile(path, back));
    EXPECT_EQ(back, "short");
    struct stat st{};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(entries(dir.path()), 1u);
}

TEST(AtomicFile, FailedReplacementLeavesNoTraceAndTheTargetIntact) {
    test::TempDir dir;
    // Renaming a file over a non-empty folder fails, even for root.
    std::filesystem::create_directory(dir.file("cfg"));
    test::writeText(dir.file("cfg/keep"), "kept");
    EXPECT_FALSE(writeFileAtomically(dir.file("cfg"), "data"));
    EXPECT_EQ(test::readText(dir.file("cfg/keep")), "kept");
    EXPECT_EQ(entries(dir.path()), 1u);
    EXPECT_FALSE(writeFileAtomically(dir.file("missing/user.cfg"), "data"));
}

TEST(AtomicFile, ConcurrentWritersNeverMixTheirContent) {
    test::TempDir dir;
    const std::string path = dir.file("tmstat.cfg");
    const std::string a(20000, 'a'), b(30000, 'b');
    auto writer = [&](const std::string& text) {
        for (int i = 0; i < 15; ++i) EXPECT_TRUE(writeFileAtomically(path, text));
    };
    std::thread ta(writer, a), tb(writer, b);
    ta.join();
    tb.join();
    std::string back;
    ASSERT_TRUE(readWholeFile(path, back));
    EXPECT_TRUE(back == a || back == b);
    EXPECT_EQ(entries(dir.path()), 1u);
}

// What a kill between the temporary's creation and the rename leaves: a
// whole copy beside the file. Only such names of the given file go.
TEST(AtomicFile, LeftoverTemporariesOfAFileAreRemovedAndNothingElse) {
    test::TempDir dir;
    const std::string path = dir.file("user.cfg");
    ASSERT_TRUE(writeFileAtomically(path, "A=1\n"));
    const std::vector<std::string> leftovers = {"user.cfg.tmpAb12Zx", "user.cfg.tmp000000", "user.cfg.tmpzzzzzz"};
    const std::vector<std::string> others = {"user.cfg.tmp12345",  "user.cfg.tmpABCDEFG", "user.cfg.tmpAB-DEF",
                                             "tmstat.cfg.tmpAbCdEf", "xuser.cfg.tmpAbCdEf", "user.cfg.bak",
                                             "service.cfg"};
    for (const auto& n : leftovers) ASSERT_TRUE(writeFileAtomically(dir.file(n), "A=0\n"));
    for (const auto& n : others) ASSERT_TRUE(writeFileAtomically(dir.file(n), "A=0\n"));
    EXPECT_EQ(removeLeftoverTemporaries(path), leftovers.size());
    for (const auto& n : leftovers) EXPECT_FALSE(std::filesystem::exists(dir.file(n))) << n;
    for (const auto& n : others) EXPECT_TRUE(std::filesystem::exists(dir.file(n))) << n;
    std::string back;
    ASSERT_TRUE(readWholeFile(path, back));
    EXPECT_EQ(back, "A=1\n");
    EXPECT_EQ(removeLeftoverTemporaries(dir.file("missing/user.cfg")), 0u);
}

TEST(AtomicFile, ReadingWhatIsNoFileFails) {
    test::TempDir dir;
    std::string out = "untouched";
    EXPECT_FALSE(readWholeFile(dir.file("missing"), out));
    EXPECT_FALSE(readWholeFile(dir.path(), out));
    EXPECT_EQ(out, "untouched");
    test::writeText(dir.file("empty"), "");
    EXPECT_TRUE(readWholeFile(dir.file("empty"), out));
    EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace vesk
