// Any bytes as a picture file: the decoder must give a picture or a message, within
// little memory and time, and never read or show memory it did not write.
#include "imageio/PictureDecoder.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/miravo-fuzz-picture-" + std::to_string(::getpid());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    // A budget of its own, so that what the decoder may allocate stays within the fuzzer's.
    const DecodeResult result = PictureDecoder(MemoryBudget(uint64_t(768) << 20)).Decode(path);
    if (result.Ok() && result.bitmap->IsEmpty()) {
        __builtin_trap();
    }
    if (!result.Ok() && result.message.empty()) {
        __builtin_trap();
    }
    return 0;
}
