#include "model/document.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame_fixtures.h"
#include "model/compositor.h"
#include "model/outline.h"
#include "support/animation_dump.h"

namespace anitrope {
namespace {

using testing::AppendFrame;
using testing::FillIndexed;
using testing::SetSlot;

// A frame of its own colours: palette slot k is (k * step, 255 - k, frame number).
Gif* ColouredFrame(Animation& doc, int number, uint32_t w, uint32_t h, int32_t left = 0,
                   int32_t top = 0) {
    Gif* gif = AppendFrame(doc, w, h, left, top);
    for (int k = 0; k < 8; ++k) SetSlot(gif->palette, k, k * 30, 255 - k, number);
    for (int32_t y = 0; y < gif->indexed->Height(); ++y)
        for (int32_t x = 0; x < gif->indexed->Width(); ++x)
            gif->indexed->Set(x, y, static_cast<uint8_t>((x + y + number) % 8));
    gif->name = "frame " + std::to_string(number);
    gif->delay = 10 + number;
    return gif;
}

// Five frames on a 6 x 4 screen: 0 and 3 cover it opaquely; 1, 2 and 4 are smaller and
// transparent, so their pictures show what lies beneath. Frame 1 has two comments; there is
// one global comment.
void FillDocument(Document& document) {
    Animation content;
    content.screenWidth = 6;
    content.screenHeight = 4;
    for (int k = 0; k < 8; ++k) SetSlot(content.globalPalette, k, 9, 9, k);
    content.globalPalettePresent = 1;
    content.globalComments.Append("global");
    for (int n = 0; n < 5; ++n) {
        const bool opaque = n == 0 || n == 3;
        Gif* gif = opaque ? ColouredFrame(content, n, 6, 4) : ColouredFrame(content, n, 3, 2, 1, 1);
        gif->transparent = opaque ? 0 : 1;
        gif->transparentIndex = 2;
        gif->hasTransparentPixels = opaque ? 0 : 1;
        gif->disposal = n == 2 ? DisposalRestoreBackground : DisposalDoNotDispose;
    }
    content.FrameAt(1)->comments.Append("first");
    content.FrameAt(1)->comments.Append("second");
    document.Reset(content);
}

// Records what observers hear.
struct Recorder : DocumentObserver {
    void DocumentChanged(const DocumentChange& change) override { changes.push_back(change); }
    void FramesFreed(std::span<Gif* const> frames) override { freed += frames.size(); }
    std::vector<DocumentChange> changes;
    std::size_t freed = 0;
};

Gif* Frame(Document& document, std::size_t index) { return document.Data().FrameAt(index); }

// A chain of `count` new frames for the document, each 3 x 2 and named "new i".
Gif* NewChain(Document& document, int count) {
    Gif* head = nullptr;
    Gif* tail = nullptr;
    for (int i = 0; i < count; ++i) {
        Gif* gif = document.CreateFrame(nullptr);
        AllocIndexed(*gif, 3, 2);
        FillIndexed(*gif, {1, 2, 3, 4, 5, 6});
        gif->name = "new " + std::to_string(i);
        gif->prev = tail;
        (tail ? tail->next : head) = gif;
        tail = gif;
    }
    return head;
}

struct EditCase {
    const char* name;
    std::function<void(Document&)> edit;
};

// Every kind of edit, each undone and redone, in any order of the table: the document goes
// back to exactly what it was and forward to exactly what the edit made.
TEST(DocumentHistory, EveryKindOfEditIsUndoneAndRedoneExactly) {
    const std::vector<EditCase> cases{
        {"delay", [](Document& d) { Transaction(d, "Delay Change").Set(*Frame(d, 1), &Gif::delay, 99); }},
        {"disposal", [](Document& d) { Transaction(d, "Disposal Change").Set(*Frame(d, 2), &Gif::disposal, 3u); }},
        {"palette", [](Document& d) {
             Palette palette = Frame(d, 1)->palette;
             palette[3] = {1, 2, 3};
             Transaction(d, "Palette Change").Set(*Frame(d, 1), &Gif::palette, palette);
         }},
        {"transparency", [](Document& d) {
             Transaction edit(d, "Transparency Change");
             edit.Set(*Frame(d, 3), &Gif::transparent, 1);
             edit.Set(*Frame(d, 3), &Gif::transparentIndex, 7);
         }},
        {"globals", [](Document& d) {
             Transaction edit(d, "Global Change");
             edit.Set(&Animation::loopCount, 4);
             edit.Set(&Animation::animationDelay, 55);
             edit.Set(&Animation::useAnimationDisposal, 1);
             edit.Set(&Animation::backgroundIndex, uint8_t{5});
             Palette palette = d.Data().globalPalette;
             palette[0] = {200, 0, 0};
             edit.Set(&Animation::globalPalette, palette);
         }},
        {"content", [](Document& d) {
             Gif& gif = *Frame(d, 4);
             FrameContent content = ContentOf(gif);
             content.left = 0;
             content.width = 2;
             content.height = 1;
             content.indexed = std::make_shared<IndexedBitmap>(&gif, 2, 1);
             content.transparent = 0;
             Transaction(d, "Crop").ReplaceContent(gif, content);
         }},
        {"insert at the head", [](Document& d) {
             Transaction(d, "Paste").Insert(NewChain(d, 2), Place{});
         }},
        {"insert a group after a frame", [](Document& d) {
             auto group = MakeGroup(GroupKind::Effect, "Fade");
             Transaction(d, "Insert Effect").Insert(NewChain(d, 3), Place{Frame(d, 1), nullptr}, group);
         }},
        {"remove the head", [](Document& d) { Transaction(d, "Delete").Remove(*Frame(d, 0)); }},
        {"remove two in the middle", [](Document& d) {
             Transaction edit(d, "Delete");
             Gif* a = Frame(d, 1);
             Gif* b = Frame(d, 2);
             edit.Remove(*a);
             edit.Remove(*b);
         }},
        {"remove everything", [](Document& d) {
             Transaction edit(d, "Delete");
             while (Gif* gif = Frame(d, 0)) edit.Remove(*gif);
             edit.RemoveComment(nullptr, 0);
         }},
        {"comments", [](Document& d) {
             Transaction edit(d, "Comment");
             edit.RemoveComment(Frame(d, 1), 0);
             edit.InsertComment(Frame(d, 4), 0, "added");
             edit.InsertComment(nullptr, 1, "another global");
         }},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        Document document;
        FillDocument(document);
        const std::string before = test::DumpDocument(document.Data());
        c.edit(document);
        const std::string after = test::DumpDocument(document.Data());
        ASSERT_NE(after, before) << "the edit changed nothing";
        ASSERT_TRUE(document.CanUndo());
        EXPECT_TRUE(document.Undo());
        EXPECT_EQ(test::DumpDocument(document.Data()), before);
        EXPECT_TRUE(document.Redo());
        EXPECT_EQ(test::DumpDocument(document.Data()), after);
        EXPECT_TRUE(document.Undo());
        EXPECT_EQ(test::DumpDocument(document.Data()), before);
        EXPECT_FALSE(document.Modified()) << "back where it was opened";
    }
}

TEST(DocumentHistory, AStepOfEachKindTakenBackInReverseOrderRestoresTheOpenedDocument) {
    Document document;
    FillDocument(document);
    std::vector<std::string> states{test::DumpDocument(document.Data())};
    Transaction(document, "Delay Change").Set(*Frame(document, 0), &Gif::delay, 1);
    states.push_back(test::DumpDocument(document.Data()));
    Transaction(document, "Delete").Remove(*Frame(document, 2));
    states.push_back(test::DumpDocument(document.Data()));
    Transaction(document, "Paste").Insert(NewChain(document, 1), Place{Frame(document, 0), nullptr});
    states.push_back(test::DumpDocument(document.Data()));
    Transaction(document, "Delete").RemoveComment(Frame(document, 2), 1);
    states.push_back(test::DumpDocument(document.Data()));
    ASSERT_EQ(document.UndoSteps(), 4u);
    EXPECT_EQ(document.UndoName(), "Delete");
    for (std::size_t step = states.size() - 1; step > 0; --step) {
        ASSERT_TRUE(document.Undo());
        EXPECT_EQ(test::DumpDocument(document.Data()), states[step - 1]) << "after undo to " << step - 1;
    }
    EXPECT_FALSE(document.CanUndo());
    EXPECT_EQ(document.RedoName(), "Delay Change");
    while (document.Redo()) {
    }
    EXPECT_EQ(test::DumpDocument(document.Data()), states.back());
}

TEST(DocumentHistory, AnEditThatChangesNothingLeavesNoStepAndTellsNobody) {
    Document document;
    FillDocument(document);
    Recorder recorder;
    document.Subscribe(&recorder);
    Transaction(document, "Delay Change").Set(*Frame(document, 1), &Gif::delay, Frame(document, 1)->delay);
    { Transaction empty(document, "Nothing"); }
    EXPECT_FALSE(document.CanUndo());
    EXPECT_FALSE(document.Modified());
    EXPECT_TRUE(recorder.changes.empty());
    document.Unsubscribe(&recorder);
}

TEST(DocumentHistory, ModifiedFollowsTheSavedPlaceInTheHistory) {
    Document document;
    FillDocument(document);
    EXPECT_FALSE(document.Modified());
    Transaction(document, "Delay Change").Set(*Frame(document, 1), &Gif::delay, 1);
    EXPECT_TRUE(document.Modified());
    document.MarkSaved();
    EXPECT_FALSE(document.Modified());
    document.Undo();
    EXPECT_TRUE(document.Modified()) << "the saved file holds the change";
    document.Redo();
    EXPECT_FALSE(document.Modified());
    // A new edit after an undo: the saved place cannot be reached again.
    document.Undo();
    Transaction(document, "Delay Change").Set(*Frame(document, 1), &Gif::delay, 2);
    document.Undo();
    EXPECT_TRUE(document.Modified());
    document.MarkNeverSaved();
    while (document.Undo()) {
    }
    EXPECT_TRUE(document.Modified());
}

TEST(DocumentHistory, TypingIntoOneFieldIsOneStepUntilTheKeyChangesOrTheDocumentIsSaved) {
    Document document;
    FillDocument(document);
    Gif& gif = *Frame(document, 1);
    const int32_t original = gif.delay;
    for (int32_t value : {1, 12, 125}) Transaction(document, "Delay Change", "delay#1").Set(gif, &Gif::delay, value);
    EXPECT_EQ(document.UndoSteps(), 1u);
    document.MarkSaved();
    Transaction(document, "Delay Change", "delay#1").Set(gif, &Gif::delay, 12);
    Transaction(document, "Delay Change", "delay#2").Set(gif, &Gif::delay, 7);
    EXPECT_EQ(document.UndoSteps(), 3u);
    document.Undo();
    document.Undo();
    EXPECT_EQ(gif.delay, 125);
    EXPECT_FALSE(document.Modified());
    document.Undo();
    EXPECT_EQ(gif.delay, original);
}

TEST(DocumentHistory, TheBoundDropsTheOldestStepsAndFreesTheFramesOnlyTheyKept) {
    Document document;
    FillDocument(document);
    Recorder recorder;
    document.Subscribe(&recorder);
    // Each removal keeps its frame's pixels (at least 24 bytes) for its undo.
    document.SetHistoryBound(1);
    Transaction(document, "Delete").Remove(*Frame(document, 0));
    Transaction(document, "Delete").Remove(*Frame(document, 0));
    EXPECT_EQ(document.UndoSteps(), 1u) << "the newest stays, however large";
    EXPECT_EQ(recorder.freed, 1u);
    EXPECT_TRUE(document.Undo());
    EXPECT_FALSE(document.Undo());
    EXPECT_EQ(document.Data().FrameCount(), 4u);

    // A new edit after an undo drops the step that could be redone, with its frames.
    document.SetHistoryBound(kDefaultHistoryBytes);
    Transaction(document, "Paste").Insert(NewChain(document, 2), Place{});
    document.Undo();
    const std::size_t freedBefore = recorder.freed;
    Transaction(document, "Delay Change").Set(*Frame(document, 0), &Gif::delay, 3);
    EXPECT_EQ(recorder.freed, freedBefore + 2);
    EXPECT_FALSE(document.CanRedo());
    document.Unsubscribe(&recorder);
}

TEST(DocumentChanges, ObserversHearWhatCameWentAndChanged) {
    Document document;
    FillDocument(document);
    Recorder recorder;
    document.Subscribe(&recorder);
    Gif* gone = Frame(document, 2);
    {
        Transaction edit(document, "Mixed");
        edit.Set(*Frame(document, 0), &Gif::delay, 77);
        edit.Remove(*gone);
        edit.Insert(NewChain(document, 2), Place{Frame(document, 3), nullptr});
    }
    ASSERT_EQ(recorder.changes.size(), 1u);
    const DocumentChange& change = recorder.changes[0];
    EXPECT_EQ(change.cause, DocumentChange::Cause::Edit);
    EXPECT_EQ(change.name, "Mixed");
    EXPECT_EQ(change.removed, std::vector<Gif*>{gone});
    ASSERT_EQ(change.inserted.size(), 2u);
    EXPECT_EQ(change.inserted[0], Frame(document, 4));
    EXPECT_EQ(change.inserted[1], Frame(document, 5));
    EXPECT_EQ(change.changed, std::vector<Gif*>{Frame(document, 0)});
    EXPECT_TRUE(change.pictures);
    document.Undo();
    ASSERT_EQ(recorder.changes.size(), 2u);
    EXPECT_EQ(recorder.changes[1].cause, DocumentChange::Cause::Undo);
    EXPECT_EQ(recorder.changes[1].inserted, std::vector<Gif*>{gone});
    document.Unsubscribe(&recorder);
}

TEST(DocumentChanges, StampsRiseOnlyForWhatPicturesShow) {
    Document document;
    FillDocument(document);
    Gif& first = *Frame(document, 0);
    Gif& second = *Frame(document, 1);
    const uint64_t picture = second.pictureStamp;
    Transaction(document, "Delay Change").Set(second, &Gif::delay, 1);
    EXPECT_EQ(second.pictureStamp, picture) << "a delay shows in no picture";
    Transaction(document, "Transparency Change").Set(second, &Gif::transparentIndex, 3);
    EXPECT_GT(second.pictureStamp, picture);
    const uint64_t link = second.linkStamp;
    Transaction(document, "Delete").Remove(first);
    EXPECT_GT(second.linkStamp, link) << "the frame before it changed";
    const uint64_t globals = document.Data().pictureStamp;
    Transaction(document, "Global Delay Change").Set(&Animation::animationDelay, 3);
    EXPECT_EQ(document.Data().pictureStamp, globals);
    Transaction(document, "Background Color Change").Set(&Animation::backgroundIndex, uint8_t{4});
    EXPECT_GT(document.Data().pictureStamp, globals);
}

TEST(DocumentGroups, NewGroupsAreNumberedByKindInsideTheGroupOfTheirPlace) {
    Document document;
    FillDocument(document);
    auto effect = MakeGroup(GroupKind::Effect, "Fade");
    Transaction(document, "Insert Effect").Insert(NewChain(document, 2), Place{Frame(document, 0), nullptr}, effect);
    auto inner = MakeGroup(GroupKind::Transition, "Blind");
    Transaction(document, "Insert Transition").Insert(NewChain(document, 1), Place{effect->last, effect}, inner);
    auto banner = MakeGroup(GroupKind::Banner);
    Transaction(document, "Banner").Insert(NewChain(document, 1), Place{}, banner);
    auto second = MakeGroup(GroupKind::Effect, "Blur");
    Transaction(document, "Insert Effect").Insert(NewChain(document, 1), Place{}, second);

    EXPECT_EQ(GroupLabel(*effect), "Effect 1: Fade");
    EXPECT_EQ(GroupLabel(*inner), "Trans 1: Blind");
    EXPECT_EQ(GroupLabel(*banner), "Banner 1");
    EXPECT_EQ(GroupLabel(*second), "Effect 2: Blur");
    EXPECT_EQ(inner->parent, effect);
    EXPECT_EQ(effect->frames, 3u);
    EXPECT_EQ(effect->first, Frame(document, 3));
    EXPECT_EQ(effect->last, Frame(document, 5));
    // Taking the inner group's only frame back empties it; the count stays for the next one.
    document.Undo();
    document.Undo();
    document.Undo();
    EXPECT_EQ(inner->frames, 0u);
    EXPECT_EQ(inner->first, nullptr);
    EXPECT_EQ(effect->frames, 2u);
    EXPECT_EQ(document.Data().transitionGroups, 0) << "the number came back with the undo";
}

// Pictures after an edit: exactly the ones that show it are composed again, and they are what
// a compositor that never saw the old document makes.
TEST(DocumentPictures, AnEditRecomposesExactlyThePicturesThatShowIt) {
    Document document;
    FillDocument(document);
    Compositor compositor(document.Data(), nullptr, &document.Lock());
    document.Subscribe(&compositor);
    auto composeAll = [&] {
        const std::size_t before = compositor.Compositions();
        for (Gif* gif = document.Data().head; gif; gif = gif->next) compositor.GetDisplayBitmap(*gif);
        return compositor.Compositions() - before;
    };
    auto matchesFresh = [&] {
        Compositor fresh(document.Data(), nullptr);
        for (Gif* gif = document.Data().head; gif; gif = gif->next) {
            const auto ours = compositor.GetDisplayBitmap(*gif);
            const auto theirs = fresh.GetDisplayBitmap(*gif);
            if (!ours || !theirs || ours->Width() != theirs->Width()) return false;
            for (int32_t y = 0; y < ours->Height(); ++y)
                for (int32_t x = 0; x < ours->Width(); ++x)
                    if (ours->Get(x, y) != theirs->Get(x, y)) return false;
        }
        return true;
    };
    EXPECT_EQ(composeAll(), 5u);

    struct Step {
        const char* what;
        std::function<void()> edit;
        std::size_t recomposed;
    };
    const std::vector<Step> steps{
        {"a delay shows in no picture",
         [&] { Transaction(document, "Delay Change").Set(*Frame(document, 1), &Gif::delay, 50); }, 0},
        // Frame 1's own picture and frame 2's, which shows it; frame 3 covers the screen
        // opaquely, so frame 4 sees nothing of it.
        {"a palette",
         [&] {
             Palette palette = Frame(document, 1)->palette;
             palette[1] = {1, 1, 1};
             Transaction(document, "Palette Change").Set(*Frame(document, 1), &Gif::palette, palette);
         },
         2},
        {"the background every picture shows",
         [&] { Transaction(document, "Background Color Change").Set(&Animation::backgroundIndex, uint8_t{6}); },
         5},
        {"a removal before an opaque frame", [&] { Transaction(document, "Delete").Remove(*Frame(document, 2)); }, 0},
        {"its undo brings back one picture", [&] { document.Undo(); }, 1},
        {"the disposal frame 2 leaves for frame 3's canvas: frame 3 is opaque",
         [&] { Transaction(document, "Disposal Change").Set(*Frame(document, 2), &Gif::disposal, 1u); }, 1},
        {"a new head: every picture up to the first opaque frame after it",
         [&] { Transaction(document, "Paste").Insert(NewChain(document, 1), Place{}); }, 1},
        // Nothing of frame 2 changed but the frame before it, which its picture shows.
        {"a removal before a transparent frame",
         [&] { Transaction(document, "Delete").Remove(*Frame(document, 2)); }, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.edit();
        EXPECT_EQ(composeAll(), step.recomposed);
        EXPECT_TRUE(matchesFresh());
    }
    document.Unsubscribe(&compositor);
}

TEST(DocumentOutline, PlacesAndLabelsFollowTheFramesAndGroups) {
    Document document;
    FillDocument(document);
    auto effect = MakeGroup(GroupKind::Effect, "Fade");
    Gif* chain = NewChain(document, 2);
    chain->label = "Gif :Fade (1/2)";
    chain->next->label = "Gif :Fade (2/2)";
    Transaction(document, "Insert Effect").Insert(chain, PlaceAfterItem(OutlineItem::Comment(Frame(document, 1), 1)), effect);
    // A frame pasted with a frame of the group selected joins the group.
    Transaction(document, "Paste").Insert(NewChain(document, 1), PlaceAfterItem(OutlineItem::Frame(effect->first)));
    // With the group selected, the next one goes after it.
    Transaction(document, "Paste").Insert(NewChain(document, 1), PlaceAfterItem(OutlineItem::Group(effect.get())));

    const Outline outline(document.Data());
    std::string text;
    for (MaybeItem at = outline.NextItem(OutlineItem::Root()); at; at = outline.NextItem(*at)) {
        int depth = 0;
        for (MaybeItem up = outline.Parent(*at); up && up->kind != OutlineKind::Root; up = outline.Parent(*up)) ++depth;
        text += std::string(static_cast<std::size_t>(depth) * 2, ' ') + outline.Label(*at) + "\n";
    }
    EXPECT_EQ(text,
              "GlobalComment [1]\n"
              "Gif :frame 0\n"
              "Gif :frame 1\n"
              "  Comment [1]\n"
              "  Comment [2]\n"
              "Effect 1: Fade\n"
              "  Gif :Fade (1/2)\n"
              "  Gif :new 0\n"
              "  Gif :Fade (2/2)\n"
              "Gif :new 0\n"
              "Gif :frame 2\n"
              "Gif :frame 3\n"
              "Gif :frame 4\n");
    EXPECT_EQ(outline.ItemCount(), 14u);
    // Depth first, the frames are the list.
    std::vector<Gif*> images;
    for (MaybeItem at = outline.FirstImageItem(); at; at = outline.NextImageItem(*at)) images.push_back(at->frame);
    std::vector<Gif*> list;
    for (Gif* gif = document.Data().head; gif; gif = gif->next) list.push_back(gif);
    EXPECT_EQ(images, list);
    EXPECT_EQ(outline.PreviousSibling(OutlineItem::Frame(document.Data().head)), OutlineItem::GlobalComment(0));
    EXPECT_EQ(outline.NextSibling(OutlineItem::Frame(Frame(document, 1))), OutlineItem::Group(effect.get()));
}

TEST(DocumentOutline, LabelsCutTheDirectoryKeepCopiesAndStopAtAHundredBytes) {
    Animation doc;
    Gif* gif = AppendFrame(doc, 1, 1);
    struct Case {
        std::string name;
        std::string label;
    };
    // 94 bytes, then a two-byte "é" that would straddle the limit after "Gif :".
    const std::string longName(94, 'x');
    for (const Case& c : std::vector<Case>{{"/pics/a.gif", "Gif :a.gif"},
                                           {"Copy of /pics/a.gif", "Gif :Copy of a.gif"},
                                           {"C:\\dos\\b.gif", "Gif :b.gif"},
                                           {longName + "\xC3\xA9", "Gif :" + longName}}) {
        gif->name = c.name;
        EXPECT_EQ(FrameLabel(*gif), c.label) << c.name;
    }
    gif->name = "x";
    gif->label = "Gif: Banner 3";
    EXPECT_EQ(FrameLabel(*gif), "Gif: Banner 3");
}

}  // namespace
}  // namespace anitrope
