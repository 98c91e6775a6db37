#include "platform/Paths.h"

#include <gtest/gtest.h>

namespace tomelet {
namespace {

struct NamePartsCase {
    std::string_view path;
    std::string_view fileName;
    std::string_view filePath;
    std::string_view extension;
    std::string_view drive;
};

TEST(PathNamesTest, PartsOfPublicationFileNames) {
    const NamePartsCase cases[] = {
        {"embedded:\\\\\\flash.ocx", "flash.ocx", "embedded:\\\\\\", ".ocx", ""},
        {"C:\\Authoring\\pics\\logo.png", "logo.png", "C:\\Authoring\\pics\\", ".png", "C:"},
        {"C:\\a\\b.c.d", "b.c.d", "C:\\a\\", ".d", "C:"},
        {"noext", "noext", "", "", ""},
        {"dir\\", "", "dir\\", "", ""},
        {"a.dir\\file", "file", "a.dir\\", "", ""},
        {"c:file.txt", "file.txt", "c:", ".txt", "c:"},
        {"C:", "", "C:", "", "C:"},
        {"/home/user/pub/a.txt", "a.txt", "/home/user/pub/", ".txt", ""},
        {"mixed/sep\\name.", "name.", "mixed/sep\\", ".", ""},
        {".hidden", ".hidden", "", ".hidden", ""},
        {"\\\\server\\share\\docs\\x.txt", "x.txt", "\\\\server\\share\\docs\\", ".txt",
         "\\\\server\\share"},
        {"\\\\server\\share", "share", "\\\\server\\", "", "\\\\server\\share"},
        {"\\\\server\\", "", "\\\\server\\", "", "\\\\server"},
        {"//server/share/x", "x", "//server/share/", "", "//server/share"},
        {"1:\\x", "x", "1:\\", "", ""},
        {"", "", "", "", ""},
    };
    for (const NamePartsCase& c : cases) {
        EXPECT_EQ(extractFileName(c.path), c.fileName) << c.path;
        EXPECT_EQ(extractFilePath(c.path), c.filePath) << c.path;
        EXPECT_EQ(extractFileExt(c.path), c.extension) << c.path;
        EXPECT_EQ(extractFileDrive(c.path), c.drive) << c.path;
    }
}

struct ChangeExtensionCase {
    std::string_view path;
    std::string_view extension;
    std::string_view expected;
};

TEST(PathNamesTest, ChangeFileExtReplacesAddsOrRemoves) {
    const ChangeExtensionCase cases[] = {
        {"C:\\a\\b.txt", ".doc", "C:\\a\\b.doc"},
        {"C:\\a\\b.c.d", ".e", "C:\\a\\b.c.e"},
        {"noext", ".txt", "noext.txt"},
        {"b.c.d", "", "b.c"},
        {"a.dir\\file", ".y", "a.dir\\file.y"},
        {"embedded:\\\\\\plugin.dll", ".ini", "embedded:\\\\\\plugin.ini"},
        {"dir\\", ".x", "dir\\.x"},
        {"", ".x", ".x"},
    };
    for (const ChangeExtensionCase& c : cases)
        EXPECT_EQ(changeFileExt(c.path, c.extension), c.expected) << c.path;
}

} // namespace
} // namespace tomelet
