#include "imageio/PictureKinds.h"

#include "imageio/HeifReader.h"

#include <algorithm>
#include <cstring>

namespace {

bool StartsWith(std::span<const uint8_t> file, std::string_view start, size_t at = 0)
{
    return file.size() >= at + start.size() && std::memcmp(file.data() + at, start.data(), start.size()) == 0;
}

bool IsJpeg(std::span<const uint8_t> file) { return StartsWith(file, "\xFF\xD8\xFF"); }
bool IsPng(std::span<const uint8_t> file) { return StartsWith(file, "\x89PNG\r\n\x1A\n"); }
bool IsBmp(std::span<const uint8_t> file) { return StartsWith(file, "BM"); }
bool IsGif(std::span<const uint8_t> file) { return StartsWith(file, "GIF87a") || StartsWith(file, "GIF89a"); }
bool IsWebp(std::span<const uint8_t> file) { return StartsWith(file, "RIFF") && StartsWith(file, "WEBP", 8); }

// Classic TIFF (42) and BigTIFF (43), in either byte order.
bool IsTiff(std::span<const uint8_t> file)
{
    using namespace std::string_view_literals;
    return StartsWith(file, "II*\0"sv) || StartsWith(file, "MM\0*"sv) || StartsWith(file, "II+\0"sv)
           || StartsWith(file, "MM\0+"sv);
}

// A GIF is most often an animation, of which only the first frame opens: the desktop
// does not offer the program for it.
const std::vector<PictureKind>& Table()
{
    static const std::vector<PictureKind> kinds = {
        {"JPEG", {"jpg", "jpeg"}, {"image/jpeg"}, PictureReader::Jpeg, IsJpeg, "JPEG Files", DesktopOffer::Offered},
        {"PNG", {"png"}, {"image/png"}, PictureReader::Png, IsPng, "PNG Files", DesktopOffer::Offered},
        {"BMP", {"bmp"}, {"image/bmp"}, PictureReader::Bmp, IsBmp, "Bitmap Files", DesktopOffer::Offered},
        {"GIF", {"gif"}, {"image/gif"}, PictureReader::QtPlugin, IsGif, {}, DesktopOffer::NotOffered},
        {"TIFF", {"tif", "tiff"}, {"image/tiff"}, PictureReader::QtPlugin, IsTiff, {}, DesktopOffer::Offered},
        {"WebP", {"webp"}, {"image/webp"}, PictureReader::QtPlugin, IsWebp, {}, DesktopOffer::Offered},
        {"HEIC", {"heic", "heif"}, {"image/heif", "image/heic"}, PictureReader::Heif, HeifReader::IsHeif, {},
         DesktopOffer::Offered},
    };
    return kinds;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool EndsWithSuffix(std::string_view name, std::string_view suffix)
{
    if (name.size() <= suffix.size() || name[name.size() - suffix.size() - 1] != '.') {
        return false;
    }
    const std::string_view end = name.substr(name.size() - suffix.size());
    return std::equal(end.begin(), end.end(), suffix.begin(), [](char a, char b) { return Lower(a) == b; });
}

} // namespace

std::span<const PictureKind> PictureKinds() { return Table(); }

const PictureKind* KindOfFile(std::span<const uint8_t> file)
{
    for (const PictureKind& kind : Table()) {
        if (kind.startsAsKind(file)) {
            return &kind;
        }
    }
    return nullptr;
}

bool HasPictureSuffix(std::string_view fileName)
{
    return std::any_of(Table().begin(), Table().end(), [fileName](const PictureKind& kind) {
        return std::any_of(kind.suffixes.begin(), kind.suffixes.end(),
                           [fileName](std::string_view suffix) { return EndsWithSuffix(fileName, suffix); });
    });
}

std::string PictureKindList()
{
    std::string list;
    const std::vector<PictureKind>& kinds = Table();
    for (size_t i = 0; i < kinds.size(); ++i) {
        if (i > 0) {
            list += i + 1 == kinds.size() ? " 和 " : ", ";
        }
        list += kinds[i].name;
    }
    return list;
}

std::vector<std::string_view> DesktopMimeTypes()
{
    std::vector<std::string_view> types;
    for (const PictureKind& kind : Table()) {
        for (std::string_view type : kind.mimeTypes) {
            if (kind.desktop == DesktopOffer::Offered && std::find(types.begin(), types.end(), type) == types.end()) {
                types.push_back(type);
            }
        }
    }
    return types;
}
