#include "app/settings.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/qt_settings_store.h"
#include "settings_text.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

using Bytes = KeyValueStore::Bytes;

// The 32-bit values with their defaults, as the editor's settings table gives them.
const std::vector<std::pair<std::string, uint32_t>> kNumberDefaults{
    {"Preview", 1},
    {"PreviewFrames", 10},
    {"Fixed Nr. of PreviewFrames", 0},
    {"ExportAsJpg", 0},
    {"ReloadAfterSave", 0},
    {"Confirm Delete", 1},
    {"Keep TrueColorInfo", 1},
    {"MultiInst", 0},
    {"Jpeg Compression", 75},
    {"Gif Compression", 15790320},
    {"Transparent Warning", 0},
    {"Optimize Warning", 0},
    {"UnOptimize Warning", 0},
    {"Resize Warning", 0},
    {"LocalPal Warning", 0},
    {"GlobalPal Warning", 0},
    {"Internal", 0},
    {"ToolWindows", 1},
    {"Undo Memory", 256},
    {"Color Reduction", 0},
    {"Dither", 0},
};

// Eleven little-endian 32-bit fields.
Bytes Record(std::initializer_list<int32_t> fields) {
    Bytes bytes;
    for (int32_t field : fields)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(field) >> shift));
    return bytes;
}

std::string ValueKind(const MemoryKeyValueStore::Value& value) {
    if (std::holds_alternative<uint32_t>(value)) return "number";
    if (std::holds_alternative<std::string>(value)) return "text";
    return "bytes";
}

TEST(Settings, FirstStartWritesEveryValueWithItsDefault) {
    MemoryKeyValueStore store(/*existed=*/false);
    const auto settings = LoadSettings(store, 1200, 900);
    ASSERT_TRUE(settings);

    const auto& values = store.Values();
    for (const auto& [name, expected] : kNumberDefaults) {
        auto found = values.find(name);
        ASSERT_NE(found, values.end()) << name << " was not written";
        ASSERT_EQ(ValueKind(found->second), "number") << name;
        EXPECT_EQ(std::get<uint32_t>(found->second), expected) << name;
    }
    ASSERT_EQ(store.ReadText("Path"), "N/A");
    ASSERT_EQ(store.ReadText("PathSave"), "") << "empty only on the very first start";
    EXPECT_EQ(store.ReadBytes("WinRect"), Record({44, 0, 5, 0, 0, 0, 0, 200, 150, 1000, 750}));
    EXPECT_EQ(store.ReadBytes("Param Placement"), Bytes(44, 0));
    // 18 numbers, 2 texts, 2 placements; empty history slots are not written.
    EXPECT_EQ(values.size(), kNumberDefaults.size() + 4);
    for (int slot = 0; slot < kRecentFileSlots; ++slot)
        EXPECT_FALSE(values.count("History File " + std::to_string(slot))) << slot;

    Settings expected;
    expected.pathSave = "";
    expected.winRect = {44, 0, 5, 0, 0, 0, 0, 200, 150, 1000, 750};
    EXPECT_EQ(SettingsText(*settings), SettingsText(expected));
}

TEST(Settings, FirstStartOnAStoreThatCannotBeWrittenGivesNothing) {
    MemoryKeyValueStore store(/*existed=*/false);
    store.failWrites = true;
    EXPECT_FALSE(LoadSettings(store, 800, 600));
    EXPECT_FALSE(SaveSettings(Settings{}, store));
}

TEST(Settings, LaterStartsReadOnlyAndDoNotWrite) {
    MemoryKeyValueStore store(/*existed=*/true);
    store.WriteNumber("MultiInst", 1);
    store.failWrites = true;  // reading must not depend on writing
    const auto settings = LoadSettings(store, 800, 600);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->multiInst, 1u);
    EXPECT_EQ(store.Values().size(), 1u);
}

