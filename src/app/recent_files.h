#pragma once

#include <array>
#include <string>

#include "app/settings.h"

namespace anitrope {

// The five most recently opened or saved animations, newest first; paths compare without
// regard to case.
class RecentFiles {
public:
    explicit RecentFiles(std::array<std::string, kRecentFileSlots>& entries) : slots_(&entries) {}

    // P moves to (or enters at) slot 0; the others move down, the fifth drops out.
    void Add(const std::string& path);
    // A slot that failed to open: the entries after it move up and the last slot empties.
    void Remove(int slot);

    int Count() const;
    const std::string& At(int slot) const { return (*slots_)[static_cast<std::size_t>(slot)]; }
    // "&%d %s\tAlt+%d" for slot k (numbered from 1).
    static std::string MenuText(int slot, const std::string& path);

private:
    std::array<std::string, kRecentFileSlots>* slots_;
};

}  // namespace anitrope
