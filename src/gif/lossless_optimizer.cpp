#include "gif/lossless_optimizer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "gif/byte_sink.h"
#include "gif/lzw_encoder.h"
#include "gif/optimize_progress.h"
#include "gif/screen_walk.h"
#include "model/animation.h"
#include "model/frame_composition.h"
#include "model/gif.h"
#include "model/indexed_bitmap.h"
#include "model/screen_image.h"

namespace anitrope {
namespace {

// A pixel of a planned frame: its class in the top byte, its colour below.
constexpr uint32_t kChanged = 0;        // must be drawn in its colour
constexpr uint32_t kKept = 1u << 24;    // shows its colour already: drawn or transparent
constexpr uint32_t kHole = 2u << 24;    // nothing beneath and nothing to draw: transparent
constexpr uint32_t kClassMask = 0xFF000000;
constexpr uint32_t kRgbMask = 0x00FFFFFF;
constexpr int kMaxCode = 4096;

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int64_t changed = 0;  // pixels inside that differ
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    int64_t Area() const { return Empty() ? 0 : int64_t{right - left} * (bottom - top); }
};

// Where two screens of one size differ; empty when they are the same.
Rect ChangedRect(const ScreenImage& canvas, const ScreenImage& shown) {
    Rect r{shown.Width(), shown.Height(), 0, 0, 0};
    for (int32_t y = 0; y < shown.Height(); ++y) {
        const uint32_t* a = canvas.Row(y);
        const uint32_t* b = shown.Row(y);
        int32_t x0 = 0;
        while (x0 < shown.Width() && a[x0] == b[x0]) ++x0;
        if (x0 == shown.Width()) continue;
        int32_t x1 = shown.Width() - 1;
        while (a[x1] == b[x1]) --x1;
        for (int32_t x = x0; x <= x1; ++x) r.changed += a[x] != b[x];
        r.left = std::min(r.left, x0);
        r.right = std::max(r.right, x1 + 1);
        r.top = std::min(r.top, y);
        r.bottom = y + 1;
    }
    return r.right <= r.left ? Rect{} : r;
}

Rect Union(const Rect& a, const Rect& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom), 0};
}

// Where a screen shows nothing beneath.
Rect HoleRect(const ScreenImage& shown) {
    Rect r{shown.Width(), shown.Height(), 0, 0, 0};
    for (int32_t y = 0; y < shown.Height(); ++y) {
        const uint32_t* row = shown.Row(y);
        for (int32_t x = 0; x < shown.Width(); ++x) {
            if (row[x] != kNothingBeneathPixel) continue;
            r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), y + 1, 0};
        }
    }
    return r.right <= r.left ? Rect{} : r;
}

// Where a screen differs from one colour.
Rect RectNotOf(const ScreenImage& shown, uint32_t rgb) {
    ScreenImage plain(shown.Width(), shown.Height(), rgb);
    return ChangedRect(plain, shown);
}

void FillRect(ScreenImage& screen, const Rect& r, uint32_t rgb) {
    for (int32_t y = r.top; y < r.bottom; ++y) std::fill(screen.Row(y) + r.left, screen.Row(y) + r.right, rgb);
}

// Whether drawing on `canvas` can show `shown`: a frame never makes a hole, only leaves one.
bool CanShow(const ScreenImage& canvas, const ScreenImage& shown) {
    for (int32_t y = 0; y < shown.Height(); ++y) {
        const uint32_t* a = canvas.Row(y);
        const uint32_t* b = shown.Row(y);
        for (int32_t x = 0; x < shown.Width(); ++x)
            if (b[x] == kNothingBeneathPixel && a[x] != kNothingBeneathPixel) return false;
    }
    return true;
}

bool HasHole(const ScreenImage& screen, const Rect& r) {
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const uint32_t* row = screen.Row(y);
        if (std::find(row + r.left, row + r.right, kNothingBeneathPixel) != row + r.right) return true;
    }
    return false;
}

// One frame as it will be written, before its colours have indices.
struct FramePlan {
    Gif* frame = nullptr;
    Rect rect;
    std::vector<uint32_t> pixels;  // class | rgb, row by row
    uint32_t disposal = DisposalDoNotDispose;
    std::vector<uint32_t> colors;  // of its changed pixels, each once
    bool needsTransparency = false;
};

