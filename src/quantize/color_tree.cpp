#include "quantize/color_tree.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace anitrope {
namespace {

// Buckets hold fewer points than this; splitting them further costs more than it saves.
constexpr size_t kMinSplitPoints = 6;
// Neither side of a split may have fewer points than this.
constexpr size_t kMinSidePoints = 2;
constexpr int kDimensions = 3;

}  // namespace

struct ColorTree::Node {
    std::vector<int> bucket;  // palette indices; only in leaves
    int dimension = 0;
    double split = 0;
    std::unique_ptr<Node> left;   // values <= split
    std::unique_ptr<Node> right;  // values > split

    bool IsLeaf() const { return !left; }
};

// Per-query state: the query, the best point so far and the bounding box of the node being
// visited. Lives on the caller's stack.
struct ColorTree::Search {
    Color query;
    Color low{std::numeric_limits<int>::min(), std::numeric_limits<int>::min(),
              std::numeric_limits<int>::min()};
    Color high{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
               std::numeric_limits<int>::max()};
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    int bestIndex = 0;
};

ColorTree::ColorTree(Metric metric) : metric_(metric) {}
ColorTree::~ColorTree() = default;

void ColorTree::Build(std::span<const int> points, const Palette& palette) {
    for (int i = 0; i < kPaletteSlots; ++i) {
        colors_[i] = {palette[i].red, palette[i].green, palette[i].blue};
    }
    root_ = points.empty() ? nullptr : BuildNode({points.begin(), points.end()});
}

std::unique_ptr<ColorTree::Node> ColorTree::BuildNode(std::vector<int> points) const {
    auto node = std::make_unique<Node>();
    if (points.size() < kMinSplitPoints) {
        node->bucket = std::move(points);
        return node;
    }
    // Split the dimension with the widest spread at its mean.
    double bestSpread = -1;
    for (int d = 0; d < kDimensions; ++d) {
        double mean = 0;
        for (int p : points) mean += colors_[p][d];
        mean /= static_cast<double>(points.size());
        double spread = 0;
        for (int p : points) spread += (colors_[p][d] - mean) * (colors_[p][d] - mean);
        if (spread > bestSpread) {
            bestSpread = spread;
            node->dimension = d;
            node->split = mean;
        }
    }
    const int d = node->dimension;
    const double split = node->split;
    const auto middle = std::stable_partition(points.begin(), points.end(),
                                              [&](int p) { return !(colors_[p][d] > split); });
    const auto leftSize = static_cast<size_t>(middle - points.begin());
    if (leftSize < kMinSidePoints || points.size() - leftSize < kMinSidePoints) {
        node->bucket = std::move(points);
        return node;
    }
    node->left = BuildNode({points.begin(), middle});
    node->right = BuildNode({middle, points.end()});
    return node;
}

int64_t ColorTree::Distance(const Color& a, const Color& b) const {
    int64_t sum = 0;
    int64_t largest = 0;
    for (int d = 0; d < kDimensions; ++d) {
        const int64_t diff = int64_t{a[d]} - b[d];
        sum += diff * diff;
        largest = std::max(largest, diff * diff);
    }
    return metric_ == Metric::SquaredDistance ? sum : largest;
}

// A lower bound of the distance from the query to any point inside the current box.
int64_t ColorTree::BoxDistance(const Search& search) const {
    Color nearest = search.query;
    for (int d = 0; d < kDimensions; ++d) {
        nearest[d] = std::clamp(search.query[d], search.low[d], search.high[d]);
    }
    return Distance(search.query, nearest);
}

void ColorTree::Descend(const Node& node, Search& search) const {
    if (node.IsLeaf()) {
        for (int p : node.bucket) {
            const int64_t distance = Distance(search.query, colors_[p]);
            if (distance < search.bestDistance) {
                search.bestDistance = distance;
                search.bestIndex = p;
            }
        }
        return;
    }
    // Integer colours right of the split are above (int)split, those left are at most it, so
    // these bounds never exclude a point and the pruning below stays exact.
    const int d = node.dimension;
    const int bound = static_cast<int>(node.split);
    const bool nearIsRight = search.query[d] > node.split;
    const Node& nearChild = nearIsRight ? *node.right : *node.left;
    const Node& farChild = nearIsRight ? *node.left : *node.right;
    int& nearLimit = nearIsRight ? search.low[d] : search.high[d];
    int& farLimit = nearIsRight ? search.high[d] : search.low[d];

    const int savedNear = std::exchange(nearLimit, bound);
    Descend(nearChild, search);
    nearLimit = savedNear;

    const int savedFar = std::exchange(farLimit, bound);
    if (BoxDistance(search) < search.bestDistance) Descend(farChild, search);
    farLimit = savedFar;
}

int ColorTree::NearestColor(int red, int green, int blue) const {
    if (!root_) return 0;
    Search search;
    search.query = {red, green, blue};
    Descend(*root_, search);
    return search.bestIndex;
}

int ColorTree::NodeCount() const {
    int count = 0;
    std::vector<const Node*> pending;
    if (root_) pending.push_back(root_.get());
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        ++count;
        if (!node->IsLeaf()) {
            pending.push_back(node->left.get());
            pending.push_back(node->right.get());
        }
    }
    return count;
}

}  // namespace anitrope