TEST(Settings, AnEmptyExistingKeyGivesTheDefaultsOfALaterStart) {
    MemoryKeyValueStore store(/*existed=*/true);
    const auto settings = LoadSettings(store, 600, 300);
    ASSERT_TRUE(settings);
    Settings expected;
    expected.pathSave = "N/A";  // missing on a later start, unlike the first
    expected.winRect = {44, 0, 5, 0, 0, 0, 0, 100, 50, 500, 250};
    expected.paramPlacement = WindowPlacement::None();
    EXPECT_EQ(SettingsText(*settings), SettingsText(expected));
}

TEST(Settings, SaveThenLoadKeepsEveryValue) {
    MemoryKeyValueStore store(/*existed=*/true);
    const Settings saved = UnusualSettings();
    ASSERT_TRUE(SaveSettings(saved, store));
    const auto loaded = LoadSettings(store, 1920, 1080);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(SettingsText(*loaded), SettingsText(saved));
    EXPECT_EQ(store.ReadText("History File 3"), "/d/fourth.jpg");
    EXPECT_FALSE(store.ReadText("History File 2")) << "empty slots are not written";
    EXPECT_EQ(store.ReadBytes("WinRect"),
              Record({44, 2, 3, -32000, -32000, -1, -1, 10, 20, 810, 620}));
}

TEST(Settings, SaveThenLoadThroughTheUsersSettingsFile) {
    TempDir dir;
    const std::string path = dir / "Anitrope.conf";
    Settings saved;
    {
        QtSettingsStore first(path);
        auto started = LoadSettings(first, 1024, 768);
        ASSERT_TRUE(started);
        EXPECT_EQ(started->pathSave, "");
        saved = UnusualSettings();
        ASSERT_TRUE(SaveSettings(saved, first));
    }
    QtSettingsStore again(path);
    ASSERT_TRUE(again.Existed());
    const auto loaded = LoadSettings(again, 1024, 768);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(SettingsText(*loaded), SettingsText(saved));
}

TEST(Settings, AnEmptySaveDialogPathSurvivesTheUsersSettingsFile) {
    TempDir dir;
    const std::string path = dir / "Anitrope.conf";
    {
        QtSettingsStore first(path);
        ASSERT_TRUE(LoadSettings(first, 1024, 768));
    }
    QtSettingsStore again(path);
    const auto loaded = LoadSettings(again, 1024, 768);
    ASSERT_TRUE(loaded);
    Settings expected;
    expected.pathSave = "";  // an empty text must not read back as a missing one
    expected.winRect = WindowPlacement::Default(1024, 768);
    EXPECT_EQ(SettingsText(*loaded), SettingsText(expected));
}

TEST(Settings, AHandEditedSettingsFileWithNonsenseTakesDefaults) {
    TempDir dir;
    const std::string path = dir / "Anitrope.conf";
    {
        QtSettingsStore first(path);
        ASSERT_TRUE(SaveSettings(UnusualSettings(), first));
        first.WriteText("Jpeg Compression", "high");
        first.WriteText("Gif Compression", "-1");
        first.WriteText("WinRect", "10,20,810,620");
        first.WriteText("MultiInst", "99999999999");
        ASSERT_TRUE(first.Flush());
    }
    QtSettingsStore again(path);
    const auto loaded = LoadSettings(again, 1200, 600);
    ASSERT_TRUE(loaded);
    Settings expected = UnusualSettings();
    expected.jpegCompression = 75;
    expected.gifCompression = 0xF0F0F0;
    expected.winRect = WindowPlacement::Default(1200, 600);
    expected.multiInst = 0;
    EXPECT_EQ(SettingsText(*loaded), SettingsText(expected));
}

TEST(Settings, AMissingValueTakesItsDefaultAndLeavesTheOthers) {
    MemoryKeyValueStore store(/*existed=*/true);
    Settings saved = UnusualSettings();
    ASSERT_TRUE(SaveSettings(saved, store));
    store.Remove("Jpeg Compression");
    store.Remove("WinRect");
    store.Remove("Param Placement");
    store.Remove("Path");
    store.Remove("Internal");

    const auto loaded = LoadSettings(store, 1200, 600);
    ASSERT_TRUE(loaded);
    Settings expected = saved;
    expected.jpegCompression = 75;
    expected.winRect = WindowPlacement::Default(1200, 600);
    expected.paramPlacement = WindowPlacement::None();
    expected.path = "N/A";
    expected.lastTransition = 0;
    expected.lastEffect = 0;
    EXPECT_EQ(SettingsText(*loaded), SettingsText(expected));
}