FramePlan PlanFrame(Gif& frame, const ScreenImage& canvas, const ScreenImage& shown, Rect rect) {
    FramePlan plan;
    plan.frame = &frame;
    if (rect.Empty()) rect = {0, 0, 1, 1};  // nothing changes, but the frame keeps its delay
    plan.rect = rect;
    plan.pixels.reserve(static_cast<std::size_t>(rect.Area()));
    std::unordered_map<uint32_t, bool> seen;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const uint32_t* before = canvas.Row(y);
        const uint32_t* after = shown.Row(y);
        for (int32_t x = rect.left; x < rect.right; ++x) {
            uint32_t pixel;
            if (after[x] == kNothingBeneathPixel) {
                pixel = kHole;
            } else if (before[x] == after[x]) {
                pixel = kKept | after[x];
            } else {
                pixel = kChanged | after[x];
                if (seen.emplace(after[x], true).second) plan.colors.push_back(after[x]);
            }
            if (pixel >> 24) plan.needsTransparency = true;
            plan.pixels.push_back(pixel);
        }
    }
    return plan;
}

// The colour-table bits for `entries` colours; LZW codes start at 2 bits whatever the table.
int BitsFor(std::size_t entries) {
    int bits = 1;
    while ((std::size_t{1} << bits) < entries) ++bits;
    return bits;
}

// A palette being filled: colours and the transparent slot, in the order given.
struct Table {
    std::vector<uint32_t> colors;
    std::unordered_map<uint32_t, int> index;
    int transparent = -1;

    int Add(uint32_t rgb) {
        auto [at, added] = index.emplace(rgb, static_cast<int>(colors.size()) + (transparent >= 0 && transparent <= static_cast<int>(colors.size()) ? 1 : 0));
        if (added) colors.push_back(rgb);
        return at->second;
    }
    std::size_t Entries() const { return colors.size() + (transparent >= 0 ? 1 : 0); }
    std::optional<int> Find(uint32_t rgb) const {
        auto at = index.find(rgb);
        if (at == index.end()) return std::nullopt;
        return at->second;
    }
    Palette ToPalette() const {
        Palette p = EmptyPalette();
        for (const auto& [rgb, i] : index)
            p[static_cast<std::size_t>(i)] = {static_cast<int32_t>(rgb >> 16 & 0xFF),
                                             static_cast<int32_t>(rgb >> 8 & 0xFF),
                                             static_cast<int32_t>(rgb & 0xFF)};
        if (transparent >= 0) p[static_cast<std::size_t>(transparent)] = {0, 0, 0};
        return p;
    }
};

// Colours by how many pixels ask for them, the transparent slot among them; ties keep the
// order of first use, so the result does not depend on hashing.
Table OrderedTable(const std::vector<std::pair<uint32_t, int64_t>>& uses, int64_t transparentUses,
                   bool withTransparency) {
    std::vector<std::pair<int64_t, std::size_t>> order;  // uses, position; position uses.size() is T
    for (std::size_t i = 0; i < uses.size(); ++i) order.emplace_back(uses[i].second, i);
    if (withTransparency) order.emplace_back(transparentUses, uses.size());
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    Table table;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (order[k].second == uses.size()) {
            table.transparent = static_cast<int>(k);
        } else {
            table.index.emplace(uses[order[k].second].first, static_cast<int>(k));
            table.colors.push_back(uses[order[k].second].first);
        }
    }
    return table;
}

// Decides, for every pixel that may take either of two indices, the one that lets the LZW
// strings grow longest: each string is the longest the table holds for the pixels ahead, over
// both choices of every pixel in it (a bounded breadth-first search of the table). The table
// is kept as the encoder keeps it (codes, growth, the clear at 4096), so that the encoder then
// finds exactly the strings chosen here.
class ChoiceCoder {
public:
    ChoiceCoder() : child_(std::size_t{kMaxCode} * 256), key_(kMaxCode), stamp_(kMaxCode) {}

    void Resolve(const std::vector<uint8_t>& primary, const std::vector<uint8_t>& alternative,
                 int bits, std::vector<uint8_t>& out) {
        primary_ = &primary;
        alternative_ = &alternative;
        const std::size_t n = primary.size();
        out.resize(n);
        if (n == 0) return;
        const int clear = 1 << bits;
        int next = clear + 2;
        NewTable();
        std::size_t at = 0;
        uint8_t start = Start(0, primary[0]);
        for (;;) {
            const int code = Longest(at, start, &out);
            at = end_ + 1;
            if (at >= n) break;
            const uint8_t following = Start(at, out[end_]);
            Add(code, following, next);
            if (next == kMaxCode) {
                NewTable();
                next = clear + 2;
            } else {
                ++next;
            }
            start = following;
        }
    }

private:
    struct Node {
        int code;
        std::size_t pos;  // the last pixel the string covers
        int parent;
        uint8_t value;
    };
    static constexpr std::size_t kSearchNodes = 192;

