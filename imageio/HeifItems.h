#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

// The item structure of a HEIF file, read from its boxes before libheif reads anything:
// which items the primary picture is derived from (grids of tiles, grids of grids ...),
// how each grid lays out its tiles, and how the primary picture is turned, mirrored and
// cropped. libheif would decode a chain of grids at a cost that grows with the square of
// its length, and fill what a grid's tiles leave uncovered with black; both are refused
// here first.
class HeifItems {
public:
    // A derivation chain longer than this is no photo: a phone's picture is a grid of
    // coded tiles, at most under an identity or overlay item.
    static constexpr int MaxDerivationDepth = 3;

    enum class Verdict { Decodable, Damaged, TooDeep };

    // A transformation of the primary picture, applied in the order the file lists them.
    struct Transformation {
        enum class Kind { Turn, Mirror, Crop } kind = Kind::Turn;
        int quarters = 0; // Turn: quarter turns counter-clockwise
        int axis = 0;     // Mirror: as libheif reads it, 0 swaps top and bottom, 1 left and right
        // Crop: the clean aperture's width, height and centre offsets, as fractions.
        int64_t numerators[4] = {};
        int64_t denominators[4] = {1, 1, 1, 1};
    };

    // Nothing when the boxes cannot be read.
    static std::optional<HeifItems> Read(std::span<const uint8_t> file);

    // Whether decoding the primary picture can only use what the file holds.
    Verdict CheckPrimary() const;
    const std::vector<Transformation>& PrimaryTransformations() const { return primaryTransformations_; }

private:
    struct Item {
        uint32_t type = 0;
        std::vector<uint32_t> derivedFrom; // "dimg" references, in order
        std::vector<uint16_t> properties;  // 1-based indices into the property boxes, in order
        std::vector<std::span<const uint8_t>> data;
    };
    struct Property {
        uint32_t type = 0;
        std::span<const uint8_t> body;
    };

    // The longest chain of derivations under the item, reached at the level; more than
    // MaxDerivationDepth when the chain from the primary picture is longer, or a loop.
    int DepthOf(uint32_t id, int level, std::unordered_map<uint32_t, int>& depths) const;
    bool GridCovered(const Item& grid) const;
    std::optional<std::pair<uint32_t, uint32_t>> SizeOf(const Item& item) const;

    std::unordered_map<uint32_t, Item> items_;
    std::vector<Property> properties_;
    uint32_t primary_ = 0;
    std::vector<Transformation> primaryTransformations_;

    friend class HeifBoxReader;
};
