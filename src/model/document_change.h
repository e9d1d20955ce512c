#pragma once

#include <span>
#include <string>
#include <vector>

namespace anitrope {

struct Gif;

// What one change of a document did, as its observers hear of it.
struct DocumentChange {
    enum class Cause {
        Edit,       // a user's edit, now on the undo history
        Undo,
        Redo,
        Reduction,  // a frame's colour reduction arrived: not an edit, never undone
        Reset,      // the whole document was replaced (opened, closed)
    };
    Cause cause = Cause::Edit;
    std::string name;            // the edit's name ("Delete", "Delay Change")
    std::vector<Gif*> inserted;  // frames that entered the list, in list order
    std::vector<Gif*> removed;   // frames that left it; the history keeps them
    std::vector<Gif*> changed;   // frames in the list whose values changed
    bool globals = false;        // animation-wide values changed
    bool comments = false;       // frame or global comments were added or removed
    bool pictures = false;       // something a display picture shows changed

    bool Structure() const { return !inserted.empty() || !removed.empty(); }
};

// Told about every change of a document, on the thread that owns it.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // After the change, with the document consistent again.
    virtual void DocumentChanged(const DocumentChange& change) = 0;
    // Before frames that left the document for good (dropped from the history, or replaced
    // by a reset) are freed; nothing may keep them after this.
    virtual void FramesFreed(std::span<Gif* const> frames) { (void)frames; }
};

}  // namespace anitrope
