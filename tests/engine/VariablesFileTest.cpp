#include "engine/VariablesFile.h"

#include "services/Messages.h"
#include "tests/support/TestFiles.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tomelet {
namespace {

using testing::TemporaryFolder;

std::string everyHighByte() {
    std::string bytes;
    for (int code = 128; code < 256; ++code)
        bytes += static_cast<char>(code);
    return bytes;
}

TEST(VariablesFileTest, WritesNameValueLinesWithEscapedLineBreaks) {
    const std::vector<VariablePair> globals{
        {"Total", "12.50"}, {"*/*tmp", "scratch"}, {"Note", "a\r\nb\nc\r"}, {"Empty", ""}};
    EXPECT_EQ(encodeVariablesFile(globals),
              "Total=12.50\r\nNote=a[#13][#10]b[#10]c[#13]\r\nEmpty=\r\n");
}

TEST(VariablesFileTest, EveryKindOfValueSurvivesSaveAndLoad) {
    TemporaryFolder folder;
    const std::vector<VariablePair> globals{
        {"Lines", "first\r\nsecond\nthird\rfourth"},
        {"Quotes", "say \"hi\" 'there'"},
        {"Brackets", "[x] [#13 ] ]["},
        {"Pilcrow", "one\xB6two"},
        {"High", everyHighByte()},
        {"Equals", "a=b==c"},
        {"Spaces", "  padded  "},
        {"Name\rWith\nBreaks", "v"},
    };
    const std::string file = (folder / "vars.txt").string();
    const VariablesFileOutcome saved = saveVariablesFile(file, globals);
    ASSERT_TRUE(saved.success) << saved.error;
    const VariablesFileOutcome loaded = loadVariablesFile(file, nullptr);
    ASSERT_TRUE(loaded.success) << loaded.error;
    EXPECT_EQ(loaded.variables.pairs, globals);
    EXPECT_EQ(loaded.variables.ignoredLines, 0u);
    EXPECT_FALSE(loaded.variables.unterminatedLastLine);
}

TEST(VariablesFileTest, ScratchVariablesAreNotSaved) {
    TemporaryFolder folder;
    const std::string file = (folder / "vars.txt").string();
    ASSERT_TRUE(saveVariablesFile(file, {{"*/*tmp", "x"}, {"Keep", "y"}}).success);
    EXPECT_EQ(testing::readFile(file), "Keep=y\r\n");
}

struct DecodeCase {
    std::string_view bytes;
    std::vector<VariablePair> pairs;
    std::size_t ignored;
    bool unterminated;
};

TEST(VariablesFileTest, ReadsTruncatedAndMalformedFilesAsFarAsTheyGo) {
    const DecodeCase cases[] = {
        {"", {}, 0, false},
        {"a=1\r\nb=2\r\n", {{"a", "1"}, {"b", "2"}}, 0, false},
        {"a=1\nb=2\rc=3", {{"a", "1"}, {"b", "2"}, {"c", "3"}}, 0, true},
        {"a=1\r\nb=tru", {{"a", "1"}, {"b", "tru"}}, 0, true},
        {"no equals\r\n=value\r\n\r\nx=\r\n", {{"x", ""}}, 3, false},
        {"k=v[#1", {{"k", "v[#1"}}, 0, true},
        {"k=[#13[#10]]\r\n", {{"k", "[#13\n]"}}, 0, false},
        {std::string_view("n\0=v\0\r\n", 7),
         {{std::string("n\0", 2), std::string("v\0", 2)}},
         0,
         false},
        {"\r\n\r\n\n\r", {}, 4, false},
    };
    for (const DecodeCase& testCase : cases) {
        const DecodedVariables decoded = decodeVariablesFile(testCase.bytes);
        EXPECT_EQ(decoded.pairs, testCase.pairs) << testCase.bytes;
        EXPECT_EQ(decoded.ignoredLines, testCase.ignored) << testCase.bytes;
        EXPECT_EQ(decoded.unterminatedLastLine, testCase.unterminated) << testCase.bytes;
    }
}

TEST(VariablesFileTest, AFailedWriteLeavesTheOldFileIntact) {
    TemporaryFolder folder;
    const std::string file = (folder / "vars.txt").string();
    testing::writeFile(file, "Old=kept\r\n");
    // Half of the bytes reach the file, then the disk is full.
    int calls = 0;
    const ChunkWriter failingHalfway = [&calls](int descriptor, const char* bytes,
                                                std::size_t count) -> ssize_t {
        if (++calls > 1) {
            errno = ENOSPC;
            return -1;
        }
        return ::write(descriptor, bytes, count / 2);
    };
    const VariablesFileOutcome outcome =
        saveVariablesFile(file, {{"New", std::string(1000, 'x')}}, failingHalfway);
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.error, FileErrorText(101));
    EXPECT_EQ(testing::readFile(file), "Old=kept\r\n");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(VariablesFileTest, AFolderThatCannotBeWrittenKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TemporaryFolder folder;
    const std::string file = (folder / "vars.txt").string();
    testing::writeFile(file, "Old=kept\r\n");
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    const VariablesFileOutcome outcome = saveVariablesFile(file, {{"New", "value"}});
    ::chmod(folder.path().c_str(), 0755);
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.error, FileErrorText(5));
    EXPECT_EQ(testing::readFile(file), "Old=kept\r\n");
}

TEST(VariablesFileTest, AReplacedFileKeepsItsPermissions) {
    TemporaryFolder folder;
    const std::string file = (folder / "vars.txt").string();
    testing::writeFile(file, "Old=1\r\n");
    ASSERT_EQ(::chmod(file.c_str(), 0604), 0);
    ASSERT_TRUE(saveVariablesFile(file, {{"New", "2"}}).success);
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0604u);
    EXPECT_EQ(testing::readFile(file), "New=2\r\n");
}

TEST(VariablesFileTest, ReportsFilesThatCannotBeRead) {
    TemporaryFolder folder;
    const VariablesFileOutcome missing =
        loadVariablesFile((folder / "missing.txt").string(), nullptr);
    EXPECT_FALSE(missing.success);
    EXPECT_EQ(missing.error, FileErrorText(2));
    const VariablesFileOutcome aFolder = loadVariablesFile(folder.folder(), nullptr);
    EXPECT_FALSE(aFolder.success);
    EXPECT_FALSE(aFolder.error.empty());
    const VariablesFileOutcome saveIntoFolder = saveVariablesFile(folder.folder(), {{"a", "b"}});
    EXPECT_FALSE(saveIntoFolder.success);
    EXPECT_FALSE(saveIntoFolder.error.empty());
}

TEST(VariablesFileTest, FindsTheFileWithoutCaseAndWithBackslashes) {
    TemporaryFolder folder;
    testing::writeFile(folder / "Data" / "Vars.TXT", "a=1\r\n");
    const VariablesFileOutcome loaded =
        loadVariablesFile(folder.path().string() + "\\data\\vars.txt", nullptr);
    ASSERT_TRUE(loaded.success) << loaded.error;
    EXPECT_EQ(loaded.variables.pairs, (std::vector<VariablePair>{{"a", "1"}}));
}

} // namespace
} // namespace tomelet
