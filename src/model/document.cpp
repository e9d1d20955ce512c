#include "model/document.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "model/reduction_workers.h"
#include "model/status_display.h"

namespace anitrope {
namespace {

std::size_t FrameBytes(const Gif& gif) {
    return ContentBytes(ContentOf(gif)) + gif.comments.Bytes() + sizeof(Gif);
}

// Frames entering or leaving the list as one run: an insertion (taken back by unlinking) or
// a removal (taken back by linking them again after the frame that was before them).
class LinkAction final : public EditAction {
public:
    LinkAction(Animation& animation, std::vector<Gif*> frames, Gif* after, bool insertion)
        : animation_(animation), frames_(std::move(frames)), after_(after),
          insertion_(insertion) {}

    void Undo(EditEffects& effects) override { insertion_ ? Unlink(effects) : Link(effects); }
    void Redo(EditEffects& effects) override { insertion_ ? Link(effects) : Unlink(effects); }

    std::size_t Bytes() const override {
        if (listed_) return 0;
        std::size_t bytes = 0;
        for (const Gif* gif : frames_) bytes += FrameBytes(*gif);
        return bytes;
    }

    void TakeOwnedFrames(std::vector<Gif*>& frames) override {
        if (listed_) return;
        frames.insert(frames.end(), frames_.begin(), frames_.end());
        frames_.clear();
    }

    void Link(EditEffects& effects) {
        Gif* prev = after_;
        Gif* const next = after_ ? after_->next : animation_.head;
        for (Gif* gif : frames_) {
            effects.Listed(gif, false);
            gif->prev = prev;
            (prev ? prev->next : animation_.head) = gif;
            gif->alive = 1;
            prev = gif;
        }
        if (prev) prev->next = next;
        if (next) {
            next->prev = prev;
            effects.linkChanged.push_back(next);
        }
        listed_ = true;
    }

    void Unlink(EditEffects& effects) {
        for (Gif* gif : frames_) {
            effects.Listed(gif, true);
            Gif* const before = gif->prev;
            Gif* const next = gif->next;
            (before ? before->next : animation_.head) = next;
            if (next) {
                next->prev = before;
                effects.linkChanged.push_back(next);
            }
            gif->prev = gif->next = nullptr;
            gif->alive = 0;
        }
        listed_ = false;
    }

private:
    Animation& animation_;
    std::vector<Gif*> frames_;  // in list order
    Gif* after_;
    bool insertion_;
    bool listed_ = false;
};

class ContentAction final : public EditAction {
public:
    ContentAction(Gif& gif, FrameContent other) : gif_(gif), other_(std::move(other)) {}
    void Undo(EditEffects& effects) override { Swap(effects); }
    void Redo(EditEffects& effects) override { Swap(effects); }
    std::size_t Bytes() const override { return ContentBytes(other_); }
    void Swap(EditEffects& effects) {
        SwapContent(gif_, other_);
        effects.Changed(&gif_, true);
    }

private:
    Gif& gif_;
    FrameContent other_;
};

class CommentAction final : public EditAction {
public:
    CommentAction(Animation& animation, Gif* frame, std::size_t at, std::string text, int number,
                  bool insertion)
        : animation_(animation), frame_(frame), at_(at), text_(std::move(text)), number_(number),
          insertion_(insertion) {}

    void Undo(EditEffects& effects) override { insertion_ ? Take(effects) : Put(effects); }
    void Redo(EditEffects& effects) override { insertion_ ? Put(effects) : Take(effects); }
    std::size_t Bytes() const override { return present_ ? 0 : text_.size(); }

    void Put(EditEffects& effects) {
        List().Insert(at_, std::move(text_), number_);
        text_.clear();
        present_ = true;
        Note(effects);
    }
    void Take(EditEffects& effects) {
        text_ = List().Erase(at_, &number_);
        present_ = false;
        Note(effects);
    }

private:
    CommentList& List() { return frame_ ? frame_->comments : animation_.globalComments; }
    void Note(EditEffects& effects) {
        effects.comments = true;
        if (frame_) {
            effects.Changed(frame_, false);
        } else {
            animation_.hasGlobalComments = animation_.globalComments.Empty() ? 0 : 1;
            effects.Global(false);
        }
    }

