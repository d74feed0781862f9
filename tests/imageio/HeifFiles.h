#pragma once

#include <libheif/heif.h>

#include <algorithm>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// HEIF files put together box by box around pictures coded by libheif (x265), for the
// tests of unusual and forged files and for the fuzz seeds: grids of tiles, grids of
// grids, turns, mirrors and crops. No test framework inside.
namespace heiffiles {

// A picture coded by libheif: its decoder configuration box (hvcC, whole) and its data.
struct CodedPicture {
    std::vector<uint8_t> configuration;
    std::vector<uint8_t> data;
};

inline void Put(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(uint8_t(value >> (8 * i)));
    }
}

inline uint64_t Get(const std::vector<uint8_t>& in, size_t at, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes && at + size_t(i) < in.size(); ++i) {
        value = value << 8 | in[at + size_t(i)];
    }
    return value;
}

inline std::vector<uint8_t> Box(const char* type, const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> box;
    Put(box, 8 + body.size(), 4);
    box.insert(box.end(), type, type + 4);
    box.insert(box.end(), body.begin(), body.end());
    return box;
}

inline std::vector<uint8_t> FullBox(const char* type, uint8_t version, const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> withHeader{version, 0, 0, 0};
    withHeader.insert(withHeader.end(), body.begin(), body.end());
    return Box(type, withHeader);
}

inline std::vector<uint8_t> Join(const std::vector<std::vector<uint8_t>>& parts)
{
    std::vector<uint8_t> joined;
    for (const auto& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

// The boxes in bytes [from, to): type and where each starts, by type (the first of each).
inline std::map<std::string, std::pair<size_t, size_t>> Boxes(const std::vector<uint8_t>& in, size_t from, size_t to)
{
    std::map<std::string, std::pair<size_t, size_t>> boxes;
    for (size_t at = from; at + 8 <= to;) {
        const size_t size = size_t(Get(in, at, 4));
        boxes.emplace(std::string(in.begin() + long(at) + 4, in.begin() + long(at) + 8), std::pair{at, size});
        at += size < 8 ? to : size;
    }
    return boxes;
}

// Codes a flat-coloured picture with libheif and takes the parts the boxes below need.
inline CodedPicture Code(int32_t width, int32_t height, uint32_t rgb, int bitDepth = 8)
{
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_image* picture = nullptr;
    const bool deep = bitDepth > 8;
    heif_image_create(width, height, heif_colorspace_RGB,
                      deep ? heif_chroma_interleaved_RRGGBB_LE : heif_chroma_interleaved_RGB, &picture);
    heif_image_add_plane(picture, heif_channel_interleaved, width, height, bitDepth);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                const uint32_t value = rgb >> (16 - 8 * c) & 0xFF;
                if (deep) {
                    const uint32_t wide = value << (bitDepth - 8);
                    plane[y * stride + (3 * x + c) * 2] = uint8_t(wide), plane[y * stride + (3 * x + c) * 2 + 1] = uint8_t(wide >> 8);
                } else {
                    plane[y * stride + 3 * x + c] = uint8_t(value);
                }
            }
        }
    }
    heif_context_encode_image(context, picture, encoder, nullptr, nullptr);
    std::vector<uint8_t> file;
    heif_writer writer{1, [](heif_context*, const void* data, size_t size, void* out) {
                           auto* bytes = static_cast<const uint8_t*>(data);
                           static_cast<std::vector<uint8_t>*>(out)->insert(static_cast<std::vector<uint8_t>*>(out)->end(),
                                                                             bytes, bytes + size);
                           return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                       }};
    heif_context_write(context, &writer, &file);
    heif_image_release(picture);
    heif_encoder_release(encoder);
    heif_context_free(context);

    // One picture: the hvcC box inside meta/iprp/ipco, the data where iloc's one extent is.
    CodedPicture coded;
    const auto top = Boxes(file, 0, file.size());
    const auto [metaAt, metaSize] = top.at("meta");
    const auto meta = Boxes(file, metaAt + 12, metaAt + metaSize);
    const auto [iprpAt, iprpSize] = meta.at("iprp");
    const auto [ipcoAt, ipcoSize] = Boxes(file, iprpAt + 8, iprpAt + iprpSize).at("ipco");
    const auto [hvcCAt, hvcCSize] = Boxes(file, ipcoAt + 8, ipcoAt + ipcoSize).at("hvcC");
    coded.configuration.assign(file.begin() + long(hvcCAt), file.begin() + long(hvcCAt + hvcCSize));
    const size_t iloc = meta.at("iloc").first + 8;
    const int version = file[iloc];
    const int offsetBytes = file[iloc + 4] >> 4, lengthBytes = file[iloc + 4] & 15, baseBytes = file[iloc + 5] >> 4;
    size_t at = iloc + 6 + (version < 2 ? 2 : 4) + (version < 2 ? 2 : 4) + (version >= 1 ? 2 : 0) + 2;
    const uint64_t base = Get(file, at, baseBytes);
    at += size_t(baseBytes) + 2; // the extent count: one
    const uint64_t offset = base + Get(file, at, offsetBytes), length = Get(file, at + size_t(offsetBytes), lengthBytes);
    coded.data.assign(file.begin() + long(offset), file.begin() + long(offset + length));
    return coded;
}

