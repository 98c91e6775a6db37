#include "platform/Paths.h"
#include "tests/support/ScopedEnvironment.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tomelet {
namespace {

namespace fs = std::filesystem;

// A real folder tree on a case-sensitive file system:
//   Pictures/Logo.PNG   data/   Caf\u00e9/menu.txt   \u03a9.txt
//   Mixed/only-upper.txt   mixed/only-lower.txt   MIXED/
class PathResolutionTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tomelet-paths-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern + "/";
        for (const char* folder : {"Pictures", "data", "Caf\u00e9", "Mixed", "mixed", "MIXED"})
            fs::create_directory(root_ + folder);
        for (const char* file : {"Pictures/Logo.PNG", "Caf\u00e9/menu.txt", "\u03a9.txt",
                                 "Mixed/only-upper.txt", "mixed/only-lower.txt"})
            std::ofstream(root_ + file) << "x";
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string root_;
};

TEST_F(PathResolutionTest, ExistingPathIsReturnedUnchanged) {
    EXPECT_EQ(resolveExistingPath(root_ + "Pictures/Logo.PNG"), root_ + "Pictures/Logo.PNG");
    EXPECT_EQ(resolveExistingPath(root_ + "Pictures/"), root_ + "Pictures/");
}

struct ResolutionCase {
    const char* asked;
    const char* expected;
};

TEST_F(PathResolutionTest, ResolvesEachComponentWithoutCase) {
    const ResolutionCase cases[] = {
        {"pictures/logo.png", "Pictures/Logo.PNG"},
        {"PICTURES/LOGO.PNG", "Pictures/Logo.PNG"},
        {"pictures/", "Pictures/"},
        {"pictures//logo.png", "Pictures/Logo.PNG"},
        {"DATA/../pictures/Logo.png", "data/../Pictures/Logo.PNG"},
        {"CAF\u00c9/MENU.TXT", "Caf\u00e9/menu.txt"},
        // A missing last component keeps its spelling inside the resolved folder.
        {"DATA/NEW.TXT", "data/NEW.TXT"},
        {"Pictures/new/deeper.txt", "Pictures/new/deeper.txt"},
        {"nothing/at/all", "nothing/at/all"},
        // Exact case first, then the case variants in byte order ("MIXED" < "Mixed" < "mixed").
        {"mixed", "mixed"},
        {"mIxEd", "MIXED"},
        {"mIxEd/new.txt", "MIXED/new.txt"},
        // ... unless only a later variant holds the rest of the path.
        {"mixed/only-upper.txt", "Mixed/only-upper.txt"},
        {"MIXED/ONLY-LOWER.TXT", "mixed/only-lower.txt"},
        // "?" stands for a character the code page lacks; it must not match it.
        {"?.txt", "?.txt"},
        {"\u03c9.TXT", "\u03c9.TXT"},
    };
    for (const ResolutionCase& c : cases)
        EXPECT_EQ(resolveExistingPath(root_ + c.asked), root_ + c.expected) << c.asked;
}

TEST_F(PathResolutionTest, RelativePathsResolveFromTheCurrentFolder) {
    const fs::path previous = fs::current_path();
    fs::current_path(root_);
    EXPECT_EQ(resolveExistingPath("pictures/logo.png"), "Pictures/Logo.PNG");
    EXPECT_EQ(resolveExistingPath("Data/x"), "data/x");
    fs::current_path(previous);
}

TEST_F(PathResolutionTest, PublicationPathsWithDriveAndBackslashesResolve) {
    const ScopedEnvironment drive("TOMELET_DRIVE_C", root_);
    EXPECT_EQ(resolvePublicationPath("C:\\PICTURES\\logo.png"), root_ + "Pictures/Logo.PNG");
    EXPECT_EQ(resolvePublicationPath("c:/Data/NEW.TXT"), root_ + "data/NEW.TXT");
    EXPECT_EQ(resolvePublicationPath("C:\\caf\xC9\\Menu.txt"), root_ + "Caf\u00e9/menu.txt");
}

TEST_F(PathResolutionTest, SetHiddenLeavesTheFileInPlace) {
    EXPECT_TRUE(setHidden(root_ + "Pictures/Logo.PNG"));
    EXPECT_TRUE(fs::exists(root_ + "Pictures/Logo.PNG"));
    EXPECT_FALSE(setHidden(root_ + "missing.txt"));
}

} // namespace
} // namespace tomelet
