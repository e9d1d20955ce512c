#include "app/main_window.h"

#include <gtest/gtest.h>

#include <set>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QProgressBar>
#include <QStatusTipEvent>
#include <QTreeView>

#include "app/about_box.h"
#include "app/command_help.h"
#include "app/command_ids.h"
#include "app/menu_table.h"
#include "app/parameters_window.h"
#include "app/preview_pane.h"
#include "app/status_bar_view.h"
#include "app_fixtures.h"
#include "scripted_dialogs.h"
#include "support/picture_files.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

class MainWindowTest : public ::testing::Test, protected WindowWorld {};

TEST_F(MainWindowTest, MenusCarryTheCommandTextsAndKeys) {
    ASSERT_TRUE(window.MenuAction(CmdOpen));
    EXPECT_EQ(window.MenuAction(CmdOpen)->text(), "&Open...\tCtrl+O");
    EXPECT_EQ(window.MenuAction(CmdOpen)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+O"), QKeySequence("F3")}));
    EXPECT_EQ(window.MenuAction(CmdSaveAs)->shortcuts().size(), 3);
    EXPECT_EQ(window.MenuAction(CmdPasteKey)->shortcut(), QKeySequence("Ctrl+V"));
    EXPECT_EQ(window.MenuAction(CmdInsertTransitionKey)->shortcut(), QKeySequence("Ctrl+T"));
    EXPECT_EQ(window.EffectButton()->text(), "Effect/Transition");
    EXPECT_FALSE(window.EffectButton()->isEnabled());
}

TEST_F(MainWindowTest, ActionsFollowTheEnableRules) {
    EXPECT_TRUE(window.MenuAction(CmdOpen)->isEnabled());
    EXPECT_TRUE(window.ToolbarAction(CmdOpen)->isEnabled());
    EXPECT_FALSE(window.MenuAction(CmdDelete)->isEnabled());
    EXPECT_FALSE(window.ToolbarAction(CmdSaveAs)->isEnabled());
    EXPECT_TRUE(window.ToolbarAction(CmdGotoFirst)->isEnabled()) << "enabled from the start";

    const std::string path = dir / "w.gif";
    WriteTestGif(path, 2, 8, 6);
    files.Choose(path);
    window.MenuAction(CmdOpen)->trigger();
    EXPECT_TRUE(window.MenuAction(CmdDelete)->isEnabled());
    EXPECT_TRUE(window.MenuAction(CmdGotoLast)->isEnabled());
    EXPECT_TRUE(window.MenuAction(CmdSaveAs)->isEnabled());
    EXPECT_TRUE(window.ToolbarAction(CmdSaveAs)->isEnabled());
    EXPECT_TRUE(window.MenuAction(CmdCopy)->isEnabled());
    EXPECT_FALSE(window.MenuAction(CmdPaste)->isEnabled()) << "nothing on the clipboard";
    EXPECT_TRUE(window.MenuAction(CmdInsertEffect)->isEnabled());
    EXPECT_TRUE(window.MenuAction(CmdBannerText)->isEnabled());
    EXPECT_EQ(window.MenuAction(CmdResize)->text(), "&Resize All");
    // The tree pane shows the document's outline.
    QTreeView* tree = window.TreePane();
    const QAbstractItemModel& model = *tree->model();
    ASSERT_EQ(model.rowCount(), 1);
    const QModelIndex root = model.index(0, 0);
    EXPECT_EQ(model.data(root).toString(), "Root");
    ASSERT_EQ(model.rowCount(root), 2);
    EXPECT_EQ(model.data(model.index(0, 0, root)).toString(), "Gif :w.gif");
    EXPECT_EQ(tree->currentIndex(), model.index(0, 0, root));
    // Choosing the second frame in the pane makes it current.
    tree->setCurrentIndex(model.index(1, 0, root));
    EXPECT_EQ(window.Core().CurrentGif(), window.Core().Data().FrameAt(1));
    EXPECT_EQ(window.StatusBar()->Label()->text(), "Gif :w.gif");
    // Tooltips say which image it is, its size and its delay.
    EXPECT_EQ(model.data(model.index(1, 0, root), Qt::ToolTipRole).toString(),
              "Image 2 of 2\n8 x 6 pixels at 0,0\nDelay 10/100 s");
}

TEST_F(MainWindowTest, RecentFilesAppearInTheFileMenuWithAltKeys) {
    for (const char* name : {"one.gif", "two.gif"}) {
        const std::string path = dir / name;
        WriteTestGif(path, 1, 4, 4);
        window.Core().Select(OutlineItem::Root());
        window.Core().OpenFile(path, OpenOrigin::Menu);
    }
    const std::vector<QString> texts = window.RecentFileTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], QString::fromStdString("&1 " + (dir / "two.gif") + "\tAlt+1"));
    EXPECT_EQ(texts[1], QString::fromStdString("&2 " + (dir / "one.gif") + "\tAlt+2"));
}

