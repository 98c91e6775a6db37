#include "package/PackageWriter.h"
#include "tests/support/TestFiles.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace tomelet {
namespace {

namespace fs = std::filesystem;

const fs::path playerBinary = fs::path(TOMELET_BINARY_DIR) / "bin" / "tomelet";

struct ProcessOutput {
    int exitCode = -1;
    std::string standardOutput;
    std::string standardError;
};

// Runs a program with its standard error sent to a file, so both streams can be checked.
ProcessOutput run(const std::string& commandLine, const fs::path& folder) {
    const fs::path errorFile = folder / "stderr.txt";
    ProcessOutput output;
    std::FILE* pipe = popen((commandLine + " 2>'" + errorFile.string() + "'").c_str(), "r");
    if (!pipe) return output;
    std::array<char, 4096> buffer{};
    while (std::size_t count = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.standardOutput.append(buffer.data(), count);
    const int status = pclose(pipe);
    output.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    output.standardError = testing::readFile(errorFile);
    return output;
}

class PlayerStartupTest : public ::testing::Test {
protected:
    // A package with the given publication text, optionally appended to a copy of the player.
    fs::path writePackage(const std::string& name, const std::string& publicationText,
                          bool asPlayer) {
        const fs::path path = folder_ / name;
        PackageWriter writer(path, asPlayer ? playerBinary : fs::path());
        MemoryInputStream text(publicationText);
        writer.addEntry({.name = "RUNTIME.PUB"}, text);
        MemoryInputStream picture("not really a picture");
        writer.addEntry({.name = "embedded:\\\\\\logo.png",
                         .type = 3,
                         .imageWidth = 32,
                         .imageHeight = 16,
                         .imageHasTransparency = true},
                        picture);
        writer.finish({});
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
        return path;
    }

    testing::TemporaryFolder folder_;
};

const std::string demoText = "TITLE=Shell Test\r\nSCREENWIDTH=800\r\nMASTERPAGE\r\n"
                             "OBJECTTYPE=3\r\nNAME=Next\r\nNEWPAGE=Intro\r\nOBJECTTYPE=8\r\n"
                             "OBJECTTYPE=20\r\nGROUPBEGIN\r\nOBJECTTYPE=5\r\nGROUPEND\r\n"
                             "NEWPAGE=Intro\r\n";

TEST_F(PlayerStartupTest, PackedExecutablePlaysItsOwnPackage) {
    const fs::path executable = writePackage("ShellTest", demoText, true);
    const ProcessOutput output =
        run("'" + executable.string() + "' some parameters", folder_.path());
    EXPECT_EQ(output.exitCode, 0) << output.standardError;
    EXPECT_NE(output.standardOutput.find("Title: Shell Test"), std::string::npos);
    EXPECT_NE(output.standardOutput.find("Pages: 2"), std::string::npos);
    EXPECT_NE(output.standardOutput.find("master page: 1 object (1 push button)"),
              std::string::npos)
        << output.standardOutput;
    EXPECT_NE(output.standardOutput.find("page 1 \"Intro\": 3 objects"), std::string::npos);
    EXPECT_NE(output.standardOutput.find("page 2 \"Intro1\": 0 objects"), std::string::npos);
    EXPECT_NE(output.standardOutput.find("embedded:\\\\\\logo.png  type 3"), std::string::npos);
    EXPECT_NE(output.standardOutput.find("32 x 16, transparent"), std::string::npos);
}

TEST_F(PlayerStartupTest, StandalonePlayerPlaysTheFileAfterR) {
    const fs::path package = writePackage("bare.pkg", demoText, false);
    const ProcessOutput output =
        run("'" + playerBinary.string() + "' /r '" + package.string() + "'", folder_.path());
    EXPECT_EQ(output.exitCode, 0) << output.standardError;
    EXPECT_NE(output.standardOutput.find("Title: Shell Test"), std::string::npos);
}

TEST_F(PlayerStartupTest, FailedStartsSayWhyAndExitWithFailure) {
    const fs::path valid = writePackage("valid.pkg", demoText, false);
    const std::string bytes = testing::readFile(valid);
    const fs::path truncated = folder_ / "truncated.pkg";
    testing::writeFile(truncated, bytes.substr(0, bytes.size() / 2));
    const fs::path noPublication = folder_ / "empty.pkg";
    {
        PackageWriter writer(noPublication);
        writer.finish({});
    }

    const std::string resourceFailure =
        "Unable to access resource data.\n\nDisk read error! File may be damaged.";
    struct Case {
        std::string arguments;
        std::string expectedError;
    };
    const Case cases[] = {
        {"/R '" + truncated.string() + "'", resourceFailure},
        {"/R '" + noPublication.string() + "'", resourceFailure},
        {"/R '" + (folder_ / "missing.pkg").string() + "'",
         "This is not an application! Try another exe file."},
        {"", "This is not an application! Try another exe file."},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.arguments);
        const ProcessOutput output =
            run("'" + playerBinary.string() + "' " + testCase.arguments, folder_.path());
        EXPECT_NE(output.exitCode, 0);
        EXPECT_NE(output.standardError.find(testCase.expectedError), std::string::npos)
            << output.standardError;
        EXPECT_EQ(output.standardOutput, "");
    }
}

} // namespace
} // namespace tomelet
