#include "quantize/perceptual_reduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace anitrope {
namespace {

// The histogram's cells: 6 bits per channel. Each cell keeps the sums of its pixels, so its
// mean colour is exact however coarse the cell.
constexpr int kCellBits = 6;
constexpr size_t kCellCount = size_t{1} << (3 * kCellBits);
// The slot after the last colour is the transparent one, so at most 255 colours.
constexpr int kMaxColors = kPaletteSlots - 1;
// Lloyd passes after the median cut; most of the gain comes in the first few.
constexpr int kRefinePasses = 6;
// sRGB's transfer curve in quarter channel steps: fine enough for the cells' mean colours.
constexpr int kLinearSteps = 4 * 255 + 1;

bool Aborted(const std::atomic<bool>* abort) {
    return abort && abort->load(std::memory_order_relaxed);
}

uint32_t CellOf(uint32_t rgb) {
    return (rgb >> 18 & 0x3F) << 12 | (rgb >> 10 & 0x3F) << 6 | (rgb >> 2 & 0x3F);
}

struct Rgb {
    double red = 0, green = 0, blue = 0;
};

// A colour in Oklab (median cut) or in sRGB channels (the rest).
struct Point {
    float x = 0, y = 0, z = 0;
    float operator[](int axis) const { return axis == 0 ? x : axis == 1 ? y : z; }
};

float Distance2(const Point& p, const Point& q) {
    const float dx = p.x - q.x, dy = p.y - q.y, dz = p.z - q.z;
    return dx * dx + dy * dy + dz * dz;
}

Point SrgbPoint(uint32_t rgb) {
    return {static_cast<float>(rgb >> 16 & 0xFF), static_cast<float>(rgb >> 8 & 0xFF),
            static_cast<float>(rgb & 0xFF)};
}

Point SrgbPoint(const Rgb& rgb) {
    return {static_cast<float>(rgb.red), static_cast<float>(rgb.green),
            static_cast<float>(rgb.blue)};
}

const std::array<float, kLinearSteps>& LinearTable() {
    static const auto table = [] {
        std::array<float, kLinearSteps> linear{};
        for (int i = 0; i < kLinearSteps; ++i) {
            const double c = i / (4.0 * 255.0);
            linear[static_cast<size_t>(i)] =
                static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return linear;
    }();
    return table;
}

// Björn Ottosson's Oklab, from sRGB channels 0-255 (fractions allowed).
Point Oklab(double red, double green, double blue) {
    const auto& linear = LinearTable();
    const auto at = [&](double c) {
        return linear[static_cast<size_t>(
            std::clamp(std::lround(c * 4), 0L, long{kLinearSteps - 1}))];
    };
    const float r = at(red), g = at(green), b = at(blue);
    const float l = std::cbrt(0.4122214708f * r + 0.5363325363f * g + 0.0514459929f * b);
    const float m = std::cbrt(0.2119034982f * r + 0.6806995451f * g + 0.1073969566f * b);
    const float s = std::cbrt(0.0883024619f * r + 0.2817188376f * g + 0.6299787005f * b);
    return {0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
            1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
            0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
}

Point Oklab(uint32_t rgb) { return Oklab(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF); }

PaletteEntry EntryOf(uint32_t rgb) {
    return {static_cast<int32_t>(rgb >> 16 & 0xFF), static_cast<int32_t>(rgb >> 8 & 0xFF),
            static_cast<int32_t>(rgb & 0xFF)};
}

// The nearest palette colour in sRGB, the space in which PSNR judges it. Every colour's neighbours
// are sorted by distance, so a query that starts from a good guess stops after the few that the
// triangle inequality still allows to be nearer.
class NearestSearch {
  public:
    explicit NearestSearch(std::vector<Point> colors) : colors_(std::move(colors)) {
        const size_t n = colors_.size();
        if (n < 2) return;
        neighbours_.resize(n * (n - 1));
        for (size_t i = 0; i < n; ++i) {
            Neighbour* row = neighbours_.data() + i * (n - 1);
            size_t k = 0;
            for (size_t j = 0; j < n; ++j) {
                if (j != i)
                    row[k++] = {std::sqrt(Distance2(colors_[i], colors_[j])), static_cast<int>(j)};
            }
            std::sort(row, row + (n - 1), [](const Neighbour& x, const Neighbour& y) {
                return x.distance < y.distance || (x.distance == y.distance && x.index < y.index);
            });
        }
    }

    // 0 without colours.
    int Find(const Point& query, int guess) const {
        const size_t n = colors_.size();
        if (n == 0) return 0;
        int best = guess;
        float bestDistance2 = Distance2(query, colors_[static_cast<size_t>(guess)]);
        const float fromGuess = std::sqrt(bestDistance2);
        float bestDistance = fromGuess;
        const Neighbour* row = neighbours_.data() + static_cast<size_t>(guess) * (n - 1);
        for (size_t k = 0; k + 1 < n; ++k) {
            // Farther from the guess than this, a colour is farther from the query than the best.
            if (row[k].distance > fromGuess + bestDistance) break;
            const float distance2 = Distance2(query, colors_[static_cast<size_t>(row[k].index)]);
            if (distance2 < bestDistance2) {
                bestDistance2 = distance2;
                bestDistance = std::sqrt(distance2);
                best = row[k].index;
            }
        }
        return best;
    }

  private:
    struct Neighbour {
        float distance;
        int index;
    };
    std::vector<Point> colors_;
    std::vector<Neighbour> neighbours_;  // row i: the other colours, nearest to colour i first
};

// One occupied cell of the histogram.
struct Cell {
    uint64_t count = 0;
    uint64_t red = 0, green = 0, blue = 0;
    uint64_t squares = 0;  // sum of red² + green² + blue² over its pixels
    uint32_t first = 0;    // the first exact colour seen in it
    bool mixed = false;    // it holds more than one exact colour
    Point lab;             // its mean colour in Oklab
    Point rgb;             // and in sRGB
    int color = 0;         // the palette index it maps to

    Rgb Mean() const {
        const auto n = static_cast<double>(count);
        return {static_cast<double>(red) / n, static_cast<double>(green) / n,
                static_cast<double>(blue) / n};
    }

    // Sum of squared channel errors of its pixels shown as `entry`.
    double Error(const PaletteEntry& entry) const {
        const double r = entry.red, g = entry.green, b = entry.blue;
        return static_cast<double>(squares) -
               2 * (r * static_cast<double>(red) + g * static_cast<double>(green) +
                    b * static_cast<double>(blue)) +
               static_cast<double>(count) * (r * r + g * g + b * b);
    }
};

// A few cells may hold a picture of many colours (a smooth gradient). Then each cell is
// split into its 64 exact colours, so that median cut has enough to choose from.
constexpr size_t kMaxCellsToSplit = 4096;
constexpr size_t kColorsPerCell = 64;

uint32_t PlaceInCell(uint32_t rgb) { return (rgb >> 12 & 0x30) | (rgb >> 6 & 0xC) | (rgb & 0x3); }

struct Histogram {
    std::vector<int32_t> slot;  // cell number -> index in `cells`, -1 while empty
    // Once cells are split: slot's index * 64 + place in the cell -> index in `cells`.
    std::vector<int32_t> split;
    std::vector<Cell> cells;  // in order of first appearance

    const Cell* Find(uint32_t rgb) const {
        int32_t at = slot[CellOf(rgb)];
        if (at >= 0 && !split.empty())
            at = split[static_cast<size_t>(at) * kColorsPerCell + PlaceInCell(rgb)];
        return at < 0 ? nullptr : &cells[static_cast<size_t>(at)];
    }

    // Adds `run` pixels of `rgb`; `at` is where Find looks for it.
    void Add(int32_t& at, uint32_t rgb, uint64_t run) {
        if (at < 0) {
            at = static_cast<int32_t>(cells.size());
            Cell cell;
            cell.first = rgb;
            cells.push_back(cell);
        }
        Cell& cell = cells[static_cast<size_t>(at)];
        if (cell.first != rgb) cell.mixed = true;
        const uint64_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
        cell.count += run;
        cell.red += r * run;
        cell.green += g * run;
        cell.blue += b * run;
        cell.squares += (r * r + g * g + b * b) * run;
    }

    int32_t& Place(uint32_t rgb) {
        int32_t& at = slot[CellOf(rgb)];
        return split.empty() ? at
                             : split[static_cast<size_t>(at) * kColorsPerCell + PlaceInCell(rgb)];
    }
};

// Counts the opaque pixels row by row, a run of one colour at a time. False when asked to
// abort.
bool CountRuns(const TrueColorBitmap& pixels, const std::atomic<bool>* abort,
               Histogram& histogram) {
    uint32_t runColor = 0;
    uint64_t run = 0;
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        if (Aborted(abort)) return false;
        const uint32_t* row = pixels.Row(y);
        for (int32_t x = 0; x < pixels.Width(); ++x) {
            const uint32_t pixel = row[x];
            if (pixel & TransparentBit) continue;
            const uint32_t color = pixel & 0xFFFFFF;
            if (run > 0 && color == runColor) {
                ++run;
                continue;
            }
            if (run > 0) histogram.Add(histogram.Place(runColor), runColor, run);
            runColor = color;
            run = 1;
        }
    }
    if (run > 0) histogram.Add(histogram.Place(runColor), runColor, run);
    return true;
}

bool CountPixels(const TrueColorBitmap& pixels, const std::atomic<bool>* abort,
                 Histogram& histogram) {
    histogram.slot.assign(kCellCount, -1);
    if (!CountRuns(pixels, abort, histogram)) return false;
    const bool anyMixed = std::any_of(histogram.cells.begin(), histogram.cells.end(),
                                      [](const Cell& cell) { return cell.mixed; });
    if (anyMixed && histogram.cells.size() <= kMaxCellsToSplit) {
        histogram.split.assign(histogram.cells.size() * kColorsPerCell, -1);
        histogram.cells.clear();
        if (!CountRuns(pixels, abort, histogram)) return false;
    }
    for (Cell& cell : histogram.cells) {
        const Rgb mean = cell.Mean();
        cell.lab = cell.mixed ? Oklab(mean.red, mean.green, mean.blue) : Oklab(cell.first);
        cell.rgb = SrgbPoint(mean);
    }
    return true;
}

// The palette being built: fixed colours (the KeepColors) first, then the movable ones.
struct Clusters {
    std::vector<Rgb> colors;
    std::vector<Point> points;  // the same in single precision, for the search
    size_t fixed = 0;

    void Add(const Rgb& rgb) {
        colors.push_back(rgb);
        points.push_back(SrgbPoint(rgb));
    }
};

std::vector<uint32_t> DistinctKeepColors(const KeepColors& keep) {
    std::vector<uint32_t> colors;
    for (int32_t color : keep) {
        if (color < 0) continue;
        const auto rgb = static_cast<uint32_t>(color) & 0xFFFFFF;
        if (std::find(colors.begin(), colors.end(), rgb) == colors.end()) colors.push_back(rgb);
    }
    return colors;
}

// A picture with few enough colours keeps every one of them. Returns false, touching nothing,
// when it has too many.
bool TakeExactColors(const std::vector<uint32_t>& keep, Histogram& histogram, Clusters& clusters) {
    std::vector<uint32_t> colors = keep;
    for (const Cell& cell : histogram.cells) {
        if (cell.mixed) return false;
        if (std::find(keep.begin(), keep.end(), cell.first) == keep.end())
            colors.push_back(cell.first);
        if (colors.size() > static_cast<size_t>(kMaxColors)) return false;
    }
    for (uint32_t color : colors)
        clusters.Add({double(color >> 16 & 0xFF), double(color >> 8 & 0xFF), double(color & 0xFF)});
    clusters.fixed = colors.size();
    for (Cell& cell : histogram.cells)
        cell.color =
            static_cast<int>(std::find(colors.begin(), colors.end(), cell.first) - colors.begin());
    return true;
}

// A range of cells (through `order`) that median cut may split further.
struct Box {
    size_t begin = 0, end = 0;
    double error = -1;  // weighted squared spread in Oklab; negative: cannot be split
    int axis = 0;       // of the largest spread
    float split = 0;    // the weighted mean along it
};

Box MeasureBox(const Histogram& histogram, const std::vector<uint32_t>& order, size_t begin,
               size_t end) {
    Box box{begin, end};
    double weight = 0;
    std::array<double, 3> sum{}, squares{};
    for (size_t i = begin; i < end; ++i) {
        const Cell& cell = histogram.cells[order[i]];
        const auto w = static_cast<double>(cell.count);
        weight += w;
        for (int axis = 0; axis < 3; ++axis) {
            const double v = cell.lab[axis];
            sum[static_cast<size_t>(axis)] += w * v;
            squares[static_cast<size_t>(axis)] += w * v * v;
        }
    }
    if (end - begin < 2 || weight <= 0) return box;
    double largest = -1;
    box.error = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const auto a = static_cast<size_t>(axis);
        const double spread = std::max(0.0, squares[a] - sum[a] * sum[a] / weight);
        box.error += spread;
        if (spread > largest) {
            largest = spread;
            box.axis = axis;
            box.split = static_cast<float>(sum[a] / weight);
        }
    }
    return box;
}

// Median cut in Oklab, so that the palette's colours are spread as the eye tells colours
// apart: splits the box with the largest spread at its mean until there are `target`
// boxes or none can be split. Each box's pixels then make one colour, their mean in sRGB.
void CutBoxes(Histogram& histogram, size_t target, Clusters& clusters) {
    std::vector<uint32_t> order(histogram.cells.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
    std::vector<Box> boxes{MeasureBox(histogram, order, 0, order.size())};
    while (boxes.size() < target) {
        size_t widest = 0;
        for (size_t i = 1; i < boxes.size(); ++i)
            if (boxes[i].error > boxes[widest].error) widest = i;
        Box& box = boxes[widest];
        if (box.error <= 0) break;
        const auto middle = std::partition(
            order.begin() + static_cast<std::ptrdiff_t>(box.begin),
            order.begin() + static_cast<std::ptrdiff_t>(box.end),
            [&](uint32_t i) { return histogram.cells[i].lab[box.axis] <= box.split; });
        const auto cut = static_cast<size_t>(middle - order.begin());
        if (cut == box.begin || cut == box.end) {
            box.error = -1;  // all on one side: the spread was rounding noise
            continue;
        }
        const size_t end = box.end;
        box = MeasureBox(histogram, order, box.begin, cut);
        boxes.push_back(MeasureBox(histogram, order, cut, end));
    }
    for (const Box& box : boxes) {
        if (box.begin == box.end) continue;
        const int index = static_cast<int>(clusters.colors.size());
        Rgb sum;
        uint64_t count = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            Cell& cell = histogram.cells[order[i]];
            cell.color = index;
            sum.red += static_cast<double>(cell.red);
            sum.green += static_cast<double>(cell.green);
            sum.blue += static_cast<double>(cell.blue);
            count += cell.count;
        }
        const auto n = static_cast<double>(count);
        clusters.Add({sum.red / n, sum.green / n, sum.blue / n});
    }
}

// Lloyd passes in sRGB, where PSNR measures: each cell goes to its nearest colour, each
// movable colour to its cells' mean.
// False when asked to abort.
bool Refine(Histogram& histogram, Clusters& clusters, const std::atomic<bool>* abort) {
    for (int pass = 0; pass < kRefinePasses; ++pass) {
        if (Aborted(abort)) return false;
        const NearestSearch search(clusters.points);
        std::vector<Rgb> sums(clusters.colors.size());
        std::vector<uint64_t> counts(clusters.colors.size());
        for (Cell& cell : histogram.cells) {
            cell.color = search.Find(cell.rgb, cell.color);
            const auto c = static_cast<size_t>(cell.color);
            sums[c].red += static_cast<double>(cell.red);
            sums[c].green += static_cast<double>(cell.green);
            sums[c].blue += static_cast<double>(cell.blue);
            counts[c] += cell.count;
        }
        bool moved = false;
        for (size_t c = clusters.fixed; c < clusters.colors.size(); ++c) {
            if (counts[c] == 0) continue;
            const auto n = static_cast<double>(counts[c]);
            const Rgb mean{sums[c].red / n, sums[c].green / n, sums[c].blue / n};
            Rgb& color = clusters.colors[c];
            // Below a hundredth of a channel step the rounded palette cannot change.
            if (std::abs(mean.red - color.red) + std::abs(mean.green - color.green) +
                    std::abs(mean.blue - color.blue) <
                0.01)
                continue;
            color = mean;
            clusters.points[c] = SrgbPoint(mean);
            moved = true;
        }
        if (!moved) break;
    }
    return true;
}

// The chosen colours rounded into palette slots, dropping the movable ones no cell uses; the
// cells' indices follow.
SharedPalette WritePalette(const Clusters& clusters, Histogram& histogram) {
    std::vector<bool> used(clusters.colors.size(), false);
    for (size_t c = 0; c < clusters.fixed; ++c) used[c] = true;
    for (const Cell& cell : histogram.cells) used[static_cast<size_t>(cell.color)] = true;
    std::vector<int> slotOf(clusters.colors.size(), 0);
    SharedPalette shared;
    for (size_t c = 0; c < clusters.colors.size(); ++c) {
        if (!used[c]) continue;
        slotOf[c] = shared.colors;
        const Rgb& color = clusters.colors[c];
        shared.palette[static_cast<size_t>(shared.colors++)] = {
            static_cast<int32_t>(std::lround(std::clamp(color.red, 0.0, 255.0))),
            static_cast<int32_t>(std::lround(std::clamp(color.green, 0.0, 255.0))),
            static_cast<int32_t>(std::lround(std::clamp(color.blue, 0.0, 255.0)))};
    }
    for (Cell& cell : histogram.cells) cell.color = slotOf[static_cast<size_t>(cell.color)];
    return shared;
}

std::vector<Point> PointsOf(const SharedPalette& shared) {
    std::vector<Point> points;
    for (int i = 0; i < shared.colors; ++i)
        points.push_back(SrgbPoint(PaletteRgb(shared.palette[static_cast<size_t>(i)])));
    return points;
}

// Sum of squared errors of the picture shown with `shared`, each cell as `colors` maps it.
double PictureError(const Histogram& histogram, const SharedPalette& shared,
                    const std::vector<int>& colors) {
    double error = 0;
    for (size_t i = 0; i < histogram.cells.size(); ++i)
        error += histogram.cells[i].Error(shared.palette[static_cast<size_t>(colors[i])]);
    return error;
}

bool Holds(const SharedPalette& shared, const std::vector<uint32_t>& keep) {
    for (uint32_t color : keep) {
        const PaletteEntry entry = EntryOf(color);
        if (std::find(shared.palette.begin(), shared.palette.begin() + shared.colors, entry) ==
            shared.palette.begin() + shared.colors)
            return false;
    }
    return true;
}

// Takes the previous frame's palette over when showing the picture with it costs less than
// kPaletteReuseLossDb; the cells then map onto it.
bool TakePrevious(const SharedPalette* previous, const std::vector<uint32_t>& keep,
                  Histogram& histogram, SharedPalette& shared,
                  std::unique_ptr<NearestSearch>& search) {
    if (!previous || previous->colors <= 0 || previous->colors > kMaxColors ||
        !Holds(*previous, keep))
        return false;
    const size_t cells = histogram.cells.size();
    std::vector<int> own(cells), theirs(cells);
    auto other = std::make_unique<NearestSearch>(PointsOf(*previous));
    int guess = 0;
    for (size_t i = 0; i < cells; ++i) {
        own[i] = histogram.cells[i].color;
        theirs[i] = guess = other->Find(histogram.cells[i].rgb, guess);
    }
    const double ownError = PictureError(histogram, shared, own);
    const double theirError = PictureError(histogram, *previous, theirs);
    const bool take = ownError > 0 ? 10 * std::log10(theirError / ownError) < kPaletteReuseLossDb
                                   : theirError <= 0;
    if (!take) return false;
    shared = *previous;
    for (size_t i = 0; i < cells; ++i) histogram.cells[i].color = theirs[i];
    search = std::move(other);
    return true;
}

// Pictures repeat their colours: a small direct-mapped memory of answers spares most searches.
class NearestCache {
  public:
    explicit NearestCache(const NearestSearch& search) : search_(search) { keys_.fill(kEmpty); }