TEST_F(MainWindowTest, ThePreviewShowsTheComposedFrame) {
    const std::string path = dir / "p.gif";
    WriteTestGif(path, 1, 8, 6, 2, 1);
    window.Core().OpenFile(path, OpenOrigin::Menu);
    window.resize(640, 480);
    const QImage shot = window.Preview()->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    // The frame's colour (index 0 of frame 0: 0, 100, 200) fills the middle of the pane.
    const QColor middle = shot.pixelColor(shot.width() / 2, shot.height() / 2);
    EXPECT_EQ(middle, QColor(0, 100, 200));
}

TEST_F(MainWindowTest, ADroppedPictureBecomesAFrameInTheTreeAndThePreview) {
    // Even channel values come back exactly from the reduction.
    WriteBytes(dir / "drop.bmp", Bmp24File(8, 6, [](int32_t, int32_t) { return 0x3C78B4u; }));
    window.Core().DropFiles({dir / "drop.bmp"});
    ASSERT_EQ(window.Core().Data().FrameCount(), 1u);
    auto* tree = window.findChild<QTreeView*>();
    ASSERT_NE(tree, nullptr);
    const QAbstractItemModel& model = *tree->model();
    ASSERT_EQ(model.rowCount(), 1);
    ASSERT_EQ(model.rowCount(model.index(0, 0)), 1);
    EXPECT_EQ(model.data(model.index(0, 0, model.index(0, 0))).toString(), "Gif :drop.bmp");
    window.Core().Doc().WaitForReduction(*window.Core().CurrentGif());
    window.resize(640, 480);
    const QImage shot = window.Preview()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(0x3C, 0x78, 0xB4));
}

// How many pixels of the picture have the frame rectangle's colour.
int DottedPixels(const QImage& shot) {
    int count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) count += shot.pixelColor(x, y) == QColor(0, 25, 25);
    return count;
}

TEST_F(MainWindowTest, AFullScreenFrameHasNoDottedRectangle) {
    const std::string full = dir / "full.gif";
    WriteTestGif(full, 1, 10, 8);
    window.Core().OpenFile(full, OpenOrigin::Menu);
    window.resize(640, 480);
    EXPECT_EQ(DottedPixels(window.Preview()->grab().toImage()), 0);
}

TEST_F(MainWindowTest, AFrameSmallerThanTheScreenIsMarkedByADottedRectangle) {
    const std::string small = dir / "small.gif";
    WriteTestGif(small, 1, 40, 30, 30, 20);  // the screen encloses the frame at (30, 20)
    window.Core().OpenFile(small, OpenOrigin::Menu);
    window.resize(640, 480);
    EXPECT_GT(DottedPixels(window.Preview()->grab().toImage()), 40) << "about half of its 140-pixel outline";
}

TEST_F(MainWindowTest, ParametersTogglesItsToolWindow) {
    const std::string path = dir / "params.gif";
    WriteTestGif(path, 2, 8, 6);
    window.Core().OpenFile(path, OpenOrigin::Menu);
    QAction* parameters = window.MenuAction(CmdParameters);
    ASSERT_TRUE(parameters->isEnabled());
    parameters->trigger();
    ASSERT_TRUE(window.Parameters());
    EXPECT_TRUE(parameters->isChecked());
    EXPECT_EQ(settings.toolWindows, 1u);
    parameters->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(window.Parameters());
    EXPECT_FALSE(parameters->isChecked());
    EXPECT_EQ(settings.toolWindows, 0u);
}

