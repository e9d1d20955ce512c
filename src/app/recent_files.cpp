#include "app/recent_files.h"

#include <algorithm>
#include <cctype>

namespace anitrope {
namespace {

bool SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

void RecentFiles::Add(const std::string& path) {
    if (path.empty()) return;
    auto found = std::find_if(slots_->begin(), slots_->end(),
                              [&](const std::string& slot) { return SamePath(slot, path); });
    if (found == slots_->begin()) return;
    // Found: the ones before it move down over it; new: everything moves down one.
    auto end = found == slots_->end() ? slots_->end() - 1 : found;
    std::move_backward(slots_->begin(), end, end + 1);
    slots_->front() = path;
}

void RecentFiles::Remove(int slot) {
    if (slot < 0 || slot >= kRecentFileSlots) return;
    auto at = slots_->begin() + slot;
    std::move(at + 1, slots_->end(), at);
    slots_->back().clear();
}

int RecentFiles::Count() const {
    return static_cast<int>(std::count_if(slots_->begin(), slots_->end(),
                                          [](const std::string& s) { return !s.empty(); }));
}

std::string RecentFiles::MenuText(int slot, const std::string& path) {
    const std::string n = std::to_string(slot + 1);
    return "&" + n + " " + path + "\tAlt+" + n;
}

}  // namespace anitrope