    uint8_t Find(uint32_t rgb, int guess) {
        const size_t slot = (rgb * 2654435761u) >> (32 - kBits);
        if (keys_[slot] != rgb) {
            keys_[slot] = rgb;
            values_[slot] = static_cast<uint8_t>(search_.Find(SrgbPoint(rgb), guess));
        }
        return values_[slot];
    }

  private:
    static constexpr int kBits = 14;
    static constexpr uint32_t kEmpty = 0xFFFFFFFF;  // no colour: the top byte is clear
    const NearestSearch& search_;
    std::array<uint32_t, size_t{1} << kBits> keys_;
    std::array<uint8_t, size_t{1} << kBits> values_{};
};

// Every pixel to its nearest colour. A cell of one exact colour knows its answer already.
bool MapPixels(const TrueColorBitmap& pixels, const Histogram& histogram, NearestCache& nearest,
               uint8_t transparentIndex, const std::atomic<bool>* abort, ReductionResult& result) {
    IndexedBitmap& indexed = *result.indexed;
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        if (Aborted(abort)) return false;
        const uint32_t* in = pixels.Row(y);
        uint8_t* out = indexed.Row(y);
        for (int32_t x = 0; x < pixels.Width(); ++x) {
            const uint32_t pixel = in[x];
            if (pixel & TransparentBit) {
                out[x] = transparentIndex;
                result.hasTransparentPixels = 1;
                continue;
            }
            const Cell& cell = *histogram.Find(pixel & 0xFFFFFF);
            out[x] = cell.mixed ? nearest.Find(pixel & 0xFFFFFF, cell.color)
                                : static_cast<uint8_t>(cell.color);
        }
    }
    return true;
}