TEST_F(MainWindowTest, OptimizeImagesAsksUnlessItsWarningIsOff) {
    const std::string path = dir / "opt.gif";
    WriteTestGif(path, 2, 8, 6);
    window.Core().OpenFile(path, OpenOrigin::Menu);
    confirmations.Cancel();
    window.MenuAction(CmdOptimize)->trigger();
    ASSERT_EQ(confirmations.asked.size(), 1u);
    EXPECT_FALSE(window.Core().Modified()) << "cancelled";
    confirmations.Ok(true);  // and don't ask again
    window.MenuAction(CmdOptimize)->trigger();
    EXPECT_TRUE(window.Core().Modified());
    EXPECT_EQ(settings.optimizeWarning, 1u);
    window.MenuAction(CmdOptimize)->trigger();
    EXPECT_EQ(confirmations.asked.size(), 2u) << "not asked a third time";
}

// Every item of the menus, the tree's menu and the toolbar says what it does: in part 0 while
// highlighted, and (at most 64 characters) as the button's tooltip; the product's name comes
// back when the menu closes.
TEST(MenuHelp, EveryCommandHasItsLineAndTheProductNameReturns) {
    WindowWorld world;
    MainWindow& window = world.window;
    std::vector<int> commands;
    for (const Menu& menu : MainMenu())
        for (const MenuItem& item : menu.items) commands.push_back(item.command);
    for (const MenuItem& item : TreeContextMenu()) commands.push_back(item.command);
    for (const ToolbarButton& button : Toolbar()) commands.push_back(button.command);
    for (int command : commands) {
        if (command == 0) continue;
        const std::string_view help = CommandHelp(command);
        EXPECT_FALSE(help.empty()) << command;
        EXPECT_LE(help.size(), 64u) << command;
    }
    QAction* open = window.MenuAction(CmdOpen);
    ASSERT_TRUE(open);
    open->showStatusText(&window);
    EXPECT_EQ(window.StatusBar()->Label()->text().toStdString(), CommandHelp(CmdOpen));
    QStatusTipEvent closed{QString()};
    QApplication::sendEvent(&window, &closed);
    EXPECT_EQ(window.StatusBar()->Label()->text(), "Anitrope");
    EXPECT_EQ(MenuHelp("&Edit"), "Copies to the clipboard");
    EXPECT_TRUE(MenuHelp("&Insert").empty());
}

TEST(AboutBox, ShowsTheVersionOfTheBuild) {
    AboutBox box(AboutBox::Mode::Dialog);
    auto* version = box.findChild<QLabel*>("version");
    ASSERT_TRUE(version);
    EXPECT_EQ(version->text(), QString("Version ") + ANITROPE_VERSION);
    EXPECT_TRUE(box.findChild<QPushButton*>("ok"));
    AboutBox splash(AboutBox::Mode::Splash);
    EXPECT_FALSE(splash.findChild<QPushButton*>("ok"));

    // The title's shadow fades from the background to the shadow's full colour: many greys.
    const QImage title = AboutBox::TitleImage(QColor(255, 255, 255));
    ASSERT_FALSE(title.isNull());
    std::set<QRgb> greys;
    bool text = false;
    for (int y = 0; y < title.height(); ++y)
        for (int x = 0; x < title.width(); ++x) {
            const QRgb pixel = title.pixel(x, y) & 0xFFFFFFu;
            if (qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel) && pixel != 0xFFFFFFu)
                greys.insert(pixel);
            text = text || pixel == 0x1F3F8Fu;
        }
    EXPECT_TRUE(text);
    EXPECT_GE(greys.size(), 4u) << "rings of the soft shadow";
}

}  // namespace
}  // namespace anitrope::test
