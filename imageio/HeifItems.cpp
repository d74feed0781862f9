#include "imageio/HeifItems.h"

#include "imageio/ByteWalk.h"

#include <algorithm>
#include <functional>

namespace {

constexpr uint32_t FourCc(const char (&text)[5])
{
    return uint32_t(uint8_t(text[0])) << 24 | uint32_t(uint8_t(text[1])) << 16 | uint32_t(uint8_t(text[2])) << 8
           | uint32_t(uint8_t(text[3]));
}

// A box: its type and its body (after the size, the type and a 64-bit size if any).
struct Box {
    uint32_t type = 0;
    std::span<const uint8_t> body;
};

// The boxes one after the other in bytes; false when one does not fit.
bool ForEachBox(std::span<const uint8_t> bytes, const std::function<bool(const Box&)>& visit)
{
    const ByteWalk walk(bytes, true);
    uint64_t at = 0;
    while (at < walk.Size()) {
        const auto size32 = walk.Number(at, 4), type = walk.Number(at + 4, 4);
        if (!size32 || !type) {
            return false;
        }
        uint64_t header = 8, size = *size32;
        if (size == 1) {
            const auto large = walk.Number(at + 8, 8);
            if (!large) {
                return false;
            }
            header = 16, size = *large;
        } else if (size == 0) {
            size = walk.Size() - at;
        }
        if (size < header || !walk.Has(at, size)) {
            return false;
        }
        if (!visit(Box{uint32_t(*type), walk.Bytes(at + header, size - header)})) {
            return false;
        }
        at += size;
    }
    return true;
}

// Reads fields one after the other from a box's body, big-endian; a read past the end
// gives 0 and marks the reader as failed.
class FieldReader {
public:
    explicit FieldReader(std::span<const uint8_t> bytes) : walk_(bytes, true) {}

    uint64_t Next(int bytes)
    {
        if (bytes == 0) {
            return 0;
        }
        const auto value = walk_.Number(at_, bytes);
        ok_ = ok_ && value.has_value();
        at_ += uint64_t(bytes);
        return value.value_or(0);
    }
    bool Ok() const { return ok_; }
    uint64_t At() const { return at_; }
    std::span<const uint8_t> Rest() const { return walk_.Bytes(at_, walk_.Size() - std::min(at_, walk_.Size())); }

private:
    ByteWalk walk_;
    uint64_t at_ = 0;
    bool ok_ = true;
};

} // namespace

// Reads the boxes of the meta box into the items.
class HeifBoxReader {
public:
    HeifBoxReader(std::span<const uint8_t> file, HeifItems& items) : file_(file), items_(items) {}

    bool ReadMeta(std::span<const uint8_t> meta)
    {
        std::vector<Box> locations;
        const bool read = ForEachBox(meta.subspan(std::min<size_t>(4, meta.size())), [&](const Box& box) {
            switch (box.type) {
            case FourCc("pitm"): return ReadPrimary(box.body);
            case FourCc("iinf"): return ReadItemInfos(box.body);
            case FourCc("iref"): return ReadReferences(box.body);
            case FourCc("iprp"): return ReadProperties(box.body);
            case FourCc("idat"): idat_ = box.body; return true;
            case FourCc("iloc"): locations.push_back(box); return true;
            default: return true;
            }
        });
        // Locations last: they may point into the item data box, wherever it stands.
        return read && meta.size() >= 4 && std::all_of(locations.begin(), locations.end(), [this](const Box& box) {
                   return ReadLocations(box.body);
               });
    }

private:
    bool ReadPrimary(std::span<const uint8_t> body)
    {
        FieldReader fields(body);
        const uint64_t version = fields.Next(1);
        fields.Next(3);
        items_.primary_ = uint32_t(fields.Next(version == 0 ? 2 : 4));
        return fields.Ok();
    }

    bool ReadItemInfos(std::span<const uint8_t> body)
    {
        FieldReader fields(body);
        const uint64_t version = fields.Next(1);
        fields.Next(3);
        fields.Next(version == 0 ? 2 : 4); // the entry count: the boxes say it again
        return fields.Ok() && ForEachBox(fields.Rest(), [this](const Box& box) {
                   if (box.type != FourCc("infe")) {
                       return true;
                   }
                   FieldReader entry(box.body);
                   const uint64_t version = entry.Next(1);
                   entry.Next(3);
                   if (version < 2) {
                       return entry.Ok(); // no item type: nothing we derive from
                   }
                   const uint32_t id = uint32_t(entry.Next(version == 2 ? 2 : 4));
                   entry.Next(2); // protection index
                   items_.items_[id].type = uint32_t(entry.Next(4));
                   return entry.Ok();
               });
    }

