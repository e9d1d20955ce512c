#include "cli/cli.h"

#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "cli/sample_gifs.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

constexpr const char* kUsageStart = "usage: anitrope-cli ";

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

TEST(CliUsage, NoArgumentsIsAUsageError) {
    const CliResult result = RunCliWith({});
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(StartsWith(result.err, kUsageStart)) << result.err;
    EXPECT_EQ(result.out, "");
}

TEST(CliUsage, UnknownCommandIsNamedAndIsAUsageError) {
    const CliResult result = RunCliWith({"nonsense", "x.gif"});
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(StartsWith(result.err, "anitrope-cli: unknown command 'nonsense'\nusage: "))
        << result.err;
}

TEST(CliUsage, HelpGoesToStandardOutputAndListsInfo) {
    const CliResult result = RunCliWith({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(StartsWith(result.out, kUsageStart));
    EXPECT_NE(result.out.find("\n  info [--json] FILE...\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "");
}

TEST(CliUsage, InfoWithoutFilesIsAUsageError) {
    for (const auto& args : {std::vector<std::string>{"info"}, {"info", "--json"}}) {
        const CliResult result = RunCliWith(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(StartsWith(result.err, "anitrope-cli info: no file given\nusage: "))
            << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST(CliUsage, InfoRejectsUnknownOptionsBeforeReadingAnything) {
    TempFile file(LoopingGif(0));
    const CliResult result = RunCliWith({"info", file.Path(), "--jsn"});
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(StartsWith(result.err, "anitrope-cli info: unknown option '--jsn'\n"))
        << result.err;
    EXPECT_EQ(result.out, "");
}

TEST(CliUsage, InfoHelp) {
    const CliResult result = RunCliWith({"info", "--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(StartsWith(result.out, "usage: anitrope-cli info [--json] FILE...\n"));
}

TEST(CliUnreadableFile, NamesTheFileAndTheReasonAndFails) {
    const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13};
    TempFile notGif(png);
    const CliResult result = RunCliWith({"info", notGif.Path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "anitrope-cli: " + notGif.Path() + ": not a GIF file\n");
    EXPECT_EQ(result.out, "");
}

TEST(CliUnreadableFile, MissingFile) {
    const CliResult result = RunCliWith({"info", "--json", "/nonexistent/anitrope/none.gif"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "anitrope-cli: /nonexistent/anitrope/none.gif: cannot open the file\n");
}

TEST(CliUnreadableFile, TruncatedBeforeTheFirstImage) {
    std::vector<uint8_t> bytes = LoopingGif(0);
    bytes.resize(20);  // inside the global colour table
    TempFile truncated(bytes);
    const CliResult result = RunCliWith({"info", truncated.Path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "anitrope-cli: " + truncated.Path() + ": no image in the file\n");
}

TEST(CliUnreadableFile, OtherFilesAreStillDescribed) {
    TempFile good1(LoopingGif(0)), good2(LoopingGif(2));
    const CliResult result =
        RunCliWith({"info", "--json", good1.Path(), "/nonexistent/x.gif", good2.Path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "anitrope-cli: /nonexistent/x.gif: cannot open the file\n");
    std::istringstream lines(result.out);
    std::string first, second, extra;
    ASSERT_TRUE(std::getline(lines, first) && std::getline(lines, second)) << result.out;
    EXPECT_FALSE(std::getline(lines, extra));
    EXPECT_NE(first.find(R"("loopCount":0,)"), std::string::npos);
    EXPECT_NE(second.find(R"("loopCount":2,)"), std::string::npos);
}

TEST(CliTextBlocks, FilesAreSeparatedByOneBlankLine) {
    TempFile a(LoopingGif(0)), b(LoopingGif(1));
    const CliResult result = RunCliWith({"info", a.Path(), "/nonexistent/x.gif", b.Path()});
    EXPECT_EQ(result.status, 1);
    const auto second = result.out.find("File: " + b.Path());
    ASSERT_NE(second, std::string::npos) << result.out;
    EXPECT_TRUE(StartsWith(result.out, "File: " + a.Path() + "\n"));
    EXPECT_EQ(result.out.substr(second - 2, 2), "\n\n");
    EXPECT_EQ(result.out.find("\n\n"), second - 2);  // the only blank line
}

TEST(CliOptionsEnd, DoubleDashMakesTheRestFileNames) {
    const CliResult result = RunCliWith({"info", "--", "--json"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "anitrope-cli: --json: cannot open the file\n");
}

}  // namespace
}  // namespace anitrope::test
