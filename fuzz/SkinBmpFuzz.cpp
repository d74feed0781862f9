// Any bytes as a skin bitmap file.
#include "gfx/BmpFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto bitmap = gfx::ReadBmp({data, size});
    if (bitmap && bitmap->IsEmpty()) {
        __builtin_trap();
    }
    return 0;
}