    // The first value of the string at `at`: the one whose string reaches further, else the
    // one continuing the run before it, else the transparent one, whose runs code shortest.
    uint8_t Start(std::size_t at, uint8_t before) {
        const uint8_t a = (*primary_)[at], b = (*alternative_)[at];
        if (a == b) return a;
        Longest(at, a, nullptr);
        const std::size_t viaA = end_;
        Longest(at, b, nullptr);
        const std::size_t viaB = end_;
        if (viaA != viaB) return viaA > viaB ? a : b;
        return a == before ? a : b;
    }

    // The longest string in the table from `at` starting with `first`: its code, its last pixel
    // in end_, and its values written to `out` when given.
    int Longest(std::size_t at, uint8_t first, std::vector<uint8_t>* out) {
        const std::vector<uint8_t>& primary = *primary_;
        const std::vector<uint8_t>& alternative = *alternative_;
        const std::size_t n = primary.size();
        nodes_.clear();
        nodes_.push_back({first, at, -1, first});
        std::size_t best = 0;
        for (std::size_t k = 0; k < nodes_.size() && nodes_.size() < kSearchNodes; ++k) {
            const Node node = nodes_[k];
            const std::size_t p = node.pos + 1;
            if (p >= n) continue;
            for (uint8_t value : {alternative[p], primary[p]}) {
                const int child = Child(node.code, value);
                if (child >= 0) {
                    nodes_.push_back({child, p, static_cast<int>(k), value});
                    if (p > nodes_[best].pos) best = nodes_.size() - 1;
                }
                if (alternative[p] == primary[p]) break;
            }
        }
        // Past the search's bound, go on as the encoder would, so that it stops where we do.
        while (nodes_[best].pos + 1 < n) {
            const Node& node = nodes_[best];
            const std::size_t p = node.pos + 1;
            int child = Child(node.code, primary[p]);
            uint8_t value = primary[p];
            if (child < 0 && alternative[p] != primary[p]) {
                child = Child(node.code, alternative[p]);
                value = alternative[p];
            }
            if (child < 0) break;
            nodes_.push_back({child, p, static_cast<int>(best), value});
            best = nodes_.size() - 1;
        }
        end_ = nodes_[best].pos;
        if (out) {
            for (int k = static_cast<int>(best); k >= 0; k = nodes_[static_cast<std::size_t>(k)].parent)
                (*out)[nodes_[static_cast<std::size_t>(k)].pos] = nodes_[static_cast<std::size_t>(k)].value;
        }
        return nodes_[best].code;
    }

    void NewTable() { ++generation_; }
    int Child(int prefix, uint8_t value) const {
        const int code = child_[static_cast<std::size_t>(prefix) * 256 + value];
        if (code == 0 || stamp_[static_cast<std::size_t>(code)] != generation_) return -1;
        return key_[static_cast<std::size_t>(code)] == (static_cast<uint32_t>(prefix) << 8 | value) ? code : -1;
    }
    void Add(int prefix, uint8_t value, int code) {
        if (code >= kMaxCode) return;  // the table is full: the encoder starts over instead
        child_[static_cast<std::size_t>(prefix) * 256 + value] = static_cast<uint16_t>(code);
        key_[static_cast<std::size_t>(code)] = static_cast<uint32_t>(prefix) << 8 | value;
        stamp_[static_cast<std::size_t>(code)] = generation_;
    }

    std::vector<uint16_t> child_;
    std::vector<uint32_t> key_;
    std::vector<uint64_t> stamp_;
    uint64_t generation_ = 0;
    std::vector<Node> nodes_;
    std::size_t end_ = 0;
    const std::vector<uint8_t>* primary_ = nullptr;
    const std::vector<uint8_t>* alternative_ = nullptr;
};

