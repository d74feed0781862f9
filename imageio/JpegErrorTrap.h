#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// libjpeg reports a fatal error by calling error_exit, which must not return. The trap
// jumps back to the setjmp in the function that made the libjpeg call, so every
// function that calls libjpeg arms the trap first and keeps no C++ objects with
// destructors alive across those calls. Messages never go to stderr.
struct JpegErrorTrap {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
    // A file that ends before its picture does: libjpeg would only warn and fill the
    // rest with grey, which we treat as damage instead.
    bool endedEarly = false;

    // Installs the trap as the error manager of a compress or decompress object.
    jpeg_error_mgr* Install();
};
