#include <gtest/gtest.h>

#include "app/qt_settings_store.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

TEST(QtSettingsStore, KeepsEachKindOfValueAcrossInstances) {
    TempDir dir;
    const std::string path = dir / "settings.conf";
    {
        QtSettingsStore store(path);
        EXPECT_FALSE(store.Existed());
        store.WriteNumber("Jpeg Compression", 75);
        store.WriteNumber("Gif Compression", 0xF0F0F0);
        store.WriteText("Path", "/home/me/a b.gif");
        store.WriteBytes("WinRect", {0, 1, 2, 255});
        store.WriteText("Temp0", "x");
        store.Remove("Temp0");
        ASSERT_TRUE(store.Flush());
    }
    QtSettingsStore again(path);
    EXPECT_TRUE(again.Existed());
    EXPECT_EQ(again.ReadNumber("Jpeg Compression"), 75u);
    EXPECT_EQ(again.ReadNumber("Gif Compression"), 0xF0F0F0u);
    EXPECT_EQ(again.ReadText("Path"), "/home/me/a b.gif");
    EXPECT_EQ(again.ReadBytes("WinRect"), (KeyValueStore::Bytes{0, 1, 2, 255}));
    EXPECT_FALSE(again.ReadText("Temp0"));
    EXPECT_FALSE(again.ReadNumber("Missing"));
    EXPECT_FALSE(again.ReadNumber("Path")) << "a text is not a number";
    EXPECT_FALSE(again.ReadBytes("Path"));
}

TEST(QtSettingsStore, AStoreThatCannotBeWrittenSaysSo) {
    TempDir dir;
    // A directory where the file should be cannot be replaced by a file.
    QtSettingsStore blocked(dir.Path());
    blocked.WriteNumber("MultiInst", 1);
    EXPECT_FALSE(blocked.Flush());
}

}  // namespace
}  // namespace anitrope::test