// The choices that change value least often along the rows (fewest runs), found exactly by
// a pass over the pixels keeping the best history ending in each of a pixel's two values; ties
// go to the alternative (transparent) value, whose runs reach furthest.
void FewestRuns(const std::vector<uint8_t>& primary, const std::vector<uint8_t>& alternative,
                std::vector<uint8_t>& out) {
    const std::size_t n = primary.size();
    out.resize(n);
    if (n == 0) return;
    // from[i] bit k: pixel i took value k (0 alternative, 1 primary) after pixel i-1 took bit.
    std::vector<uint8_t> from(n);
    std::array<uint64_t, 2> cost{0, primary[0] == alternative[0] ? UINT64_MAX / 2 : 0};
    for (std::size_t i = 1; i < n; ++i) {
        const std::array<uint8_t, 2> now{alternative[i], primary[i]};
        const std::array<uint8_t, 2> was{alternative[i - 1], primary[i - 1]};
        std::array<uint64_t, 2> next{};
        uint8_t links = 0;
        for (int k = 0; k < 2; ++k) {
            if (k == 1 && now[1] == now[0]) {
                next[1] = UINT64_MAX / 2;
                continue;
            }
            const uint64_t viaAlt = cost[0] + (was[0] != now[k] ? 1 : 0);
            const uint64_t viaPrim = cost[1] + (was[1] != now[k] ? 1 : 0);
            next[static_cast<std::size_t>(k)] = std::min(viaAlt, viaPrim);
            if (viaPrim < viaAlt) links |= static_cast<uint8_t>(1u << k);
        }
        from[i] = links;
        cost = next;
    }
    int k = cost[1] < cost[0] ? 1 : 0;
    for (std::size_t i = n; i-- > 0;) {
        out[i] = k ? primary[i] : alternative[i];
        if (i > 0) k = (from[i] >> k) & 1;
    }
}

// The coded size of indices laid out as a w x h picture, LZW code size `bits`.
std::size_t CodedSize(LzwEncoder& encoder, const std::vector<uint8_t>& indices, int32_t w, int32_t h,
                      int bits) {
    IndexedBitmap bitmap(nullptr, w, h);
    if (!bitmap.HasRows()) return SIZE_MAX;
    for (int32_t y = 0; y < h; ++y)
        std::copy_n(indices.begin() + int64_t{y} * w, w, bitmap.Row(y));
    ByteSink sink;
    encoder.Encode(bitmap, w, h, bits, sink);
    return sink.Data().size();
}

struct Coded {
    std::vector<uint8_t> indices;
    int bits = 2;
    std::size_t size = SIZE_MAX;
    bool transparent = false;
};

// The frame's pixels on `table`: the smallest of every kept pixel transparent, every kept
// pixel drawn, and the choice made while coding. Null when the table lacks a colour the frame
// must draw, or the transparency it needs.
std::optional<Coded> CodeOn(const FramePlan& plan, const Table& table, int bits, LzwEncoder& encoder,
                            ChoiceCoder& chooser, bool quick) {
    const std::size_t n = plan.pixels.size();
    std::vector<uint8_t> primary(n), alternative(n);
    const int t = table.transparent;
    int highest = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const uint32_t pixel = plan.pixels[i];
        const uint32_t kind = pixel & kClassMask;
        std::optional<int> index = kind == kHole ? std::nullopt : table.Find(pixel & kRgbMask);
        if (kind == kChanged && !index) return std::nullopt;
        if (!index && t < 0) return std::nullopt;
        const int drawn = index ? *index : t;
        const int other = (kind == kChanged || t < 0) ? drawn : t;
        primary[i] = static_cast<uint8_t>(drawn);
        alternative[i] = static_cast<uint8_t>(other);
        highest = std::max({highest, drawn, other});
    }
    if (bits == 0) bits = BitsFor(static_cast<std::size_t>(highest) + 1);
    const int codeBits = std::max(2, bits);
    const int32_t w = plan.rect.right - plan.rect.left, h = plan.rect.bottom - plan.rect.top;
    // Quick: the form that usually wins, to compare plans by.
    std::vector<std::vector<uint8_t>> candidates(quick ? 1 : 4);
    FewestRuns(primary, alternative, candidates[0]);
    if (!quick) {
        candidates[1] = primary;
        candidates[2] = alternative;
        chooser.Resolve(primary, alternative, codeBits, candidates[3]);
    }
    Coded best;
    best.bits = bits;
    for (std::vector<uint8_t>& indices : candidates) {
        const std::size_t size = CodedSize(encoder, indices, w, h, codeBits);
        if (size < best.size) {
            best.size = size;
            best.indices = std::move(indices);
        }
    }
    best.transparent = t >= 0 && std::find(best.indices.begin(), best.indices.end(),
                                           static_cast<uint8_t>(t)) != best.indices.end();
    return best;
}

bool Aborted(OptimizeProgress* progress) { return progress && progress->Aborted(); }

void Report(OptimizeProgress* progress, std::size_t done, std::size_t total) {
    if (progress && total > 0) progress->SetPercent(static_cast<int>(100 * done / total));
}

