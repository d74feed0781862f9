#include "imageio/JpegFileName.h"

#include <algorithm>
#include <string>
#include <string_view>

std::filesystem::path WithJpegExtension(const std::filesystem::path& path)
{
    const std::string& name = path.native();
    const size_t lastDot = name.rfind('.');
    const size_t lastSlash = name.rfind('/');
    const bool dotInFileName = lastDot != std::string::npos && (lastSlash == std::string::npos || lastDot > lastSlash);
    const std::string_view extension = dotInFileName ? std::string_view(name).substr(lastDot + 1) : std::string_view();
    const bool jpg = std::equal(extension.begin(), extension.end(), "jpg", "jpg" + 3,
                                [](char a, char b) { return (a | 0x20) == b; });
    return jpg ? path : std::filesystem::path(name + ".jpg");
}
