// Any bytes as a cursor file.
#include "shell/CursorFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto cursor = shell::CursorFile::FromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!cursor.IsEmpty() && (cursor.Hotspot().x() >= cursor.Image().width() || cursor.Hotspot().y() >= cursor.Image().height())) {
        __builtin_trap();
    }
    return 0;
}