struct Plan {
    std::vector<FramePlan> frames;
    bool backgroundNeeded = false;
};

// A frame's own rectangle, as much of it as lies on the screen.
Rect Clip(const Gif& frame, const Rect& screen) {
    Rect r{std::max(frame.left, screen.left), std::max(frame.top, screen.top),
           static_cast<int32_t>(std::min<int64_t>(int64_t{frame.left} + frame.width, screen.right)),
           static_cast<int32_t>(std::min<int64_t>(int64_t{frame.top} + frame.height, screen.bottom)), 0};
    return r.Empty() ? Rect{} : r;
}

struct Choice {
    Coded coded;
    bool local = false;
    Table table;
};

struct Coding {
    Table global;
    std::vector<Choice> choices;
    std::size_t bytes = 0;  // tables and image data
};

// The colours the frames draw, each with how many pixels draw it, in order of first use.
class ColorUses {
public:
    void Count(const FramePlan& plan) {
        for (uint32_t pixel : plan.pixels) {
            if ((pixel & kClassMask) != kChanged) {
                ++transparentUses_;
                continue;
            }
            Use(pixel & kRgbMask, 1);
        }
        transparency_ = transparency_ || plan.needsTransparency;
    }
    void Use(uint32_t rgb, int64_t count) {
        auto [at, added] = position_.emplace(rgb, uses_.size());
        if (added) uses_.emplace_back(rgb, 0);
        uses_[at->second].second += count;
    }
    std::size_t Entries() const { return uses_.size() + (transparency_ ? 1 : 0); }
    Table Ordered() const { return OrderedTable(uses_, transparentUses_, transparency_); }

private:
    std::vector<std::pair<uint32_t, int64_t>> uses_;
    std::unordered_map<uint32_t, std::size_t> position_;
    int64_t transparentUses_ = 0;
    bool transparency_ = false;
};

// The global palettes worth trying: every colour of every frame, when they fit, and the
// first frame's colours. The background joins both when a viewer will show it.
std::vector<Table> GlobalTables(const std::vector<FramePlan>& plans, std::optional<uint32_t> background) {
    std::vector<Table> tables;
    ColorUses all;
    for (const FramePlan& plan : plans) all.Count(plan);
    if (background) all.Use(*background, 1);
    if (all.Entries() <= 256) tables.push_back(all.Ordered());
    if (plans.size() > 1) {
        ColorUses firstOnly;
        firstOnly.Count(plans.front());
        if (background) firstOnly.Use(*background, 1);
        if (firstOnly.Entries() <= 256) tables.push_back(firstOnly.Ordered());
    }
    return tables;
}

// One frame coded on the global palette, and on a palette of its own where that may pay.
struct FrameCodings {
    std::optional<Coded> onGlobal;
    std::optional<Coded> onOwn;
    Table ownTable;
    int ownBits = 0;
    bool ownFits = false;
    bool ownTried = false;
};

void CodeOwn(const FramePlan& plan, FrameCodings& codings, LzwEncoder& encoder, ChoiceCoder& chooser,
             bool quick) {
    codings.ownTried = true;
    if (!codings.ownFits) return;
    codings.onOwn = CodeOn(plan, codings.ownTable, codings.ownBits, encoder, chooser, quick);
}

FrameCodings CodeFrame(const FramePlan& plan, const Table& global, bool firstFrame, LzwEncoder& encoder,
                       ChoiceCoder& chooser, bool quick) {
    FrameCodings codings;
    codings.onGlobal = CodeOn(plan, global, 0, encoder, chooser, quick);
    if (firstFrame) return codings;  // the first frame's table is the global one
    ColorUses own;
    own.Count(plan);
    codings.ownBits = BitsFor(own.Entries());
    codings.ownFits = own.Entries() <= 256;
    if (codings.ownFits) codings.ownTable = own.Ordered();
    // Indices do not change how LZW codes, only the code size does: a palette of its own pays
    // for its table only with narrower codes.
    if (!codings.onGlobal || std::max(2, codings.ownBits) < std::max(2, codings.onGlobal->bits))
        CodeOwn(plan, codings, encoder, chooser, quick);
    return codings;
}