// Floyd-Steinberg, serpentine: each pixel's error goes 7/16 ahead, 3/16, 5/16 and 1/16 to the
// row below. Transparent pixels neither take nor pass on error.
bool DitherPixels(const TrueColorBitmap& pixels, const Histogram& histogram,
                  const SharedPalette& shared, NearestCache& nearest, uint8_t transparentIndex,
                  const std::atomic<bool>* abort, ReductionResult& result) {
    IndexedBitmap& indexed = *result.indexed;
    const auto width = static_cast<size_t>(pixels.Width());
    // Three channels per pixel, with one pixel of margin on either side.
    std::vector<float> current((width + 2) * 3), below((width + 2) * 3);
    int last = 0;
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        if (Aborted(abort)) return false;
        const uint32_t* in = pixels.Row(y);
        uint8_t* out = indexed.Row(y);
        std::fill(below.begin(), below.end(), 0.0f);
        const bool forward = y % 2 == 0;
        for (size_t i = 0; i < width; ++i) {
            const size_t x = forward ? i : width - 1 - i;
            const uint32_t pixel = in[x];
            if (pixel & TransparentBit) {
                out[x] = transparentIndex;
                result.hasTransparentPixels = 1;
                continue;
            }
            float* error = &current[(x + 1) * 3];
            std::array<float, 3> wanted{};
            uint32_t rgb = 0;
            for (int c = 0; c < 3; ++c) {
                const auto channel = static_cast<float>(pixel >> (16 - 8 * c) & 0xFF);
                wanted[static_cast<size_t>(c)] = std::clamp(channel + error[c], 0.0f, 255.0f);
                rgb = rgb << 8 | static_cast<uint32_t>(std::lround(wanted[static_cast<size_t>(c)]));
            }
            const Cell* cell = histogram.Find(rgb);
            last = nearest.Find(rgb, cell ? cell->color : last);
            out[x] = static_cast<uint8_t>(last);
            const PaletteEntry& shown = shared.palette[static_cast<size_t>(last)];
            const std::array<float, 3> got{static_cast<float>(shown.red),
                                           static_cast<float>(shown.green),
                                           static_cast<float>(shown.blue)};
            const auto spread = [&](std::vector<float>& row, size_t at, float share) {
                for (size_t c = 0; c < 3; ++c) row[at * 3 + c] += (wanted[c] - got[c]) * share;
            };
            // Pixel x is at x + 1: the margins take what falls off either end.
            const size_t ahead = forward ? x + 2 : x;
            const size_t behind = forward ? x : x + 2;
            spread(current, ahead, 7.0f / 16);
            spread(below, behind, 3.0f / 16);
            spread(below, x + 1, 5.0f / 16);
            spread(below, ahead, 1.0f / 16);
        }
        std::swap(current, below);
    }
    return true;
}

}  // namespace

