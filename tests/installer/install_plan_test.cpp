#include "installer/install_plan.h"

#include <gtest/gtest.h>

#include "installer/setup_window.h"

namespace anitrope {
namespace {

TEST(InstallPlan, RequiredSpaceAddsTheChosenComponents) {
    const struct {
        bool help, examples, java;
        uint64_t kb;
    } cases[] = {
        {false, false, false, 667},  // the base alone
        {true, false, false, 770},   // + 103
        {false, true, false, 2776},  // + 2109
        {false, false, true, 738},   // + 71
        {true, true, true, 2950},    // the sum of bytes, then divided
    };
    for (const auto& c : cases) {
        InstallPlan plan;
        plan.help = c.help;
        plan.examples = c.examples;
        plan.java = c.java;
        EXPECT_EQ(plan.RequiredBytes() / 1024, c.kb) << c.help << c.examples << c.java;
    }
}

TEST(InstallPlan, TargetsAreCheckedInTheOrderTheUserIsTold) {
    const FreeSpace plenty{"/", 1ull << 40};
    const FreeSpace little{"/", 1000};
    const struct {
        const char* target;
        std::optional<FreeSpace> space;
        TargetProblem problem;
    } cases[] = {
        {"/home/u/.local/opt/Anitrope", plenty, TargetProblem::None},
        {"/home/u/x", std::nullopt, TargetProblem::NotValid},
        {"relative", little, TargetProblem::NotEnoughSpace},  // space is told before the path
        {"relative/Anitrope", plenty, TargetProblem::BadPath},
        {"~/Anitrope", plenty, TargetProblem::BadPath},
        {"", plenty, TargetProblem::BadPath},
        {"/tmp/new\nline", plenty, TargetProblem::BadPath},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckTarget(c.target, c.space, 683008), c.problem) << c.target;
}

TEST(InstallPlan, FreeSpaceComesFromTheNearestExistingParent) {
    const auto space = QueryFreeSpace("/tmp/does/not/exist/yet");
    ASSERT_TRUE(space.has_value());
    EXPECT_EQ(space->mountPoint.front(), '/');
    EXPECT_EQ(QueryFreeSpace("").has_value(), false);
}

TEST(InstallPlan, BrowsedFoldersGetTheInstallFolder) {
    EXPECT_EQ(WithInstallFolder("/"), "/Anitrope");
    EXPECT_EQ(WithInstallFolder("/opt/tools"), "/opt/tools/Anitrope");
    EXPECT_EQ(WithInstallFolder("/opt/tools/"), "/opt/tools/Anitrope");
}

TEST(InstallPlan, EntriesLandInTheirComponentsFolderWithWholeExtensions) {
    InstallPlan plan;
    plan.targetDirectory = "/t";
    const struct {
        int entry;
        const char* file;
        const char* target;
    } cases[] = {
        {kProgramEntry, "anitrope", "/t/anitrope"},
        {kHelpEntry, "anitrope.qch", "/t/anitrope.qch"},
        {kFirstJavaEntry, "APPLET.CL", "/t/JAVA/APPLET.class"},
        {kFirstExampleEntry - 1, "frame21.gif", "/t/JAVA/frame21.gif"},
        {kFirstExampleEntry, "SAMPLE.HT", "/t/Examples/SAMPLE.html"},
        {89, "page.ht", "/t/Examples/page.html"},
        {4, "notes.htm", "/t/notes.htm"},
        {4, "..", ""},
        {4, "", ""},
        {4, "a\tb", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TargetPathFor(plan, c.entry, c.file), c.target) << c.entry << " " << c.file;
}

TEST(InstallPlan, TheFileTableHoldsTheGroupsAtTheirPlaces) {
    const auto& table = FileTable();
    EXPECT_STREQ(table[kProgramEntry], "anitrope._");
    EXPECT_STREQ(table[kHelpEntry], "anitrope.qc_");
    EXPECT_EQ(ComponentOf(2), Component::Base);
    EXPECT_EQ(ComponentOf(3), Component::Help);
    EXPECT_EQ(ComponentOf(4), Component::Base);
    EXPECT_EQ(ComponentOf(27), Component::Java);
    EXPECT_EQ(ComponentOf(28), Component::Examples);
    for (int entry = kFirstJavaEntry; entry < kFirstExampleEntry; ++entry)
        EXPECT_NE(*table[entry], '\0') << entry;  // the page shows all 21 frames
}

TEST(Backdrop, RunsFromBlueAtTheTopLeftToBlackAtTheBottomRight) {
    EXPECT_EQ(BackdropShade(0, 0, 1280, 900), 0);
    EXPECT_EQ(BackdropShade(9, 9, 1280, 900), 0);  // one cell
    EXPECT_EQ(BackdropShade(640, 450, 1280, 900), 2560 * 109 / 2180);
    EXPECT_EQ(BackdropShade(1279, 899, 1280, 900), 2560 * (127 + 89) / 2180);
}

}  // namespace
}  // namespace anitrope