// Codes every frame on the workers (frames are independent until one of the two codings is
// chosen), while this thread reports each finished frame and asks whether to give up, as
// often as a run frame by frame would. False when the user gave up.
bool CodeEachFrame(const std::vector<FramePlan>& plans, const Table& global, bool quick,
                   OptimizeProgress* progress, std::size_t pass, std::size_t passes,
                   std::vector<FrameCodings>& out) {
    out.assign(plans.size(), {});
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> outOfMemory{false};
    std::mutex lock;
    std::condition_variable finished;
    std::size_t done = 0;
    auto work = [&] {
        LzwEncoder encoder;
        ChoiceCoder chooser;
        for (std::size_t k = next++; k < plans.size() && !stop; k = next++) {
            try {
                out[k] = CodeFrame(plans[k], global, k == 0, encoder, chooser, quick);
            } catch (const std::bad_alloc&) {
                outOfMemory = true;  // handed on below, as a run on this thread would
            }
            const std::lock_guard<std::mutex> hold(lock);
            ++done;
            finished.notify_one();
        }
    };
    const std::size_t count = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<std::thread> workers;
    for (std::size_t t = 0; t < std::min(count, plans.size()); ++t) workers.emplace_back(work);
    bool aborted = false;
    for (std::size_t reported = 0; reported < plans.size() && !aborted;) {
        std::unique_lock<std::mutex> hold(lock);
        finished.wait(hold, [&] { return done > reported; });
        const std::size_t now = done;
        hold.unlock();
        for (; reported < now && !aborted; ++reported) {
            Report(progress, pass * plans.size() + reported + 1, passes * plans.size());
            aborted = Aborted(progress);
        }
    }
    stop = true;
    for (std::thread& worker : workers) worker.join();
    if (outOfMemory && !aborted) throw std::bad_alloc();
    return !aborted;
}

// Every frame coded on the global palette or its own, whichever is shorter; nothing when a
// frame fits neither.
std::optional<Coding> CodeFrames(const std::vector<FramePlan>& plans, const Table& global,
                                 LzwEncoder& encoder, ChoiceCoder& chooser, OptimizeProgress* progress,
                                 std::size_t pass, std::size_t passes, bool quick) {
    std::vector<FrameCodings> codings;
    if (!CodeEachFrame(plans, global, quick, progress, pass, passes, codings)) return std::nullopt;
    Coding coding;
    coding.global = global;
    const int globalBits = BitsFor(global.Entries());
    coding.bytes = std::size_t{3} << globalBits;
    coding.choices.reserve(plans.size());
    // A frame without a table of its own is read back with the last table before it as its
    // palette, whose unused slots show black: it may use no index beyond that table.
    int inheritedBits = globalBits;
    for (std::size_t k = 0; k < plans.size(); ++k) {
        FrameCodings& frame = codings[k];
        Choice choice;
        if (frame.onGlobal && frame.onGlobal->bits <= inheritedBits) choice.coded = std::move(*frame.onGlobal);
        if (k > 0 && choice.coded.size == SIZE_MAX && !frame.ownTried)
            CodeOwn(plans[k], frame, encoder, chooser, quick);
        if (frame.onOwn) {
            const std::size_t tableBytes = std::size_t{3} << frame.ownBits;
            if (choice.coded.size == SIZE_MAX || frame.onOwn->size + tableBytes < choice.coded.size) {
                choice.coded = std::move(*frame.onOwn);
                choice.coded.size += tableBytes;
                choice.local = true;
                choice.table = std::move(frame.ownTable);
            }
        }
        if (choice.coded.size == SIZE_MAX) return std::nullopt;
        if (choice.local) inheritedBits = choice.coded.bits;
        coding.bytes += choice.coded.size;
        coding.choices.push_back(std::move(choice));
    }
    return coding;
}

}  // namespace

