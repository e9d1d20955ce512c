// Edits and their undo while frames are still being reduced: the workers never race the
// document, a result for pixels the frame no longer has is dropped, and the counts the status
// bar shows come back to nothing.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <string>

#include "model/document.h"
#include "model/frame_alloc.h"
#include "model/status_display.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"
#include "support/animation_dump.h"
#include "support/pool_gate.h"

namespace anitrope {
namespace {

std::shared_ptr<TrueColorBitmap> RandomPixels(unsigned seed, int32_t width, int32_t height) {
    auto pixels = std::make_shared<TrueColorBitmap>(width, height);
    std::mt19937 random(seed);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) pixels->Set(x, y, random() & 0x7F7F7F);
    return pixels;
}

// A frame of the document awaiting its reduction, its true colour drawn from `seed`.
Gif* PendingFrame(Document& document, unsigned seed, int32_t width = 16, int32_t height = 12) {
    Gif* gif = document.CreateFrame(nullptr);
    AllocIndexed(*gif, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    gif->trueColor = RandomPixels(seed, width, height);
    gif->indexedReady = 0;
    gif->name = "pending " + std::to_string(seed);
    return gif;
}

// One frame that is ready, so that the document is open.
void OpenWithOneReadyFrame(Document& document) {
    Animation content;
    content.screenWidth = 16;
    content.screenHeight = 12;
    Gif* first = CreateGif(content, nullptr, nullptr);
    AllocIndexed(*first, 16, 12);
    first->name = "ready";
    content.head = first;
    document.Reset(content);
}

class DocumentReduction : public ::testing::Test {
protected:
    DocumentReduction() {
        document.SetStatus(&status);
        reduction.Attach(&document);
        OpenWithOneReadyFrame(document);
    }
    StatusCounters Reductions() const { return status.Counters(StatusReduction); }
    void Hold() { gate.emplace(scheduler); }
    void Release() {
        gate->Release();
        document.WaitForReductions();
    }

    StatusDisplay status;
    JobScheduler scheduler{1};
    Document document;
    ColorReduction reduction{&scheduler, &status};
    std::optional<test::PoolGate> gate;  // released first, so the workers can stop
};

// Undo takes back frames whose reductions are still queued: the results still arrive, for the
// frames the history keeps, and Redo brings them back reduced, as if nothing had waited.
TEST_F(DocumentReduction, UndoOfAnInsertWhileItsFramesAreReducedLeavesThemToTheHistory) {
    Hold();
    Gif* a = PendingFrame(document, 1);
    Gif* b = PendingFrame(document, 2);
    a->next = b;
    b->prev = a;
    Transaction(document, "Paste").Insert(a, Place{document.Data().head, nullptr});
    EXPECT_TRUE(reduction.Busy(*a));
    EXPECT_EQ(Reductions().total, 2) << "announced when they came";

    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(document.Data().FrameCount(), 1u);
    Release();
    EXPECT_EQ(IsIndexedReady(*a), 1);
    EXPECT_EQ(IsIndexedReady(*b), 1);
    EXPECT_EQ(Reductions().total, 0) << "both done";

    ASSERT_TRUE(document.Redo());
    EXPECT_FALSE(reduction.Busy(*a)) << "nothing left to reduce";
    const std::string redone = test::DumpDocument(document.Data());
    // The same as inserting frames that were reduced at once.
    Document direct;
    OpenWithOneReadyFrame(direct);
    ColorReduction now(nullptr);
    now.Attach(&direct);
    Gif* c = PendingFrame(direct, 1);
    Gif* d = PendingFrame(direct, 2);
    c->next = d;
    d->prev = c;
    Transaction(direct, "Paste").Insert(c, Place{direct.Data().head, nullptr});
    direct.WaitForReductions();
    EXPECT_EQ(redone, test::DumpDocument(direct.Data()));
}

// New pixels taken back before their reduction ran: the frame is as it was, the result is
// dropped, and the count of reductions goes back. Redo starts the reduction again.
TEST_F(DocumentReduction, UndoingNewPixelsBeforeTheirReductionDropsIt) {
    Gif& frame = *document.Data().head;
    const std::string before = test::DumpDocument(document.Data());
    Hold();
    {
        FrameContent content = ContentOf(frame);
        content.trueColor = RandomPixels(7, 16, 12);
        content.indexedReady = 0;
        Transaction(document, "UnOptimize").ReplaceContent(frame, content);
    }
    EXPECT_TRUE(reduction.Busy(frame));
    EXPECT_EQ(Reductions().total, 1);
    ASSERT_TRUE(document.Undo());
    Release();
    EXPECT_EQ(test::DumpDocument(document.Data()), before);
    EXPECT_EQ(Reductions().total, 0);
    EXPECT_EQ(Reductions().done, 0);

    ASSERT_TRUE(document.Redo());
    EXPECT_TRUE(reduction.Busy(frame)) << "awaits its reduction again";
    document.WaitForReduction(frame);
    EXPECT_EQ(IsIndexedReady(frame), 1);
}

// A step dropped from the history frees its frames: a reduction still queued for one of them
// is forgotten before the frame goes, and never touches it.
TEST_F(DocumentReduction, FramesFreedFromTheHistoryTakeTheirQueuedReductionsWithThem) {
    document.SetHistoryBound(1);
    Hold();
    Gif* pending = PendingFrame(document, 3);
    Transaction(document, "Paste").Insert(pending, Place{});
    ASSERT_TRUE(document.Undo());
    ASSERT_TRUE(reduction.Busy(*pending));
    // A new edit drops the step that could be redone, and the frame with it.
    Transaction(document, "Delay Change").Set(*document.Data().head, &Gif::delay, 4);
    EXPECT_FALSE(document.CanRedo());
    Release();
    EXPECT_EQ(Reductions().total, 0);
    EXPECT_EQ(document.Data().FrameCount(), 1u);
}

// A palette set on a frame still being reduced waits for the reduction, which would otherwise
// overwrite it; the edit then holds what the user chose.
TEST_F(DocumentReduction, APaletteEditWaitsForTheReductionItWouldLoseTo) {
    Hold();
    Gif* pending = PendingFrame(document, 5);
    Transaction(document, "Paste").Insert(pending, Place{document.Data().head, nullptr});
    ASSERT_TRUE(reduction.Busy(*pending));
    {
        Transaction edit(document, "Transparency Change");
        edit.Set(*pending, &Gif::transparentIndex, 200);
    }
    EXPECT_EQ(IsIndexedReady(*pending), 1);
    EXPECT_EQ(pending->transparentIndex, 200);
    ASSERT_TRUE(document.Undo());
    EXPECT_NE(pending->transparentIndex, 200) << "back to what the reduction chose";
    EXPECT_EQ(IsIndexedReady(*pending), 1);
    gate->Release();
}

}  // namespace
}  // namespace anitrope