inline std::vector<uint8_t> Ispe(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> body;
    Put(body, width, 4), Put(body, height, 4);
    return FullBox("ispe", 0, body);
}
inline std::vector<uint8_t> Irot(int quarters) { return Box("irot", {uint8_t(quarters)}); }
inline std::vector<uint8_t> Imir(int axis) { return Box("imir", {uint8_t(axis)}); }
// Width, height, horizontal and vertical offset, each as numerator and denominator.
inline std::vector<uint8_t> Clap(const std::vector<int32_t>& fractions)
{
    std::vector<uint8_t> body;
    for (const int32_t value : fractions) {
        Put(body, uint32_t(value), 4);
    }
    return Box("clap", body);
}
inline std::vector<uint8_t> GridLayout(int rows, int columns, uint32_t width, uint32_t height)
{
    std::vector<uint8_t> layout{0, 0, uint8_t(rows - 1), uint8_t(columns - 1)};
    Put(layout, width, 2), Put(layout, height, 2);
    return layout;
}

// One item: a coded picture ("hvc1", its data in the media data box) or a grid ("grid",
// its layout in the item data box), its properties in order, and the items it is
// derived from. Items are numbered from 1 in order.
struct Item {
    std::string type;
    std::vector<uint8_t> data;
    std::vector<std::vector<uint8_t>> properties; // whole boxes; transformations are essential
    std::vector<uint16_t> derivedFrom;
};

inline Item Coded(const CodedPicture& picture, uint32_t width, uint32_t height)
{
    return {"hvc1", picture.data, {picture.configuration, Ispe(width, height)}, {}};
}
inline Item Grid(int rows, int columns, uint32_t width, uint32_t height, std::vector<uint16_t> tiles)
{
    return {"grid", GridLayout(rows, columns, width, height), {Ispe(width, height)}, std::move(tiles)};
}

inline std::vector<uint8_t> HeifFile(const std::vector<Item>& items, uint16_t primary)
{
    std::vector<std::vector<uint8_t>> properties; // each box once
    std::vector<uint8_t> associations, infos, references, itemData;
    Put(associations, items.size(), 4);
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        Put(associations, i + 1, 2), Put(associations, item.properties.size(), 1);
        for (const auto& property : item.properties) {
            auto found = std::find(properties.begin(), properties.end(), property);
            if (found == properties.end()) {
                found = properties.insert(properties.end(), property);
            }
            const bool essential = property[4] != 'i' || property[5] != 's'; // all but ispe
            Put(associations, uint64_t(essential) << 7 | uint64_t(found - properties.begin() + 1), 1);
        }
        std::vector<uint8_t> info;
        Put(info, i + 1, 2), Put(info, 0, 2);
        info.insert(info.end(), item.type.begin(), item.type.end());
        info.push_back(0);
        infos = Join({infos, FullBox("infe", 2, info)});
        if (!item.derivedFrom.empty()) {
            std::vector<uint8_t> reference;
            Put(reference, i + 1, 2), Put(reference, item.derivedFrom.size(), 2);
            for (const uint16_t from : item.derivedFrom) {
                Put(reference, from, 2);
            }
            references = Join({references, Box("dimg", reference)});
        }
    }
    const std::vector<uint8_t> ftyp = Box("ftyp", {'h', 'e', 'i', 'c', 0, 0, 0, 0, 'm', 'i', 'f', '1', 'h', 'e', 'i', 'c'});
    auto meta = [&](uint64_t mediaStart) {
        std::vector<uint8_t> locations{0x44, 0x00};
        Put(locations, items.size(), 2);
        uint64_t media = mediaStart, inItemData = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            const bool grid = items[i].type == "grid";
            Put(locations, i + 1, 2), Put(locations, grid ? 1 : 0, 2), Put(locations, 0, 2), Put(locations, 1, 2);
            Put(locations, grid ? inItemData : media, 4), Put(locations, items[i].data.size(), 4);
            (grid ? inItemData : media) += items[i].data.size();
        }
        std::vector<uint8_t> count;
        Put(count, items.size(), 2);
        std::vector<uint8_t> primaryId;
        Put(primaryId, primary, 2);
        std::vector<uint8_t> gridData;
        for (const Item& item : items) {
            if (item.type == "grid") {
                gridData.insert(gridData.end(), item.data.begin(), item.data.end());
            }
        }
        return FullBox("meta", 0, Join({FullBox("hdlr", 0, {0, 0, 0, 0, 'p', 'i', 'c', 't', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
                                       FullBox("pitm", 0, primaryId), FullBox("iloc", 1, locations),
                                       FullBox("iinf", 0, Join({count, infos})), FullBox("iref", 0, references),
                                       Box("iprp", Join({Box("ipco", Join(properties)), FullBox("ipma", 0, associations)})),
                                       Box("idat", gridData)}));
    };
    std::vector<uint8_t> media;
    for (const Item& item : items) {
        if (item.type != "grid") {
            media.insert(media.end(), item.data.begin(), item.data.end());
        }
    }
    const size_t mediaStart = ftyp.size() + meta(0).size() + 8;
    return Join({ftyp, meta(mediaStart), Box("mdat", media)});
}

} // namespace heiffiles
