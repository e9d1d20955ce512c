#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "model/palette_entry.h"

namespace anitrope {

// A k-d tree over palette entries that answers exact nearest-colour queries. Read-only after
// Build, so any number of threads may query it at once.
class ColorTree {
public:
    enum class Metric {
        SquaredDistance,     // sum of squared channel differences
        MaxChannelSquared,   // largest channel difference, squared
    };

    explicit ColorTree(Metric metric = Metric::SquaredDistance);
    ~ColorTree();
    ColorTree(const ColorTree&) = delete;
    ColorTree& operator=(const ColorTree&) = delete;

    // Replaces the tree with one over the given palette indices. The palette's colours are
    // copied; later changes to it are not seen.
    void Build(std::span<const int> points, const Palette& palette);

    // The palette index nearest to the colour; among equally near entries the first one the
    // search meets. 0 for an empty tree.
    int NearestColor(int red, int green, int blue) const;

    // Number of nodes, buckets included; 0 for an empty tree.
    int NodeCount() const;

private:
    struct Node;
    struct Search;
    using Color = std::array<int, 3>;

    std::unique_ptr<Node> BuildNode(std::vector<int> points) const;
    void Descend(const Node& node, Search& search) const;
    int64_t Distance(const Color& a, const Color& b) const;
    int64_t BoxDistance(const Search& search) const;

    Metric metric_;
    std::array<Color, kPaletteSlots> colors_{};
    std::unique_ptr<Node> root_;
};

}  // namespace anitrope
