#pragma once

#include "engine/Surface.h"

#include <cstddef>
#include <functional>
#include <unordered_map>

// The earlier pixels of the parts of a picture that one undo step changed. The picture
// layer saves a tile here just before the step first writes into it, so the snapshot
// holds what the whole picture held when it was started, for every area written since,
// and its size follows the size of the change, not of the picture.
class SurfaceSnapshot {
public:
    static constexpr int32_t TileSize = 32;

    SurfaceSnapshot(int32_t pictureWidth, int32_t pictureHeight);

    // Saves the tiles of area that are not saved yet from the picture as it is now.
    void SaveBefore(const Surface& picture, const gfx::Rect& area);
    // Calls visit with each saved tile's pixels and its place in the picture.
    void ForEachTile(const std::function<void(const Surface& pixels, const gfx::Rect& place)>& visit) const;

    bool IsEmpty() const { return tiles_.empty(); }
    size_t ByteSize() const;

private:
    gfx::Rect TileRect(int32_t column, int32_t row) const;

    int32_t pictureWidth_;
    int32_t pictureHeight_;
    int32_t columns_;
    std::unordered_map<int64_t, Surface> tiles_; // key: row * columns + column
};
