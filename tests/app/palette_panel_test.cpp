#include "app/palette_panel.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "app/palette_grid.h"
#include "model/compositor.h"
#include "panel_fixtures.h"
#include "scripted_dialogs.h"

namespace anitrope::test {
namespace {

std::string Text(const QLabel* label) { return label->text().toStdString(); }

TEST(PaletteGridGeometry, CellsAreCentredWithFourPixelGaps) {
    const PaletteGridGeometry geometry(QSize(390, 400));
    EXPECT_EQ(geometry.cellWidth, 20);
    EXPECT_EQ(geometry.cellHeight, 21);
    const int gridWidth = 16 * 20 + 15 * 4;
    const int gridHeight = 16 * 21 + 15 * 4;
    EXPECT_EQ(geometry.CellRect(0), QRect((390 - gridWidth) / 2, (400 - gridHeight) / 2, 20, 21));
    const QRect first = geometry.CellRect(0);
    EXPECT_EQ(geometry.CellRect(1).left(), first.left() + 24);
    EXPECT_EQ(geometry.CellRect(16).top(), first.top() + 25);
    const QRect last = geometry.CellRect(255);
    EXPECT_EQ(last.right() + 1 - first.left(), gridWidth);
    EXPECT_EQ(last.bottom() + 1 - first.top(), gridHeight);
    EXPECT_TRUE(geometry.CellRect(256).isEmpty());
    EXPECT_TRUE(geometry.CellRect(-1).isEmpty());
}

TEST(PaletteGridGeometry, PointsMapToCellsInRowMajorOrder) {
    const PaletteGridGeometry geometry(QSize(380, 380));
    for (int index : {0, 1, 15, 16, 17, 100, 240, 255}) {
        const QRect cell = geometry.CellRect(index);
        EXPECT_EQ(geometry.IndexAt(cell.topLeft()), index);
        EXPECT_EQ(geometry.IndexAt(cell.bottomRight()), index);
        EXPECT_EQ(geometry.IndexAt(cell.center()), index);
    }
}

TEST(PaletteGridGeometry, GapsAndMarginsHitNoCell) {
    const PaletteGridGeometry geometry(QSize(400, 400));
    const QRect first = geometry.CellRect(0);
    EXPECT_EQ(geometry.IndexAt(first.topRight() + QPoint(1, 0)), -1);    // gap to the right
    EXPECT_EQ(geometry.IndexAt(first.bottomLeft() + QPoint(0, 1)), -1);  // gap below
    EXPECT_EQ(geometry.IndexAt(first.topLeft() - QPoint(1, 1)), -1);     // margin
    EXPECT_EQ(geometry.IndexAt(geometry.CellRect(255).bottomRight() + QPoint(1, 1)), -1);
    EXPECT_EQ(geometry.IndexAt(QPoint(-5, 200)), -1);

    // Too small for a cell of one pixel: no cells at all.
    for (QSize size : {QSize(75, 400), QSize(-10, -10)}) {
        const PaletteGridGeometry tiny(size);
        EXPECT_FALSE(tiny.HasCells());
        EXPECT_EQ(tiny.IndexAt(QPoint(30, 30)), -1);
    }
}

// A document with one frame and a global palette of its own colours, with the panel's
// collaborators.
struct PanelBench {
    PanelBench() {
        frame = AppendFrame(doc);
        for (int k = 0; k < kPaletteSlots; ++k) doc.globalPalette[k] = {255 - k, 3, k};
        doc.globalPalettePresent = 1;
        doc.backgroundIndex = 9;
        frame->transparentIndex = 17;
    }
    std::unique_ptr<PalettePanel> Panel(PaletteRequest& request) {
        auto panel = std::make_unique<PalettePanel>(document, request, colors, boxes);
        panel->resize(420, 480);
        panel->show();
        return panel;
    }
    QPoint CellCentre(PalettePanel& panel, int index) {
        return PaletteGridGeometry(panel.Grid()->size()).CellRect(index).center();
    }

