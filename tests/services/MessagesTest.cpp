#include "services/Messages.h"

#include "platform/Paths.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace tomelet {
namespace {

struct MessageCase {
    int number;
    std::string_view text;
};

TEST(MessagesTest, PinnedTexts) {
    const MessageCase cases[] = {
        {202, "OK"},
        {204, "File not found!"},
        {213, "Disk read error! File may be damaged."},
        {227, "Unknown Error #"},
        {234, "This Plug-In's name conflicts with a previously installed Plug-In.|Please contact "
              "the Plug-In vendor."},
        {236, "Unable to access resource data."},
        {239, "This action requires %s parameter(s)."},
        {251, "This object does not exist."},
        {256, "This is not an application! Try another exe file."},
        {300, "File cannot be copied onto itself."},
        {303, "File does not exist."},
        {324, "\"%s\" is not a valid integer value."},
        {337, "Missing \"}\""},
        {349, "Only one Internet action is allowed at a time."},
    };
    for (const MessageCase& c : cases)
        EXPECT_EQ(GetMessageText(c.number), c.text) << c.number;
}

TEST(MessagesTest, NumbersOutsideTheTableAreEmpty) {
    for (const int number : {0, -1, 1, 201, 235, 237, 257, 299, 350, 10001})
        EXPECT_EQ(GetMessageText(number), "") << number;
}

TEST(MessagesTest, EveryAssignedNumberHasAText) {
    for (int number = 202; number <= 349; ++number) {
        const bool assigned = (number <= 256 && number != 235 && number != 237) || number >= 300;
        EXPECT_EQ(!GetMessageText(number).empty(), assigned) << number;
    }
}

struct FileErrorCase {
    int code;
    std::string_view text;
};

TEST(MessagesTest, FileErrorTexts) {
    const FileErrorCase cases[] = {
        {0, ""},
        {1, "Invalid DOS function!"},
        {2, "File not found!"},
        {3, "Invalid filename or directory!"},
        {7, "Unknown Error #7"},
        {16, "Cannot remove current directory."},
        {64, "The specified network name is no longer available."},
        {101, "The disk is full!"},
        {123, "Unknown Error #123"},
        {150, "Disk is write protected!"},
        {162, "Hardware failure!"},
        {1231, "Network unreachable."},
        {10001, "Unable to create temporary file!"},
        {-5, "Unknown Error #-5"},
    };
    for (const FileErrorCase& c : cases)
        EXPECT_EQ(FileErrorText(c.code), c.text) << c.code;
}

TEST(MessagesTest, EveryErrnoGivesATextAndUnmappedOnesShowTheirNumber) {
    EXPECT_EQ(FileErrorText(fileErrorFromErrno(ENOENT)), "File not found!");
    EXPECT_EQ(FileErrorText(fileErrorFromErrno(EACCES)), "Access denied!");
    EXPECT_EQ(FileErrorText(fileErrorFromErrno(ENOSPC)), "The disk is full!");
    EXPECT_EQ(FileErrorText(fileErrorFromErrno(EROFS)), "Disk is write protected!");
    EXPECT_EQ(FileErrorText(fileErrorFromErrno(EPROTO)),
              "Unknown Error #" + std::to_string(kUnmappedErrnoBase + EPROTO));
    for (int errnoValue = 1; errnoValue < 134; ++errnoValue)
        EXPECT_FALSE(FileErrorText(fileErrorFromErrno(errnoValue)).empty()) << errnoValue;
}

struct DisplayLinesCase {
    std::string_view text;
    std::vector<std::string> lines;
};

TEST(MessagesTest, BarsSeparateDisplayLines) {
    const DisplayLinesCase cases[] = {
        {"\"Button1\"||This object does not exist.",
         {"\"Button1\"", "", "This object does not exist."}},
        {"one line", {"one line"}},
        {"", {""}},
        {"|", {"", ""}},
        {"a|", {"a", ""}},
    };
    for (const DisplayLinesCase& c : cases)
        EXPECT_EQ(splitDisplayLines(c.text), c.lines) << c.text;
    EXPECT_EQ(expandLineBreaks("a||b|"), "a\n\nb\n");
}

} // namespace
} // namespace tomelet