    bool ReadReferences(std::span<const uint8_t> body)
    {
        FieldReader fields(body);
        const int idBytes = fields.Next(1) == 0 ? 2 : 4;
        fields.Next(3);
        return fields.Ok() && ForEachBox(fields.Rest(), [&](const Box& box) {
                   FieldReader reference(box.body);
                   const uint32_t from = uint32_t(reference.Next(idBytes));
                   const uint64_t count = reference.Next(2);
                   std::vector<uint32_t> to;
                   for (uint64_t i = 0; i < count && reference.Ok(); ++i) {
                       to.push_back(uint32_t(reference.Next(idBytes)));
                   }
                   if (box.type == FourCc("dimg")) {
                       std::vector<uint32_t>& derivedFrom = items_.items_[from].derivedFrom;
                       derivedFrom.insert(derivedFrom.end(), to.begin(), to.end());
                   }
                   return reference.Ok();
               });
    }

    bool ReadProperties(std::span<const uint8_t> body)
    {
        return ForEachBox(body, [this](const Box& box) {
            if (box.type == FourCc("ipco")) {
                return ForEachBox(box.body, [this](const Box& property) {
                    items_.properties_.push_back({property.type, property.body});
                    return true;
                });
            }
            return box.type != FourCc("ipma") || ReadAssociations(box.body);
        });
    }

    bool ReadAssociations(std::span<const uint8_t> body)
    {
        FieldReader fields(body);
        const uint64_t version = fields.Next(1);
        const bool wideIndices = (fields.Next(3) & 1) != 0;
        const uint64_t entries = fields.Next(4);
        for (uint64_t i = 0; i < entries && fields.Ok(); ++i) {
            std::vector<uint16_t>& properties = items_.items_[uint32_t(fields.Next(version < 1 ? 2 : 4))].properties;
            const uint64_t count = fields.Next(1);
            for (uint64_t j = 0; j < count && fields.Ok(); ++j) {
                const uint64_t association = fields.Next(wideIndices ? 2 : 1);
                properties.push_back(uint16_t(association & (wideIndices ? 0x7FFF : 0x7F)));
            }
        }
        return fields.Ok();
    }

    bool ReadLocations(std::span<const uint8_t> body)
    {
        FieldReader fields(body);
        const uint64_t version = fields.Next(1);
        fields.Next(3);
        const uint64_t sizes = fields.Next(2);
        const int offsetBytes = int(sizes >> 12), lengthBytes = int(sizes >> 8 & 15), baseBytes = int(sizes >> 4 & 15);
        const int indexBytes = version >= 1 ? int(sizes & 15) : 0;
        const uint64_t count = fields.Next(version < 2 ? 2 : 4);
        for (uint64_t i = 0; i < count && fields.Ok(); ++i) {
            const uint32_t id = uint32_t(fields.Next(version < 2 ? 2 : 4));
            const uint64_t method = version >= 1 ? fields.Next(2) & 15 : 0;
            fields.Next(2); // data reference index
            const uint64_t base = fields.Next(baseBytes);
            const uint64_t extents = fields.Next(2);
            for (uint64_t e = 0; e < extents && fields.Ok(); ++e) {
                fields.Next(indexBytes);
                const uint64_t offset = fields.Next(offsetBytes), length = fields.Next(lengthBytes);
                // Only the file and the item data box hold data we read (grid layouts).
                const ByteWalk source(method == 1 ? idat_ : file_);
                if (method <= 1 && source.Has(base + offset, length)) {
                    items_.items_[id].data.push_back(source.Bytes(base + offset, length));
                }
            }
        }
        return fields.Ok();
    }

    std::span<const uint8_t> file_;
    std::span<const uint8_t> idat_;
    HeifItems& items_;
};