    Document document;
    Animation& doc = Setup(document);
    Compositor compositor{document.Data(), nullptr, &document.Lock()};
    Gif* frame;
    ScriptedColorChooser colors;
    ScriptedMessageBoxes boxes;
};

TEST(PalettePanel, OpensOnTheOwnersIndexWithItsTexts) {
    PanelBench bench;
    PaletteRequest onFrame{bench.frame, false, false, 0};
    auto panel = bench.Panel(onFrame);
    EXPECT_EQ(panel->objectName().toStdString(), "IDD_COLORDLG");
    EXPECT_EQ(panel->windowTitle().toStdString(), "Choose Color");
    EXPECT_TRUE(panel->isModal());
    EXPECT_EQ(panel->SelectedIndex(), 17);
    EXPECT_EQ(Text(panel->ColorText()), "Color Index 17 - R:17 G:238 B:7");
    EXPECT_EQ(Text(panel->HintText()), "Click on a Color to Select");

    PaletteRequest onGlobal{nullptr, true, false, 0};
    auto global = bench.Panel(onGlobal);
    EXPECT_EQ(global->SelectedIndex(), 9);
    EXPECT_EQ(Text(global->ColorText()), "Color Index 9 - R:246 G:3 B:9");
    EXPECT_EQ(Text(global->HintText()), "Click on a Color to Select; double-click to Edit");
}

TEST(PalettePanel, ATransparentIndexOutsideThePaletteOpensOnTheFirstSlot) {
    PanelBench bench;
    for (int32_t index : {300, -1, 256}) {
        bench.frame->transparentIndex = index;
        PaletteRequest request{bench.frame, false, false, 0};
        auto panel = bench.Panel(request);
        EXPECT_EQ(panel->SelectedIndex(), 0) << index;
        EXPECT_EQ(Text(panel->ColorText()), "Color Index 0 - R:0 G:255 B:7");
    }
}

TEST(PalettePanel, EmptyEntriesReadNotAvailable) {
    PanelBench bench;
    bench.frame->palette[17] = PaletteEntry{};
    PaletteRequest request{bench.frame, false, false, 0};
    auto panel = bench.Panel(request);
    EXPECT_EQ(Text(panel->ColorText()), "Color Index 17 - R:n/a G:n/a B:n/a");
}

TEST(PalettePanel, AClickSelectsTheCellUnderTheRelease) {
    PanelBench bench;
    PaletteRequest request{bench.frame, false, false, 0};
    auto panel = bench.Panel(request);
    PaletteGrid* grid = panel->Grid();
    Click(grid, bench.CellCentre(*panel, 200));
    EXPECT_EQ(panel->SelectedIndex(), 200);
    EXPECT_EQ(Text(panel->ColorText()), "Color Index 200 - R:200 G:55 B:7");

    // Pressed on one cell, released on another: the release point counts.
    SendMouse(grid, QEvent::MouseButtonPress, bench.CellCentre(*panel, 3));
    SendMouse(grid, QEvent::MouseButtonRelease, bench.CellCentre(*panel, 4));
    EXPECT_EQ(panel->SelectedIndex(), 4);

    // Released in a gap: the selection stays.
    const QRect cell = PaletteGridGeometry(grid->size()).CellRect(4);
    Click(grid, cell.topRight() + QPoint(2, 0));
    EXPECT_EQ(panel->SelectedIndex(), 4);
}

TEST(PalettePanel, AReleaseWithoutAPressDoesNotSelect) {
    // The release of the double click that opened the panel arrives first.
    PanelBench bench;
    PaletteRequest request{bench.frame, false, false, 0};
    auto panel = bench.Panel(request);
    SendMouse(panel->Grid(), QEvent::MouseButtonRelease, bench.CellCentre(*panel, 50));
    EXPECT_EQ(panel->SelectedIndex(), 17);
    EXPECT_EQ(Text(panel->ColorText()), "Color Index 17 - R:17 G:238 B:7");
}

TEST(PalettePanel, GridShowsEntriesBordersAndTheSelection) {
    PanelBench bench;
    bench.frame->palette[5] = PaletteEntry{};
    PaletteRequest request{bench.frame, false, false, 0};
    auto panel = bench.Panel(request);
    Click(panel->Grid(), bench.CellCentre(*panel, 40));
    const QImage image = panel->Grid()->grab().toImage();
    const PaletteGridGeometry geometry(panel->Grid()->size());
    const auto pixel = [&](QPoint at) { return image.pixel(at) & 0xFFFFFF; };

    const QRect cell = geometry.CellRect(33);
    EXPECT_EQ(pixel(cell.center()), (33u << 16) | (222u << 8) | 7u);
    EXPECT_EQ(pixel(cell.topLeft()), 0u);  // black border
    EXPECT_EQ(pixel(cell.bottomRight()), 0u);
    EXPECT_EQ(pixel(geometry.CellRect(5).center()), 0u);  // an empty entry shows black

    const QRect selected = geometry.CellRect(40);
    for (QPoint outline : {selected.topLeft() - QPoint(2, 2), selected.bottomRight() + QPoint(2, 2),
                           QPoint(selected.center().x(), selected.top() - 2),
                           QPoint(selected.right() + 2, selected.center().y())})
        EXPECT_EQ(pixel(outline), 0xFF0000u) << outline.x() << "," << outline.y();
    // No outline around cells that are not selected.
    EXPECT_NE(pixel(cell.topLeft() - QPoint(2, 2)), 0xFF0000u);
}

TEST(PalettePanel, OkInSelectModeStoresTheTransparentIndexAndDropsPictures) {
    PanelBench bench;
    Gif* second = AppendFrame(bench.doc);
    second->transparent = 1;  // shows the first frame through its pixels
    bench.compositor.GetDisplayBitmap(*bench.frame);
    bench.compositor.GetDisplayBitmap(*second);
    PaletteRequest request{bench.frame, false, false, -5};
    auto panel = bench.Panel(request);
    Click(panel->Grid(), bench.CellCentre(*panel, 99));
    panel->OkButton()->click();
    EXPECT_EQ(panel->result(), QDialog::Accepted);
    EXPECT_EQ(bench.frame->transparentIndex, 99);
    EXPECT_EQ(request.index, -5);  // only index-only requests answer there
    EXPECT_EQ(bench.document.UndoName(), "Transparent Color Change");
    EXPECT_EQ(bench.compositor.CachedDisplayBitmap(*bench.frame), nullptr) << "composed again";
    EXPECT_EQ(bench.compositor.CachedDisplayBitmap(*second), nullptr) << "composed again";
    EXPECT_EQ(bench.doc.backgroundIndex, 9);
}

TEST(PalettePanel, OkOnTheGlobalPaletteStoresTheBackgroundIndex) {
    PanelBench bench;
    bench.compositor.GetDisplayBitmap(*bench.frame);
    PaletteRequest request{nullptr, false, false, 0};
    auto panel = bench.Panel(request);
    Click(panel->Grid(), bench.CellCentre(*panel, 255));
    panel->OkButton()->click();
    EXPECT_EQ(bench.doc.backgroundIndex, 255);
    EXPECT_EQ(bench.frame->transparentIndex, 17);
    EXPECT_EQ(bench.compositor.CachedDisplayBitmap(*bench.frame), nullptr) << "composed again";
}

TEST(PalettePanel, AnIndexOnlyRequestStoresNothing) {
    PanelBench bench;
    const Palette before = bench.frame->palette;
    PaletteRequest request{bench.frame, true, true, 0};
    bench.colors.Answer(0x102030);
    auto panel = bench.Panel(request);
    DoubleClick(panel->Grid(), bench.CellCentre(*panel, 64));
    panel->OkButton()->click();
    EXPECT_EQ(request.index, 64);
    EXPECT_EQ(bench.frame->transparentIndex, 17);
    EXPECT_EQ(bench.frame->palette, before);
}

TEST(PalettePanel, EditingAnEntryChangesTheWorkingCopyUntilOk) {
    PanelBench bench;
    PaletteRequest request{bench.frame, true, false, 0};
    bench.colors.Answer(0x0A141E);
    auto panel = bench.Panel(request);
    DoubleClick(panel->Grid(), bench.CellCentre(*panel, 70));
    ASSERT_EQ(bench.colors.asked.size(), 1u);
    EXPECT_EQ(bench.colors.asked[0].initialRgb, (70u << 16) | (185u << 8) | 7u);
    EXPECT_EQ(panel->SelectedIndex(), 70);
    EXPECT_EQ(Text(panel->ColorText()), "Color Index 70 - R:10 G:20 b:30");
    EXPECT_EQ(panel->WorkingPalette()[70], (PaletteEntry{10, 20, 30}));
    EXPECT_EQ(bench.frame->palette[70], (PaletteEntry{70, 185, 7}));  // not before OK
    EXPECT_EQ(
        PixelOf(panel->Grid(), PaletteGridGeometry(panel->Grid()->size()).CellRect(70).center()),
        0x0A141Eu);

    bench.compositor.GetDisplayBitmap(*bench.frame);
    panel->OkButton()->click();
    EXPECT_EQ(bench.frame->palette[70], (PaletteEntry{10, 20, 30}));
    EXPECT_EQ(bench.frame->palette[71], (PaletteEntry{71, 184, 7}));
    EXPECT_EQ(bench.frame->transparentIndex, 17);  // edit mode stores no index
    // One edit, taken back whole.
    ASSERT_TRUE(bench.document.Undo());
    EXPECT_EQ(bench.frame->palette[70], (PaletteEntry{70, 185, 7}));
    EXPECT_EQ(bench.compositor.CachedDisplayBitmap(*bench.frame), nullptr) << "composed again";
}

TEST(PalettePanel, EditingAnEmptyEntryStartsFromBlackAndFillsIt) {
    PanelBench bench;
    bench.doc.globalPalette[200] = PaletteEntry{};
    PaletteRequest request{nullptr, true, false, 0};
    bench.colors.Answer(0xFFFFFF);
    auto panel = bench.Panel(request);
    DoubleClick(panel->Grid(), bench.CellCentre(*panel, 200));
    ASSERT_EQ(bench.colors.asked.size(), 1u);
    EXPECT_EQ(bench.colors.asked[0].initialRgb, 0u);
    panel->OkButton()->click();
    EXPECT_EQ(bench.doc.globalPalette[200], (PaletteEntry{255, 255, 255}));
}

TEST(PalettePanel, ACancelledChooserChangesNothing) {
    PanelBench bench;
    PaletteRequest request{bench.frame, true, false, 0};
    bench.colors.Cancel();
    auto panel = bench.Panel(request);
    DoubleClick(panel->Grid(), bench.CellCentre(*panel, 70));
    EXPECT_EQ(Text(panel->ColorText()), "Color Index 70 - R:70 G:185 B:7");
    EXPECT_EQ(panel->WorkingPalette()[70], (PaletteEntry{70, 185, 7}));
}

TEST(PalettePanel, EditingTheFramesGlobalPaletteWritesTheGlobalOne) {
    PanelBench bench;
    bench.frame->usesLocalPalette = 0;
    const Palette local = bench.frame->palette;
    PaletteRequest request{bench.frame, true, false, 0};
    bench.colors.Answer(0x010203);
    auto panel = bench.Panel(request);
    DoubleClick(panel->Grid(), bench.CellCentre(*panel, 1));
    panel->OkButton()->click();
    EXPECT_EQ(bench.doc.globalPalette[1], (PaletteEntry{1, 2, 3}));
    EXPECT_EQ(bench.frame->palette, local);
}

TEST(PalettePanel, ADoubleClickOutsideEditModeExplainsAndChangesNothing) {
    PanelBench bench;
    PaletteRequest request{bench.frame, false, false, 0};
    auto panel = bench.Panel(request);
    DoubleClick(panel->Grid(), bench.CellCentre(*panel, 70));
    EXPECT_TRUE(bench.colors.asked.empty());
    ASSERT_EQ(bench.boxes.shown.size(), 1u);
    EXPECT_EQ(bench.boxes.shown[0].text,
              "Please click on a color to select;\nfor editing, use 'Edit Palette' in the "
              "corresponding Tool-Window");
    EXPECT_EQ(bench.boxes.shown[0].title, "Palette Editing not possible");
    EXPECT_EQ(panel->WorkingPalette(), bench.frame->palette);
}

TEST(PalettePanel, CancelChangesNothing) {
    PanelBench bench;
    bench.compositor.GetDisplayBitmap(*bench.frame);
    const Palette before = bench.frame->palette;
    PaletteRequest request{bench.frame, true, false, 0};
    bench.colors.Answer(0x000000);
    auto panel = bench.Panel(request);
    DoubleClick(panel->Grid(), bench.CellCentre(*panel, 2));
    panel->CancelButton()->click();
    EXPECT_EQ(panel->result(), QDialog::Rejected);
    EXPECT_EQ(bench.frame->palette, before);
    EXPECT_EQ(bench.frame->transparentIndex, 17);
    EXPECT_NE(bench.compositor.CachedDisplayBitmap(*bench.frame), nullptr);
    EXPECT_FALSE(bench.document.CanUndo());
}

TEST(PalettePanel, OpenRunsModallyAndAnswersOneForOk) {
    PanelBench bench;
    PaletteRequest request{nullptr, false, true, 0};
    WhenModal<PalettePanel>([&](PalettePanel& panel) {
        Click(panel.Grid(), PaletteGridGeometry(panel.Grid()->size()).CellRect(123).center());
        panel.OkButton()->click();
    });
    EXPECT_EQ(PalettePanel::Open(bench.document, request, bench.colors, bench.boxes), 1);
    EXPECT_EQ(request.index, 123);

    WhenModal<PalettePanel>([](PalettePanel& panel) { panel.CancelButton()->click(); });
    EXPECT_EQ(PalettePanel::Open(bench.document, request, bench.colors, bench.boxes), 0);
}

}  // namespace
}  // namespace anitrope::test
