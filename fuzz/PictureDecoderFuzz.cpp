// Any bytes as a picture file, through every reader as the decoder helper runs them
// (ours, libheif's, Qt's plugins): a picture or a message, within little memory and
// time, never memory the decoder did not write.
#include "decoderhelper/QtPictureReader.h"
#include "imageio/InProcessDecoder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A budget of its own, so that what the decoder may allocate stays within the fuzzer's.
    QtPictureReader plugins;
    const DecodeResult result = InProcessDecoder(MemoryBudget(uint64_t(768) << 20), &plugins).Decode({data, size});
    if (result.Ok() && result.bitmap->IsEmpty()) {
        __builtin_trap();
    }
    if (!result.Ok() && result.message.empty()) {
        __builtin_trap();
    }
    return 0;
}
