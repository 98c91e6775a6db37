#include "platform/Paths.h"
#include "tests/support/ScopedEnvironment.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace tomelet {
namespace {

struct NativePathCase {
    std::string_view publicationPath;
    std::string_view nativePath;
};

TEST(NativePathTest, PublicationPathsBecomeNativePaths) {
    const ScopedEnvironment driveC("TOMELET_DRIVE_C", "/srv/c");
    const ScopedEnvironment driveZ("TOMELET_DRIVE_Z", std::nullopt);
    const ScopedEnvironment driveD("TOMELET_DRIVE_D", "");
    const ScopedEnvironment data("XDG_DATA_HOME", "/home/u/share");
    const NativePathCase cases[] = {
        {"C:\\Data\\x.txt", "/srv/c/Data/x.txt"},
        {"c:/Data//x.txt", "/srv/c/Data/x.txt"},
        {"C:\\\\Data\\", "/srv/c/Data/"},
        {"C:", "/srv/c/"},
        {"C:relative.txt", "/srv/c/relative.txt"},
        {"Z:\\home\\u\\a.txt", "/home/u/a.txt"},
        // An empty override counts as unset.
        {"d:\\x", "/home/u/share/tomelet/drives/d/x"},
        {"E:\\", "/home/u/share/tomelet/drives/e/"},
        {"data\\sub\\", "data/sub/"},
        {"\\data\\a.txt", "/data/a.txt"},
        {"/home/u/pub/a.txt", "/home/u/pub/a.txt"},
        {"\\\\server\\share\\x", "/server/share/x"},
        {"caf\xE9\\\x80.txt", "caf\u00e9/\u20AC.txt"},
        {"1:\\x", "1:/x"},
        {"", ""},
    };
    for (const NativePathCase& c : cases)
        EXPECT_EQ(toNativePath(c.publicationPath), c.nativePath) << c.publicationPath;
}

TEST(NativePathTest, DriveRootsEndWithTheSeparator) {
    const ScopedEnvironment driveC("TOMELET_DRIVE_C", "/srv/c");
    const ScopedEnvironment data("XDG_DATA_HOME", "/home/u/share");
    EXPECT_EQ(driveRoot('c'), "/srv/c/");
    EXPECT_EQ(driveRoot('C'), "/srv/c/");
    EXPECT_EQ(driveRoot('z'), "/");
    EXPECT_EQ(driveRoot('Q'), "/home/u/share/tomelet/drives/q/");
    EXPECT_EQ(driveRoot('1'), "");
}

TEST(NativePathTest, NativePathsBecomePublicationStrings) {
    EXPECT_EQ(toPublicationPath("/tmp/caf\u00e9/\u20AC.txt"), "/tmp/caf\xE9/\x80.txt");
    EXPECT_EQ(toPublicationPath("/tmp/\u03a9"), "/tmp/?");
}

TEST(NativePathTest, TempFolderFromTmpdirOrTmp) {
    {
        const ScopedEnvironment tmpdir("TMPDIR", "/var/tmp/me");
        EXPECT_EQ(tempFolder(), "/var/tmp/me/");
    }
    {
        const ScopedEnvironment tmpdir("TMPDIR", std::nullopt);
        EXPECT_EQ(tempFolder(), "/tmp/");
    }
}

TEST(NativePathTest, ConfigAndDataFoldersFollowXdgAndIgnoreRelativeValues) {
    const ScopedEnvironment home("HOME", "/home/u");
    {
        const ScopedEnvironment config("XDG_CONFIG_HOME", "/home/u/cfg/");
        const ScopedEnvironment data("XDG_DATA_HOME", "/home/u/dat");
        EXPECT_EQ(configFolder(), "/home/u/cfg/");
        EXPECT_EQ(dataFolder(), "/home/u/dat/");
    }
    {
        const ScopedEnvironment config("XDG_CONFIG_HOME", "relative/cfg");
        const ScopedEnvironment data("XDG_DATA_HOME", std::nullopt);
        EXPECT_EQ(configFolder(), "/home/u/.config/");
        EXPECT_EQ(dataFolder(), "/home/u/.local/share/");
    }
}

TEST(NativePathTest, PublicationDataFolderIsASingleSafeName) {
    const ScopedEnvironment data("XDG_DATA_HOME", "/d");
    EXPECT_EQ(publicationDataFolder("My Tour"), "/d/tomelet/My Tour/");
    EXPECT_EQ(publicationDataFolder("a/b\\c\x01"), "/d/tomelet/a_b_c_/");
    EXPECT_EQ(publicationDataFolder("Caf\xE9"), "/d/tomelet/Caf\u00e9/");
    EXPECT_EQ(publicationDataFolder(".."), "/d/tomelet/___/");
    EXPECT_EQ(publicationDataFolder(""), "/d/tomelet/_/");
}

struct ErrnoCase {
    int errnoValue;
    int fileError;
};

TEST(NativePathTest, ErrnoValuesBecomeWindowsFileErrors) {
    const ErrnoCase cases[] = {
        {0, 0},
        {ENOENT, 2},
        {ENOTDIR, 3},
        {ENAMETOOLONG, 3},
        {EMFILE, 4},
        {EACCES, 5},
        {EPERM, 5},
        {EISDIR, 5},
        {EBADF, 6},
        {ENOMEM, 8},
        {EBUSY, 16},
        {EIO, 100},
        {ENOSPC, 101},
        {EDQUOT, 101},
        {EROFS, 150},
        {ENOMEDIUM, 152},
        {EEXIST, 80},
        {ENOTEMPTY, 145},
        {ENETUNREACH, 1231},
        {ECONNRESET, 64},
        {EPROTO, kUnmappedErrnoBase + EPROTO},
        {EINTR, kUnmappedErrnoBase + EINTR},
    };
    for (const ErrnoCase& c : cases)
        EXPECT_EQ(fileErrorFromErrno(c.errnoValue), c.fileError) << c.errnoValue;
}

} // namespace
} // namespace tomelet
