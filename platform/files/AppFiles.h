#pragma once

#include "gfx/Bitmap.h"

#include <filesystem>
#include <memory>
#include <string>

// The program's skin files live in a folder named "data", found beside the program
// or, for an installed program, in share/miravo/data beside its bin folder. Both are
// looked up from the program's own path, never from the current directory, so the
// program finds its skin however it was started.

// The program's name for the desktop: its desktop entry, theme icon and metainfo files
// are named after it.
inline constexpr char kDesktopId[] = "org.miravo.Miravo";

// The data folder in use: the first candidate that exists (the one beside the program
// when none does).
std::filesystem::path AppDataDir();

// Loads a skin bitmap, given relative to the data folder ("main.bmp", "x.bmp").
// Empty when the file is missing or is not a readable bitmap file.
std::shared_ptr<gfx::Bitmap> LoadAppImage(const std::string& relativePath);
// A skin image for a screen of `scale` device pixels per window pixel: for 2, the image
// drawn at twice the size ("main@2x.bmp" beside "main.bmp"), or the plain one enlarged
// when that is missing; for 1, the plain one.
std::shared_ptr<gfx::Bitmap> LoadAppImage(const std::string& relativePath, int scale);
// "name@2x.bmp" for "name.bmp" and scale 2; the path itself for scale 1.
std::string ScaledImageName(const std::string& relativePath, int scale);

// The cursor file of a tool or of "help" and "hand": <data>/<name>.cur.
std::filesystem::path CursorFilePath(const std::string& name);

// The decoder helper program: beside the program in a build folder, in
// libexec/miravo beside the bin folder of an installed one. A program other than the
// real one for tests (one that fails on purpose) when one was set.
std::filesystem::path DecoderHelperPath();
void SetDecoderHelperForTesting(const std::filesystem::path& program);

// Points the data folder lookup at another program folder (tests, tools that run
// from elsewhere); an empty path returns to the running program's own folder.
void SetAppDirForTesting(const std::filesystem::path& programDir);