    Animation& animation_;
    Gif* frame_;
    std::size_t at_;
    std::string text_;
    int number_ = 0;
    bool insertion_;
    bool present_ = false;
};

int32_t Animation::*CounterOf(GroupKind kind) {
    switch (kind) {
        case GroupKind::Effect: return &Animation::effectGroups;
        case GroupKind::Transition: return &Animation::transitionGroups;
        case GroupKind::Banner: return &Animation::bannerGroups;
    }
    return &Animation::effectGroups;
}

template <typename T>
void SortUnique(std::vector<T>& items) {
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
}

}  // namespace

bool FieldShowsInPicture(int32_t Gif::*field) { return field != &Gif::delay; }

bool FieldShowsInPicture(int32_t Animation::*field) {
    return field == &Animation::screenWidth || field == &Animation::screenHeight ||
           field == &Animation::globalPalettePresent || field == &Animation::animationDisposal ||
           field == &Animation::useAnimationDisposal;
}

// --- Document --------------------------------------------------------------------------------

std::size_t Document::Step::Bytes() const {
    std::size_t bytes = 0;
    for (const auto& action : actions) bytes += action->Bytes();
    return bytes;
}

Document::Document() = default;

Document::~Document() {
    DropSteps(0, steps_.size());
    FreeFrames(ChainFrames(std::exchange(animation_.head, nullptr)));
}

void Document::Subscribe(DocumentObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Document::Unsubscribe(DocumentObserver* observer) {
    std::erase(observers_, observer);
}

void Document::Notify(const DocumentChange& change) {
    // A copy: an observer may subscribe or leave while it is told.
    const std::vector<DocumentObserver*> observers = observers_;
    for (DocumentObserver* observer : observers) observer->DocumentChanged(change);
}

void Document::FreeFrames(std::vector<Gif*> frames) {
    if (frames.empty()) return;
    for (DocumentObserver* observer : std::vector<DocumentObserver*>(observers_))
        observer->FramesFreed(frames);
    for (Gif* gif : frames) {
        if (workers_) workers_->Forget(*gif);
        DiscardGif(gif);
    }
}

void Document::DropSteps(std::size_t first, std::size_t count) {
    count = std::min(count, steps_.size() - std::min(first, steps_.size()));
    if (count == 0) return;
    std::vector<Gif*> frames;
    for (std::size_t i = first; i < first + count; ++i)
        for (auto& action : steps_[i]->actions) action->TakeOwnedFrames(frames);
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(first),
                 steps_.begin() + static_cast<std::ptrdiff_t>(first + count));
    FreeFrames(std::move(frames));
}

void Document::Reset(Animation& content) {
    ExclusiveDocumentLock lock(&lock_);
    DropSteps(0, steps_.size());
    position_ = 0;
    FreeFrames(ChainFrames(std::exchange(animation_.head, nullptr)));

    const uint64_t version = animation_.version;
    TakeAnimation(animation_, content);
    animation_.version = version;
    EditEffects effects;
    for (Gif* gif = animation_.head; gif; gif = gif->next) effects.Listed(gif, false);
    effects.Global(true);
    effects.comments = true;
    saved_ = 0;
    DocumentChange change = Finish(DocumentChange::Cause::Reset, {}, effects);
    StartReductions(change.inserted);
    Notify(change);
}

void Document::Clear() {
    Animation empty;
    CopyAnimationValues(empty, animation_);
    Reset(empty);
}

void Document::WaitForReduction(Gif& gif) {
    if (workers_ && AwaitsReduction(gif)) workers_->Wait(gif);
}

void Document::WaitForReductions() {
    if (workers_) workers_->WaitForAll();
}

void Document::FinishUpdate(Gif& gif) {
    gif.pictureStamp = ++animation_.version;
    DocumentChange change;
    change.cause = DocumentChange::Cause::Reduction;
    if (gif.alive) change.changed.push_back(&gif);
    change.pictures = gif.alive != 0;
    Notify(change);
}

void Document::StartReductions(const std::vector<Gif*>& candidates) {
    if (!workers_) return;
    int started = 0;
    for (Gif* gif : candidates)
        if (gif->alive && AwaitsReduction(*gif) && workers_->Start(*gif)) ++started;
    // Results are applied on this thread, so the announcement always comes first.
    if (started > 0 && status_) status_->ReportStatus(StatusWorkAnnounced, StatusReduction, started);
}

DocumentChange Document::Finish(DocumentChange::Cause cause, const std::string& name,
                                EditEffects& effects) {
    DocumentChange change;
    change.cause = cause;
    change.name = name;
    const uint64_t version = ++animation_.version;

    std::unordered_set<Gif*> inserted;
    if (!effects.wasListed.empty()) {
        // Groups that lost frames are counted from nothing: a group none of whose frames is
        // listed any more is reached from no listed frame.
        for (const auto& [gif, before] : effects.wasListed)
            for (FrameGroup* group = gif->group.get(); group; group = group->parent.get())
                group->first = group->last = nullptr, group->frames = 0;
        RecountGroups(animation_);
        for (const auto& [gif, before] : effects.wasListed) {
            if (!before && gif->alive) inserted.insert(gif);
            if (before && !gif->alive) change.removed.push_back(gif);
        }
        for (Gif* gif = animation_.head; gif; gif = gif->next) {
            if (!inserted.count(gif)) continue;
            change.inserted.push_back(gif);
            gif->pictureStamp = gif->linkStamp = version;
        }
    }
    for (Gif* gif : effects.pictureChanged)
        if (gif->alive) gif->pictureStamp = version;
    for (Gif* gif : effects.linkChanged)
        if (gif->alive) gif->linkStamp = version;
    if (effects.globalPictures) animation_.pictureStamp = version;

    SortUnique(effects.changed);
    for (Gif* gif : effects.changed)
        if (gif->alive && !inserted.count(gif)) change.changed.push_back(gif);
    change.globals = effects.globals;
    change.comments = effects.comments;
    change.pictures = change.Structure() || effects.globalPictures ||
                      std::any_of(effects.pictureChanged.begin(), effects.pictureChanged.end(),
                                  [](const Gif* gif) { return gif->alive != 0; });
    return change;
}

void Document::Commit(std::string name, std::string mergeKey,
                      std::vector<std::unique_ptr<EditAction>> actions, EditEffects& effects) {
    if (actions.empty()) return;
    if (saved_ && *saved_ > position_) saved_.reset();
    DropSteps(position_, steps_.size() - position_);
    const bool merge = !mergeKey.empty() && position_ > 0 && steps_.back()->mergeKey == mergeKey &&
                       !(saved_ && *saved_ == position_);
    if (merge) {
        for (auto& action : actions) steps_.back()->actions.push_back(std::move(action));
    } else {
        auto step = std::make_unique<Step>();
        step->name = std::move(name);
        step->mergeKey = std::move(mergeKey);
        step->actions = std::move(actions);
        steps_.push_back(std::move(step));
        position_ = steps_.size();
        TrimHistory();
    }

    Announce(Finish(DocumentChange::Cause::Edit, steps_.back()->name, effects), effects);
}

std::string Document::UndoName() const { return CanUndo() ? steps_[position_ - 1]->name : ""; }

std::string Document::RedoName() const { return CanRedo() ? steps_[position_]->name : ""; }

bool Document::Undo() {
    if (!CanUndo() || open_) return false;
    Replay(*steps_[--position_], DocumentChange::Cause::Undo);
    return true;
}

bool Document::Redo() {
    if (!CanRedo() || open_) return false;
    Replay(*steps_[position_++], DocumentChange::Cause::Redo);
    return true;
}

void Document::Replay(Step& step, DocumentChange::Cause cause) {
    ExclusiveDocumentLock lock(&lock_);
    EditEffects effects;
    if (cause == DocumentChange::Cause::Undo) {
        for (auto action = step.actions.rbegin(); action != step.actions.rend(); ++action)
            (*action)->Undo(effects);
    } else {
        for (auto& action : step.actions) action->Redo(effects);
    }
    Announce(Finish(cause, step.name, effects), effects);
}

void Document::Announce(const DocumentChange& change, const EditEffects& effects) {
    // Frames that came (back) awaiting a reduction, or were given new pixels, get one.
    std::vector<Gif*> candidates = change.inserted;
    candidates.insert(candidates.end(), effects.pictureChanged.begin(), effects.pictureChanged.end());
    StartReductions(candidates);
    Notify(change);
}

void Document::SetHistoryBound(std::size_t bytes) {
    historyBound_ = bytes;
    TrimHistory();
}

std::size_t Document::HistoryBytes() const {
    std::size_t bytes = 0;
    for (const auto& step : steps_) bytes += step->Bytes();
    return bytes;
}

void Document::TrimHistory() {
    // The newest done step stays: the last edit can always be taken back.
    std::size_t bytes = HistoryBytes();
    while (position_ > 1 && bytes > historyBound_) {
        bytes -= steps_.front()->Bytes();
        DropSteps(0, 1);
        --position_;
        if (saved_) saved_ = *saved_ == 0 ? std::nullopt : std::optional<std::size_t>(*saved_ - 1);
    }
}

bool Document::Modified() const {
    if (Empty()) return false;
    return !saved_ || *saved_ != position_;
}

// --- Transaction -----------------------------------------------------------------------------

Transaction::Transaction(Document& document, std::string name, std::string mergeKey)
    : document_(document), name_(std::move(name)), mergeKey_(std::move(mergeKey)),
      lock_(&document.lock_) {
    outer_ = document_.open_;
    if (!outer_) document_.open_ = this;
}

Transaction::~Transaction() {
    if (outer_) {
        // Part of the edit around it: one step for both.
        for (auto& action : actions_) outer_->actions_.push_back(std::move(action));
        outer_->effects_.Absorb(effects_);
        return;
    }
    document_.open_ = nullptr;
    document_.Commit(std::move(name_), std::move(mergeKey_), std::move(actions_), effects_);
    // Results that arrived meanwhile waited for the edit to end.
    if (document_.workers_) document_.workers_->ApplyFinished();
}

void Transaction::ReplaceContent(Gif& gif, FrameContent content) {
    SwapContent(gif, content);
    auto action = std::make_unique<ContentAction>(gif, std::move(content));
    effects_.Changed(&gif, true);
    actions_.push_back(std::move(action));
}

void Transaction::Insert(Gif* chain, const Place& place, std::shared_ptr<FrameGroup> newGroup) {
    if (!chain || (place.after && !place.after->alive)) return;
    Animation& animation = document_.animation_;
    std::shared_ptr<FrameGroup> group = place.group;
    if (newGroup) {
        int32_t Animation::*counter = CounterOf(newGroup->kind);
        newGroup->number = animation.*counter + 1;
        newGroup->parent = place.group;
        Set(counter, newGroup->number);
        group = std::move(newGroup);
    }
    std::vector<Gif*> frames = ChainFrames(chain);
    for (Gif* gif : frames) {
        gif->animation = &animation;
        gif->group = group;
        gif->alive = 0;
    }
    auto action = std::make_unique<LinkAction>(animation, std::move(frames), place.after, true);
    action->Link(effects_);
    actions_.push_back(std::move(action));
}

void Transaction::Remove(Gif& gif) {
    if (!gif.alive || gif.animation != &document_.animation_) return;
    auto action =
        std::make_unique<LinkAction>(document_.animation_, std::vector<Gif*>{&gif}, gif.prev, false);
    action->Unlink(effects_);
    actions_.push_back(std::move(action));
}

void Transaction::InsertComment(Gif* frame, std::size_t at, std::string text) {
    const CommentList& list = frame ? frame->comments : document_.animation_.globalComments;
    if (at > list.Size()) return;
    const int number = list.NextNumber();
    auto action = std::make_unique<CommentAction>(document_.animation_, frame, at, std::move(text),
                                                  number, true);
    action->Put(effects_);
    actions_.push_back(std::move(action));
}

void Transaction::RemoveComment(Gif* frame, std::size_t at) {
    const CommentList& list = frame ? frame->comments : document_.animation_.globalComments;
    if (at >= list.Size()) return;
    auto action = std::make_unique<CommentAction>(document_.animation_, frame, at, std::string(),
                                                  0, false);
    action->Take(effects_);
    actions_.push_back(std::move(action));
}

void Transaction::ReplaceComment(Gif* frame, std::size_t at, std::string text) {
    const CommentList& list = frame ? frame->comments : document_.animation_.globalComments;
    if (at >= list.Size() || list.At(at) == text) return;
    const int number = list.Number(at);
    RemoveComment(frame, at);
    auto action = std::make_unique<CommentAction>(document_.animation_, frame, at, std::move(text),
                                                  number, true);
    action->Put(effects_);
    actions_.push_back(std::move(action));
}

}  // namespace anitrope