LosslessResult OptimizeLossless(Animation& animation, Gif* first, OptimizeProgress* progress) {
    if (!first || animation.screenWidth <= 0 || animation.screenHeight <= 0 ||
        animation.screenWidth > 0xFFFF || animation.screenHeight > 0xFFFF)
        return LosslessResult::Kept;
    for (const Gif* g = first; g; g = g->next)
        if (!g->indexedReady || !g->indexed) return LosslessResult::Kept;
    std::size_t total = 0;
    for (const Gif* g = first; g; g = g->next) ++total;

    // Every frame is planned against the screens as they will be shown, which are the screens
    // they show now: the pictures a viewer composes are what must stay. Two plans: frames cut
    // to what changes, each after the disposal that leaves least to change; and the frames'
    // own rectangles and disposals, which sometimes code shorter still.
    if (progress) progress->SetText("Optimizing Rects");
    const uint32_t background = BackgroundPixel(animation);
    const int32_t W = animation.screenWidth, H = animation.screenHeight;
    // Nothing beneath shows where the first frame's rectangle is not drawn yet, and again
    // wherever a disposal restores such a screen: the first frame must span every such place.
    Rect holes;
    WalkScreens(animation, first, [&](Gif& frame, const ScreenImage& before) {
        ScreenImage shown = before;
        DrawFrame(frame, shown);
        holes = Union(holes, HoleRect(shown));
        return true;
    });
    bool tightPossible = true;
    const Rect screenRect{0, 0, W, H, 0};
    Plan tight, own;
    ScreenImage canvas;       // the tight plan's canvas before its last frame
    ScreenImage shownBefore;  // the last frame's picture
    const bool walked = WalkScreens(animation, first, [&](Gif& frame, const ScreenImage& before) {
        ScreenImage shown = before;
        DrawFrame(frame, shown);
        // A frame wholly off the screen becomes one pixel that shows what is there already;
        // it changes nothing on the screen, so whatever its disposal, the screen after it is
        // the one it was drawn on.
        Rect itsOwn = Clip(frame, screenRect);
        uint32_t ownDisposal = DisposalInForce(animation, frame);
        if (itsOwn.Empty()) {
            itsOwn = {0, 0, 1, 1, 0};
            ownDisposal = DisposalDoNotDispose;
        }
        if (own.frames.empty()) {
            ScreenImage initial(W, H, background);
            FillRect(initial, itsOwn, kNothingBeneathPixel);
            own.frames.push_back(PlanFrame(frame, initial, shown, itsOwn));
        } else {
            own.frames.push_back(PlanFrame(frame, before, shown, itsOwn));
        }
        own.frames.back().disposal = ownDisposal;
        if (ownDisposal == DisposalRestoreBackground) own.backgroundNeeded = true;
        if (tight.frames.empty()) {
            own.backgroundNeeded = own.backgroundNeeded || itsOwn.Area() < int64_t{W} * H;
            // Around the first frame a viewer shows the background, inside it nothing until
            // something is drawn: the rectangle must hold every pixel that is not background.
            Rect rect = Union(RectNotOf(shown, background), holes);
            if (rect.Empty()) rect = {0, 0, 1, 1, 0};
            tight.backgroundNeeded = rect.Area() < int64_t{W} * H;
            canvas = ScreenImage(W, H, background);
            FillRect(canvas, rect, kNothingBeneathPixel);
            tight.frames.push_back(PlanFrame(frame, canvas, shown, rect));
        } else if (tightPossible) {
            // The disposal of the frame before decides this frame's canvas.
            FramePlan& last = tight.frames.back();
            struct Option {
                uint32_t disposal;
                const ScreenImage* screen;
                Rect changed;
                Rect lastRect;
            };
            std::vector<Option> options{
                {DisposalDoNotDispose, &shownBefore, ChangedRect(shownBefore, shown), last.rect},
                {DisposalRestorePrevious, &canvas, ChangedRect(canvas, shown), last.rect}};
            // Clearing to the background: over the frame before as cut, or over all of its own
            // rectangle, which may be what this frame expects to find cleared.
            std::array<ScreenImage, 2> cleared;
            const Rect lastOwn = Union(last.rect, own.frames[own.frames.size() - 2].rect);
            for (std::size_t k = 0; k < 2; ++k) {
                const Rect area = k == 0 ? last.rect : lastOwn;
                if ((k == 1 && area == last.rect) || HasHole(shown, area)) continue;
                cleared[k] = canvas;
                FillRect(cleared[k], area, background);
                options.push_back({DisposalRestoreBackground, &cleared[k], ChangedRect(cleared[k], shown), area});
            }
            // Fewer pixels to draw beats a smaller rectangle: the rest of it codes as runs.
            const Option* best = nullptr;
            for (const Option& o : options) {
                if (!CanShow(*o.screen, shown)) continue;
                if (!best || o.changed.changed < best->changed.changed ||
                    (o.changed.changed == best->changed.changed && o.changed.Area() < best->changed.Area()))
                    best = &o;
            }
            if (!best) {
                tightPossible = false;  // the frames' own rectangles and disposals remain
                shownBefore = std::move(shown);
                return !Aborted(progress);
            }
            if (!(best->lastRect == last.rect)) {
                last = PlanFrame(*last.frame, canvas, shownBefore, best->lastRect);
            }
            last.disposal = best->disposal;
            if (best->disposal == DisposalRestoreBackground) tight.backgroundNeeded = true;
            ScreenImage next = *best->screen;
            tight.frames.push_back(PlanFrame(frame, next, shown, best->changed));
            canvas = std::move(next);
        }
        shownBefore = std::move(shown);
        Report(progress, own.frames.size(), total);
        return !Aborted(progress);
    });
    if (!walked) return LosslessResult::Aborted;

    // Each plan with two ways to share colours: every colour on the global palette when they
    // fit, or only the first frame's, the others keeping palettes of their own. The shortest
    // file wins.
    if (progress) progress->SetText("Optimizing Palette");
    LzwEncoder encoder;
    ChoiceCoder chooser;
    std::optional<Coding> best;
    const Plan* chosen = nullptr;
    std::vector<std::pair<const Plan*, Table>> tries;
    for (const Plan* plan : {&tight, &own}) {
        if (plan == &tight && !tightPossible) continue;
        for (Table& table : GlobalTables(plan->frames, plan->backgroundNeeded
                                                           ? std::optional<uint32_t>(background)
                                                           : std::nullopt))
            tries.emplace_back(plan, std::move(table));
    }
    // Every plan and palette coded the quick way; the best of them then coded with every form.
    std::optional<std::size_t> winner;
    std::size_t fewest = SIZE_MAX;
    for (std::size_t k = 0; k < tries.size(); ++k) {
        std::optional<Coding> coding = CodeFrames(tries[k].first->frames, tries[k].second, encoder,
                                                  chooser, progress, k, tries.size() + 1, true);
        if (Aborted(progress)) return LosslessResult::Aborted;
        if (coding && coding->bytes < fewest) {
            fewest = coding->bytes;
            winner = k;
        }
    }
    if (!winner) return LosslessResult::Kept;
    chosen = tries[*winner].first;
    best = CodeFrames(chosen->frames, tries[*winner].second, encoder, chooser, progress, tries.size(),
                      tries.size() + 1, false);
    if (Aborted(progress)) return LosslessResult::Aborted;
    if (!best) return LosslessResult::Kept;
    const Table& global = best->global;
    std::vector<Choice>& choices = best->choices;
    const std::vector<FramePlan>& plans = chosen->frames;
    const bool backgroundNeeded = chosen->backgroundNeeded;
    std::vector<std::shared_ptr<IndexedBitmap>> bitmaps;
    for (const FramePlan& plan : plans) {
        const int32_t w = plan.rect.right - plan.rect.left, h = plan.rect.bottom - plan.rect.top;
        bitmaps.push_back(std::make_shared<IndexedBitmap>(plan.frame, w, h));
        if (!bitmaps.back()->HasRows()) return LosslessResult::Kept;
    }

    // Only now is anything changed.
    const Palette globalPalette = global.ToPalette();
    animation.globalPalette = globalPalette;
    animation.globalPalettePresent = 1;
    animation.globalTableBits = static_cast<uint8_t>(BitsFor(global.Entries()));
    animation.backgroundIndex =
        static_cast<uint8_t>(backgroundNeeded ? global.Find(background).value_or(0) : 0);
    animation.useAnimationDisposal = 0;
    for (std::size_t k = 0; k < plans.size(); ++k) {
        const FramePlan& plan = plans[k];
        Choice& choice = choices[k];
        Gif& frame = *plan.frame;
        const int32_t w = plan.rect.right - plan.rect.left, h = plan.rect.bottom - plan.rect.top;
        std::shared_ptr<IndexedBitmap> pixels = std::move(bitmaps[k]);
        for (int32_t y = 0; y < h; ++y)
            std::copy_n(choice.coded.indices.begin() + int64_t{y} * w, w, pixels->Row(y));
        const Table& table = choice.local ? choice.table : global;
        frame.left = plan.rect.left;
        frame.top = plan.rect.top;
        frame.width = static_cast<uint32_t>(w);
        frame.height = static_cast<uint32_t>(h);
        frame.indexed = std::move(pixels);
        frame.usesLocalPalette = choice.local ? 1 : 0;
        frame.palette = choice.local ? table.ToPalette() : globalPalette;
        frame.transparent = choice.coded.transparent ? 1 : 0;
        frame.transparentIndex = choice.coded.transparent ? table.transparent : 0;
        frame.disposal = plan.disposal;
        frame.bitsPerPixel = static_cast<uint8_t>(choice.coded.bits);
        frame.interlaced = 0;
        frame.hasTransparentPixels = 1;
        frame.trueColor.reset();
    }
    if (progress) progress->Close();
    return LosslessResult::Optimized;
}

}  // namespace anitrope
