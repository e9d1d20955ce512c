#pragma once

// The pieces of an undo step. Only Document and Transaction use them.

#include <cstddef>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/animation.h"

namespace anitrope {

// What applying actions did, gathered for the stamps and the observers.
struct EditEffects {
    // Frames whose place in the list changed, with whether each was in it before.
    std::unordered_map<Gif*, bool> wasListed;
    std::vector<Gif*> changed;         // values changed
    std::vector<Gif*> pictureChanged;  // what it draws changed
    std::vector<Gif*> linkChanged;     // the frame before it changed
    bool globals = false;
    bool globalPictures = false;
    bool comments = false;

    void Listed(Gif* gif, bool before) { wasListed.try_emplace(gif, before); }
    void Changed(Gif* gif, bool picture) {
        changed.push_back(gif);
        if (picture) pictureChanged.push_back(gif);
    }
    void Global(bool picture) {
        globals = true;
        globalPictures = globalPictures || picture;
    }
    // Adds what a nested edit did.
    void Absorb(const EditEffects& inner) {
        for (const auto& [gif, before] : inner.wasListed) Listed(gif, before);
        changed.insert(changed.end(), inner.changed.begin(), inner.changed.end());
        pictureChanged.insert(pictureChanged.end(), inner.pictureChanged.begin(),
                              inner.pictureChanged.end());
        linkChanged.insert(linkChanged.end(), inner.linkChanged.begin(), inner.linkChanged.end());
        globals = globals || inner.globals;
        globalPictures = globalPictures || inner.globalPictures;
        comments = comments || inner.comments;
    }
};

// One change inside an undo step, already applied when it is recorded. Undo takes it back,
// Redo makes it again; both report what they did.
class EditAction {
public:
    virtual ~EditAction() = default;
    virtual void Undo(EditEffects& effects) = 0;
    virtual void Redo(EditEffects& effects) = 0;
    // Bytes of pictures and texts this action keeps that the document does not hold now.
    virtual std::size_t Bytes() const = 0;
    // Frames this action owns while they are out of the list; they go with the action.
    virtual void TakeOwnedFrames(std::vector<Gif*>& frames) { (void)frames; }
};

// A field of a frame or of the animation: holds the value it does not have now.
template <typename T, typename Owner>
class FieldAction final : public EditAction {
public:
    FieldAction(Owner& owner, T Owner::*field, T other, bool picture)
        : owner_(owner), field_(field), other_(std::move(other)), picture_(picture) {}

    void Undo(EditEffects& effects) override { Swap(effects); }
    void Redo(EditEffects& effects) override { Swap(effects); }
    std::size_t Bytes() const override { return sizeof(T); }

    // Notes the change, as when first applied.
    void Note(EditEffects& effects) {
        if constexpr (std::is_same_v<Owner, Gif>) {
            effects.Changed(&owner_, picture_);
        } else {
            effects.Global(picture_);
        }
    }

private:
    void Swap(EditEffects& effects) {
        std::swap(owner_.*field_, other_);
        Note(effects);
    }

    Owner& owner_;
    T Owner::*field_;
    T other_;
    bool picture_;
};

}  // namespace anitrope
