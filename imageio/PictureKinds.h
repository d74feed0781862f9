#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What decodes a kind of picture file: a reader of our own, libheif, or one of Qt's
// image plugins.
enum class PictureReader { Jpeg, Png, Bmp, Heif, QtPlugin };

// Whether the desktop entry offers the program for files of a kind ("Open with").
enum class DesktopOffer { Offered, NotOffered };

// One kind of picture file the program opens. Every list of kinds elsewhere (the
// messages, the open dialog, the drop filter, the desktop entry) is made from the table.
struct PictureKind {
    std::string_view name;                  // as the messages name it: "JPEG"
    std::vector<std::string_view> suffixes; // file-name suffixes, lower case, without the dot
    std::vector<std::string_view> mimeTypes;
    PictureReader reader;
    // Whether a file's first bytes are this kind's signature: the file's own word,
    // whatever its name says.
    bool (*startsAsKind)(std::span<const uint8_t> file);
    std::string_view dialogFilter; // its own line in the open dialog ("JPEG Files"); empty: none
    DesktopOffer desktop;
};

// Every kind, in the order the messages and the dialog list them.
std::span<const PictureKind> PictureKinds();

// The kind whose signature the file starts with; null when none does.
const PictureKind* KindOfFile(std::span<const uint8_t> file);

// Whether a file name ends in the suffix of a kind, in any letter case ("IMG_0001.JPG").
bool HasPictureSuffix(std::string_view fileName);

// The kinds' names for a sentence: "JPEG, PNG, BMP, GIF, TIFF, WebP 和 HEIC".
std::string PictureKindList();

// The MIME types the desktop entry names, in table order, without repeats.
std::vector<std::string_view> DesktopMimeTypes();