std::optional<HeifItems> HeifItems::Read(std::span<const uint8_t> file)
{
    HeifItems items;
    HeifBoxReader reader(file, items);
    bool meta = false;
    const bool read = ForEachBox(file, [&](const Box& box) {
        if (box.type != FourCc("meta")) {
            return true;
        }
        meta = true;
        return reader.ReadMeta(box.body);
    });
    if (!read || !meta || !items.items_.contains(items.primary_)) {
        return std::nullopt;
    }
    for (const uint16_t index : items.items_[items.primary_].properties) {
        if (index == 0 || index > items.properties_.size()) {
            return std::nullopt;
        }
        const Property& property = items.properties_[index - 1];
        FieldReader fields(property.body);
        Transformation transformation;
        if (property.type == FourCc("irot")) {
            transformation.kind = Transformation::Kind::Turn;
            transformation.quarters = int(fields.Next(1) & 3);
        } else if (property.type == FourCc("imir")) {
            transformation.kind = Transformation::Kind::Mirror;
            transformation.axis = int(fields.Next(1) & 1);
        } else if (property.type == FourCc("clap")) {
            transformation.kind = Transformation::Kind::Crop;
            for (int i = 0; i < 4; ++i) {
                // Widths and heights are unsigned, the offsets signed.
                const uint64_t numerator = fields.Next(4);
                transformation.numerators[i] = i < 2 ? int64_t(numerator) : int64_t(int32_t(uint32_t(numerator)));
                transformation.denominators[i] = int64_t(fields.Next(4));
            }
        } else {
            continue;
        }
        if (!fields.Ok()) {
            return std::nullopt;
        }
        items.primaryTransformations_.push_back(transformation);
    }
    return items;
}

HeifItems::Verdict HeifItems::CheckPrimary() const
{
    std::unordered_map<uint32_t, int> depths;
    if (DepthOf(primary_, 0, depths) > MaxDerivationDepth) {
        return Verdict::TooDeep;
    }
    for (const auto& [id, depth] : depths) {
        const auto item = items_.find(id);
        if (item != items_.end() && item->second.type == FourCc("grid") && !GridCovered(item->second)) {
            return Verdict::Damaged;
        }
    }
    return Verdict::Decodable;
}

// Each derivation goes one level down from the primary picture, and no further than
// the limit: a chain of thousands of links is refused before it is walked to its end.
int HeifItems::DepthOf(uint32_t id, int level, std::unordered_map<uint32_t, int>& depths) const
{
    constexpr int Visiting = -1;
    const auto known = depths.find(id);
    if (known != depths.end()) {
        return known->second == Visiting ? MaxDerivationDepth + 1 : known->second;
    }
    const auto item = items_.find(id);
    if (item == items_.end() || item->second.derivedFrom.empty()) {
        return depths[id] = 0;
    }
    if (level >= MaxDerivationDepth) {
        return depths[id] = MaxDerivationDepth + 1;
    }
    depths[id] = Visiting;
    int depth = 0;
    for (const uint32_t from : item->second.derivedFrom) {
        depth = std::max(depth, 1 + DepthOf(from, level + 1, depths));
        if (depth > MaxDerivationDepth) {
            break;
        }
    }
    return depths[id] = std::min(depth, MaxDerivationDepth + 1);
}

// A grid's tiles, all of one size, cover its output and none lies wholly outside it.
bool HeifItems::GridCovered(const Item& grid) const
{
    if (grid.data.size() != 1) {
        return false;
    }
    FieldReader layout(grid.data.front());
    layout.Next(1); // version
    const int sizeBytes = (layout.Next(1) & 1) ? 4 : 2;
    const uint64_t rows = layout.Next(1) + 1, columns = layout.Next(1) + 1;
    const uint64_t width = layout.Next(sizeBytes), height = layout.Next(sizeBytes);
    if (!layout.Ok() || grid.derivedFrom.size() != rows * columns) {
        return false;
    }
    std::optional<std::pair<uint32_t, uint32_t>> tileSize;
    for (const uint32_t id : grid.derivedFrom) {
        const auto tile = items_.find(id);
        const auto size = tile == items_.end() ? std::nullopt : SizeOf(tile->second);
        if (!size || (tileSize && size != tileSize)) {
            return false;
        }
        tileSize = size;
    }
    const uint64_t tileWidth = tileSize->first, tileHeight = tileSize->second;
    return columns * tileWidth >= width && (columns - 1) * tileWidth < width && rows * tileHeight >= height
           && (rows - 1) * tileHeight < height;
}

// The stored size of an item, from its spatial extent property.
std::optional<std::pair<uint32_t, uint32_t>> HeifItems::SizeOf(const Item& item) const
{
    for (const uint16_t index : item.properties) {
        if (index >= 1 && index <= properties_.size() && properties_[index - 1].type == FourCc("ispe")) {
            FieldReader fields(properties_[index - 1].body);
            fields.Next(4); // version and flags
            const uint64_t width = fields.Next(4), height = fields.Next(4);
            if (fields.Ok() && width > 0 && height > 0) {
                return std::pair{uint32_t(width), uint32_t(height)};
            }
        }
    }
    return std::nullopt;
}
