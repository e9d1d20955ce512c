#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/animation.h"
#include "model/document_change.h"
#include "model/document_lock.h"
#include "model/edit_action.h"
#include "model/frame_content.h"

namespace anitrope {

class ReductionWorkers;
class StatusDisplay;
class Transaction;

// The undo history keeps at most this many bytes of pictures by default ("Undo Memory").
inline constexpr std::size_t kDefaultHistoryBytes = std::size_t{256} << 20;

// Where new frames go: after `after` (at the head of the list when null), inside `group`
// (at the top when null). PlaceAfterItem (outline.h) gives the place a tree selection means.
struct Place {
    Gif* after = nullptr;
    std::shared_ptr<FrameGroup> group;
};

// The editor's document: an Animation that changes only through Transactions, each one a
// step of the undo history, with version stamps raised and observers told after every
// change. Frames that leave the list stay alive in the history until their step is dropped.
//
// Pending frames (true colour awaiting reduction) that a change brings in are handed to the
// reduction workers, and their results come back through Update. Background readers of the
// frames (compositions) hold Lock() shared; every change holds it exclusively.
//
// Everything here runs on the thread that owns the document.
class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const Animation& Data() const { return animation_; }
    bool Empty() const { return animation_.head == nullptr; }
    // A transaction is open.
    bool Editing() const { return open_ != nullptr; }

    void Subscribe(DocumentObserver* observer);
    void Unsubscribe(DocumentObserver* observer);

    // Where reductions run and progress shows; either may be null. The workers must be
    // detached (null) before they are destroyed.
    void SetWorkers(ReductionWorkers* workers) { workers_ = workers; }
    ReductionWorkers* Workers() const { return workers_; }
    void SetStatus(StatusDisplay* status) { status_ = status; }
    StatusDisplay* Status() const { return status_; }
    DocumentLock& Lock() { return lock_; }

    // A new frame for this document with the defaults of one following `after` (its delay
    // and palette flag), or of a first frame; linked to nothing until an edit inserts it.
    Gif* CreateFrame(Gif* after) { return CreateGif(animation_, after, nullptr); }

    // Replaces frames and animation-wide values by those of `content` (which is left empty)
    // and forgets the history: opening into the empty editor. The result counts as saved.
    void Reset(Animation& content);
    // Frees every frame, the global comments and the group counts, and forgets the history;
    // the other animation-wide values stay.
    void Clear();

    // A change that is nobody's edit: the frame's reduction arrived. Stamps and observers as
    // for an edit, but no history and no modification.
    template <typename Change>
    void Update(Gif& gif, Change&& change) {
        ExclusiveDocumentLock lock(&lock_);
        std::forward<Change>(change)(gif);
        FinishUpdate(gif);
    }

    // Returns once the frame's reduction (or every one) ended and its result is in.
    void WaitForReduction(Gif& gif);
    void WaitForReductions();

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < steps_.size(); }
    // The name of the edit Undo or Redo would take back or make again; empty when none.
    std::string UndoName() const;
    std::string RedoName() const;
    bool Undo();
    bool Redo();
    std::size_t UndoSteps() const { return position_; }
    std::size_t RedoSteps() const { return steps_.size() - position_; }

    // The bound on the bytes of pictures the history keeps: the oldest steps go first, the
    // newest stays whatever its size.
    void SetHistoryBound(std::size_t bytes);
    std::size_t HistoryBytes() const;

    // Modified while the history is elsewhere than where the document was last saved (or
    // opened); an empty document never is.
    bool Modified() const;
    void MarkSaved() { saved_ = position_; }
    // Nothing saved shows this document yet (a picture opened into the empty editor).
    void MarkNeverSaved() { saved_.reset(); }

private:
    friend class Transaction;
    struct Step {
        std::string name;
        std::string mergeKey;
        std::vector<std::unique_ptr<EditAction>> actions;
        std::size_t Bytes() const;
    };

    void Commit(std::string name, std::string mergeKey,
                std::vector<std::unique_ptr<EditAction>> actions, EditEffects& effects);
    DocumentChange Finish(DocumentChange::Cause cause, const std::string& name,
                          EditEffects& effects);
    void FinishUpdate(Gif& gif);
    void Replay(Step& step, DocumentChange::Cause cause);
    // Starts the reductions a change calls for, then tells the observers.
    void Announce(const DocumentChange& change, const EditEffects& effects);
    void StartReductions(const std::vector<Gif*>& candidates);
    void Notify(const DocumentChange& change);
    void TrimHistory();
    // Drops steps [first, first + count), freeing the frames only they keep.
    void DropSteps(std::size_t first, std::size_t count);
    void FreeFrames(std::vector<Gif*> frames);

    Animation animation_;
    DocumentLock lock_;
    std::vector<DocumentObserver*> observers_;
    ReductionWorkers* workers_ = nullptr;
    StatusDisplay* status_ = nullptr;
    Transaction* open_ = nullptr;  // the transaction being built

    std::vector<std::unique_ptr<Step>> steps_;  // oldest first
    std::size_t position_ = 0;                  // steps done; the rest can be redone
    std::optional<std::size_t> saved_ = 0;      // the position last saved, if still reachable
    std::size_t historyBound_ = kDefaultHistoryBytes;
};

