#pragma once

#include <functional>

namespace anitrope {

// Tells `busy` true for the length of a scope and false after it: the wait cursor of a long
// operation. An empty function is fine.
class BusyScope {
public:
    explicit BusyScope(const std::function<void(bool)>& busy) : busy_(busy) {
        if (busy_) busy_(true);
    }
    ~BusyScope() {
        if (busy_) busy_(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const std::function<void(bool)>& busy_;
};

}  // namespace anitrope
