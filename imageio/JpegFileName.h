#pragma once

#include <filesystem>

// The name a picture is saved under: the chosen path, with ".jpg" appended unless the
// file name already ends in ".jpg" in any letter case. Only a dot in the file name
// itself counts, not one in a folder name ("my.photos/portrait" gets ".jpg").
std::filesystem::path WithJpegExtension(const std::filesystem::path& path);