std::optional<ReductionResult> ReducePerceptual(const TrueColorBitmap& pixels,
                                                const KeepColors& keep, bool dither,
                                                const std::atomic<bool>* abort,
                                                const PreviousPalette& previous) {
    if (pixels.Width() > 0 && pixels.Height() > 0 && !pixels.HasRows()) return std::nullopt;
    Histogram histogram;
    if (!CountPixels(pixels, abort, histogram)) return std::nullopt;

    const std::vector<uint32_t> keepColors = DistinctKeepColors(keep);
    Clusters clusters;
    if (!TakeExactColors(keepColors, histogram, clusters)) {
        for (uint32_t color : keepColors)
            clusters.Add(
                {double(color >> 16 & 0xFF), double(color >> 8 & 0xFF), double(color & 0xFF)});
        clusters.fixed = keepColors.size();
        CutBoxes(histogram, static_cast<size_t>(kMaxColors) - clusters.fixed, clusters);
        if (!Refine(histogram, clusters, abort)) return std::nullopt;
    }
    SharedPalette shared = WritePalette(clusters, histogram);
    std::unique_ptr<NearestSearch> search;
    if (!previous || !TakePrevious(previous(), keepColors, histogram, shared, search)) {
        search = std::make_unique<NearestSearch>(PointsOf(shared));
        // The rounded colours may have moved a cell's nearest one.
        for (Cell& cell : histogram.cells) cell.color = search->Find(cell.rgb, cell.color);
    }
    if (Aborted(abort)) return std::nullopt;

    ReductionResult result;
    result.palette = shared.palette;
    result.palette[static_cast<size_t>(shared.colors)] = PaletteEntry{};
    result.transparent = 1;
    result.transparentIndex = shared.colors;
    result.indexed = std::make_shared<IndexedBitmap>(nullptr, pixels.Width(), pixels.Height());
    if (pixels.Width() > 0 && pixels.Height() > 0 && !result.indexed->HasRows())
        throw std::bad_alloc();
    // On the heap: a reduction may run nested inside another one's wait for its predecessor.
    auto nearest = std::make_unique<NearestCache>(*search);
    const auto transparentIndex = static_cast<uint8_t>(shared.colors);
    const bool mapped =
        dither ? DitherPixels(pixels, histogram, shared, *nearest, transparentIndex, abort, result)
               : MapPixels(pixels, histogram, *nearest, transparentIndex, abort, result);
    if (!mapped) return std::nullopt;
    return result;
}

}  // namespace anitrope
