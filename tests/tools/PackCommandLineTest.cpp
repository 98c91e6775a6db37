#include "tools/PackCommandLine.h"

#include "tools/PackError.h"

#include <gtest/gtest.h>

namespace tomelet {
namespace {

const std::filesystem::path defaultPlayer = "/opt/tomelet/bin/tomelet";

TEST(PackCommandLineTest, ReadsEveryOptionInBothSpellings) {
    const PackCommand command =
        parsePackCommandLine({"-v", "demo", "--output=Demo", "--manifest", "other.manifest",
                              "--tail=sig.bin", "--player", "build/tomelet"},
                             defaultPlayer);
    EXPECT_FALSE(command.help);
    EXPECT_TRUE(command.verbose);
    EXPECT_EQ(command.request.folder, "demo");
    EXPECT_EQ(command.request.output, "Demo");
    EXPECT_EQ(command.request.manifest, "other.manifest");
    EXPECT_EQ(command.request.tail, "sig.bin");
    EXPECT_EQ(command.request.player, "build/tomelet");
}

TEST(PackCommandLineTest, PlayerIsTheDefaultUnlessBare) {
    EXPECT_EQ(parsePackCommandLine({"demo", "-o", "Demo"}, defaultPlayer).request.player,
              defaultPlayer);
    EXPECT_TRUE(parsePackCommandLine({"demo", "-o", "demo.pkg", "--bare"}, defaultPlayer)
                    .request.player.empty());
}

TEST(PackCommandLineTest, HelpNeedsNothingElseAndDocumentsTheManifest) {
    EXPECT_TRUE(parsePackCommandLine({"--help"}, defaultPlayer).help);
    const std::string usage = packUsage();
    for (const char* word : {"--output", "--player", "--bare", "--manifest", "--tail", "entry NAME",
                             "no-data", "transparent=yes|no", "kind application|screen-saver|tray"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
}

struct FaultCase {
    std::vector<std::string> arguments;
    const char* message;
};

class PackCommandLineFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(PackCommandLineFaultTest, IsRefusedWithItsReason) {
    try {
        parsePackCommandLine(GetParam().arguments, defaultPlayer);
        ADD_FAILURE() << "accepted";
    } catch (const PackError& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, PackCommandLineFaultTest,
    ::testing::Values(FaultCase{{}, "no publication folder given (see tomelet-pack --help)"},
                      FaultCase{{"demo"}, "no output file given: add -o OUTPUT"},
                      FaultCase{{"demo", "other", "-o", "x"},
                                "more than one folder given: \"demo\" and \"other\""},
                      FaultCase{{"demo", "-o", "x", "--output", "y"}, "--output is given twice"},
                      FaultCase{{"demo", "-o", "x", "--bare", "--bare"}, "--bare is given twice"},
                      FaultCase{{"demo", "-o"}, "--output needs a value"},
                      FaultCase{{"demo", "--output="}, "--output needs a value"},
                      FaultCase{{"demo", "-o", "x", "--bare=yes"}, "--bare takes no value"},
                      FaultCase{{"demo", "-o", "x", "--bare", "--player", "p"},
                                "--bare and --player exclude each other"},
                      FaultCase{{"demo", "-o", "x", "--compress"},
                                "unknown option --compress (see tomelet-pack --help)"}));

} // namespace
} // namespace tomelet