TEST(Settings, AValueOfTheWrongKindOrSizeTakesItsDefault) {
    MemoryKeyValueStore store(/*existed=*/true);
    ASSERT_TRUE(SaveSettings(UnusualSettings(), store));
    store.WriteText("Preview", "0");
    store.WriteBytes("Jpeg Compression", {10, 0, 0, 0});
    store.WriteText("Internal", "775");
    store.WriteNumber("Path", 7);
    store.WriteBytes("PathSave", {'a', 0});
    store.WriteBytes("WinRect", Bytes(43, 1));
    store.WriteBytes("Param Placement", Bytes(45, 1));
    store.WriteText("ToolWindows", "");
    store.WriteNumber("History File 0", 3);

    const auto loaded = LoadSettings(store, 1200, 600);
    ASSERT_TRUE(loaded);
    Settings expected = UnusualSettings();
    expected.preview = 1;
    expected.jpegCompression = 75;
    expected.lastTransition = 0;
    expected.lastEffect = 0;
    expected.path = "N/A";
    expected.pathSave = "N/A";
    expected.winRect = WindowPlacement::Default(1200, 600);
    expected.paramPlacement = WindowPlacement::None();
    expected.toolWindows = 1;
    expected.history[0] = "";
    EXPECT_EQ(SettingsText(*loaded), SettingsText(expected));
}

TEST(Settings, InternalHoldsTheTransitionAboveTheEffect) {
    struct Case {
        uint32_t stored, transition, effect;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{775, 3, 7}, Case{255, 0, 255}, Case{256, 1, 0},
                          Case{0xFFFFFFFF, 0xFFFFFF, 255}}) {
        MemoryKeyValueStore store(/*existed=*/true);
        store.WriteNumber("Internal", c.stored);
        const auto loaded = LoadSettings(store, 800, 600);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->lastTransition, c.transition) << c.stored;
        EXPECT_EQ(loaded->lastEffect, c.effect) << c.stored;

        MemoryKeyValueStore written(/*existed=*/true);
        ASSERT_TRUE(SaveSettings(*loaded, written));
        EXPECT_EQ(written.ReadNumber("Internal"), c.stored);
    }
}

TEST(Settings, AHistorySlotEmptiedDuringTheRunStaysEmpty) {
    MemoryKeyValueStore store(/*existed=*/true);
    Settings settings;
    settings.history = {"/a.gif", "/b.gif", "/c.gif", "", ""};
    ASSERT_TRUE(SaveSettings(settings, store));
    // "/b.gif" failed to load and left the list.
    settings.history = {"/a.gif", "/c.gif", "", "", ""};
    ASSERT_TRUE(SaveSettings(settings, store));

    EXPECT_FALSE(store.ReadText("History File 2"));
    const auto loaded = LoadSettings(store, 800, 600);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->history, settings.history);
}

TEST(Settings, ReactivateWarningsClearsTheSixFlagsOnly) {
    Settings settings = UnusualSettings();
    settings.ReactivateWarnings();
    Settings expected = UnusualSettings();
    expected.transparentWarning = expected.optimizeWarning = expected.unoptimizeWarning = 0;
    expected.resizeWarning = expected.localPalWarning = expected.globalPalWarning = 0;
    EXPECT_EQ(SettingsText(settings), SettingsText(expected));
}

// The names of positions 0-5 show in the dialogs' tests; anything else must still be a text.
TEST(Settings, GifCompressionPositionsOutsideTheSliderHaveNoName) {
    for (int position : {6, -1, 1000}) EXPECT_STREQ(GifCompressionLevelName(position), "");
}

}  // namespace
}  // namespace anitrope::test