// Which frame fields and animation-wide values a display picture shows.
bool FieldShowsInPicture(int32_t Gif::*field);
bool FieldShowsInPicture(int32_t Animation::*field);
template <typename T, typename Owner>
bool FieldShowsInPicture(T Owner::*) {
    // Palettes, the background index, the disposal: shown. Names, labels and the file's
    // flags (interlace, loop extension) are not.
    return std::is_same_v<T, Palette> || std::is_same_v<T, uint8_t> ||
           (std::is_same_v<T, uint32_t> && std::is_same_v<Owner, Gif>);
}

// One edit: opened on a document, it holds the document's lock, applies each change at once
// and records how to take it back; when it ends the changes become one step of the undo
// history named `name`, stamps are raised and observers told. An edit that changed nothing
// leaves no step and tells nobody. An edit opened while another is open becomes part of it.
// No dialog runs while one is open.
class Transaction {
public:
    // Edits with the same non-empty `mergeKey` that follow one another join the step before
    // (a number typed digit by digit is one change), unless the document was saved between.
    Transaction(Document& document, std::string name, std::string mergeKey = {});
    ~Transaction();  // commits
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Sets a field of a frame in the list. Palette and transparency of a frame awaiting its
    // reduction are set once the reduction is in, which would overwrite them otherwise.
    template <typename T>
    void Set(Gif& gif, T Gif::*field, T value) {
        if (gif.*field == value) return;
        if (IsPaletteField(field)) document_.WaitForReduction(gif);
        auto action = std::make_unique<FieldAction<T, Gif>>(gif, field, std::move(value),
                                                            FieldShowsInPicture(field));
        action->Redo(effects_);
        actions_.push_back(std::move(action));
    }
    // Sets an animation-wide value.
    template <typename T>
    void Set(T Animation::*field, T value) {
        Animation& animation = document_.animation_;
        if (animation.*field == value) return;
        auto action = std::make_unique<FieldAction<T, Animation>>(
            animation, field, std::move(value), FieldShowsInPicture(field));
        action->Redo(effects_);
        actions_.push_back(std::move(action));
    }

    // Gives the frame other pixels, geometry, palette and transparency.
    void ReplaceContent(Gif& gif, FrameContent content);

    // Links the chain from `chain` (linked through next, owned by the caller until now) into
    // the list at `place`. Its frames join the place's group, or `newGroup` made inside it,
    // which gets the next number of its kind.
    void Insert(Gif* chain, const Place& place, std::shared_ptr<FrameGroup> newGroup = nullptr);
    // Takes the frame out of the list; the history keeps it.
    void Remove(Gif& gif);
    // Comments of a frame, or the global ones when `frame` is null.
    void InsertComment(Gif* frame, std::size_t at, std::string text);
    void RemoveComment(Gif* frame, std::size_t at);
    // Gives the comment at `at` another text; it keeps its place and number. The same text
    // changes nothing.
    void ReplaceComment(Gif* frame, std::size_t at, std::string text);

    Document& Target() { return document_; }
    bool Changed() const { return !actions_.empty(); }

private:
    template <typename T>
    static bool IsPaletteField(T Gif::*field) {
        if constexpr (std::is_same_v<T, Palette>) {
            return true;
        } else if constexpr (std::is_same_v<T, int32_t>) {
            return field == &Gif::usesLocalPalette || field == &Gif::transparent ||
                   field == &Gif::transparentIndex || field == &Gif::hasTransparentPixels;
        } else {
            return false;
        }
    }

    Document& document_;
    std::string name_;
    std::string mergeKey_;
    ExclusiveDocumentLock lock_;
    Transaction* outer_ = nullptr;  // an edit this one is part of
    std::vector<std::unique_ptr<EditAction>> actions_;
    EditEffects effects_;
};

}  // namespace anitrope
