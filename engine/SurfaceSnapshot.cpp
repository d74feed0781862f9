#include "engine/SurfaceSnapshot.h"

#include <algorithm>

SurfaceSnapshot::SurfaceSnapshot(int32_t pictureWidth, int32_t pictureHeight)
    : pictureWidth_(pictureWidth), pictureHeight_(pictureHeight), columns_((pictureWidth + TileSize - 1) / TileSize)
{
}

gfx::Rect SurfaceSnapshot::TileRect(int32_t column, int32_t row) const
{
    const gfx::Rect tile{column * TileSize, row * TileSize, TileSize, TileSize};
    return tile.Intersected({0, 0, pictureWidth_, pictureHeight_});
}

void SurfaceSnapshot::SaveBefore(const Surface& picture, const gfx::Rect& area)
{
    const gfx::Rect inside = area.Intersected(picture.Bounds());
    if (inside.IsEmpty()) {
        return;
    }
    for (int32_t row = inside.y / TileSize; row <= (inside.Bottom() - 1) / TileSize; ++row) {
        for (int32_t column = inside.x / TileSize; column <= (inside.Right() - 1) / TileSize; ++column) {
            const int64_t key = int64_t(row) * columns_ + column;
            if (tiles_.contains(key)) {
                continue;
            }
            const gfx::Rect r = TileRect(column, row);
            auto saved = CreateSurface(r.width, r.height);
            CopyRegion(picture, r.x, r.y, *saved);
            tiles_.emplace(key, std::move(*saved));
        }
    }
}

void SurfaceSnapshot::ForEachTile(const std::function<void(const Surface&, const gfx::Rect&)>& visit) const
{
    for (const auto& [key, pixels] : tiles_) {
        visit(pixels, TileRect(int32_t(key % columns_), int32_t(key / columns_)));
    }
}

size_t SurfaceSnapshot::ByteSize() const
{
    size_t total = 0;
    for (const auto& entry : tiles_) {
        total += entry.second.ByteSize();
    }
    return total;
}
