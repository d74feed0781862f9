#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// libjpeg reports a fatal error by calling error_exit, which must not return. The trap
// jumps back to the setjmp in the function that made the libjpeg call, so every
// function that calls libjpeg arms the trap first and keeps no C++ objects with
// destructors alive across those calls. Messages never go to stderr.
struct JpegErrorTrap {
    // Why the trap jumped.
    enum class Stop { None, Damaged, TooManyScans, OutOfMemory };
    // A progressive file of more scans takes minutes to decode and is never a real photo.
    static constexpr int MaxScans = 100;

    jpeg_error_mgr manager{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    Stop stop = Stop::None;

    // Installs the trap as the error manager of a compress or decompress object.
    jpeg_error_mgr* Install();
    // Stops a decompression whose scan count passes MaxScans.
    void WatchScans(jpeg_decompress_struct& info);
};
