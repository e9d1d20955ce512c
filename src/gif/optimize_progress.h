#pragma once

#include <string>

namespace anitrope {

// Where the optimizer reports how far it got and learns whether the user gave up. The editor
// shows it as its "Optimizing Images ..." dialog; the command-line tool and tests pass their
// own or none.
class OptimizeProgress {
public:
    virtual ~OptimizeProgress() = default;
    virtual void SetText(const std::string& text) = 0;
    virtual void SetPercent(int percent) = 0;
    // Called between frames; an interactive implementation lets its interface run here.
    virtual bool Aborted() = 0;
    // The run completed. An aborted run leaves the report where it stopped.
    virtual void Close() = 0;
};

}  // namespace anitrope
