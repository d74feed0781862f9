#include "decoderhelper/HelperMain.h"

#include "decoderhelper/QtPictureReader.h"
#include "imageio/HelperProtocol.h"
#include "imageio/InProcessDecoder.h"
#include "imageio/MemoryFile.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <string>
#include <new>
#include <string_view>

namespace {

using helperprotocol::Record;

void Write(const void* data, size_t bytes)
{
    const auto* at = static_cast<const uint8_t*>(data);
    while (bytes > 0) {
        const ssize_t written = ::write(helperprotocol::ReplyDescriptor, at, bytes);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            _exit(1);
        }
        at += written;
        bytes -= size_t(written);
    }
}

bool Append(const MemoryFile& file, const std::vector<uint8_t>& bytes, uint64_t at)
{
    return bytes.empty() || ::pwrite(file.Descriptor(), bytes.data(), bytes.size(), off_t(at)) == ssize_t(bytes.size());
}

// The process's resident memory at its peak since it started this program (the
// resource usage the parent sees counts the time before, when it shared the parent's).
uint64_t PeakBytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stoull(line.substr(6)) * 1024;
        }
    }
    return 0;
}

[[noreturn]] void Tell(const DecodeResult& result, const MemoryFile& pixels)
{
    Record record;
    if (result.Ok()) {
        const gfx::Bitmap& bitmap = *result.bitmap;
        const uint64_t pixelBytes = uint64_t(bitmap.Width()) * uint64_t(bitmap.Height()) * 4;
        const PictureMetadata& metadata = result.metadata;
        if (!Append(pixels, metadata.exif, pixelBytes)
            || !Append(pixels, metadata.iccProfile, pixelBytes + metadata.exif.size())) {
            _exit(1);
        }
        record = {Record::Kind::Decoded, bitmap.Width(), bitmap.Height(), 0, 0, metadata.exif.size(),
                  metadata.iccProfile.size(), PeakBytes()};
        Write(&record, sizeof record);
    } else {
        const std::string_view text = std::string_view(result.message).substr(0, helperprotocol::MaxTextBytes);
        record = {Record::Kind::Refused, 0, 0, uint32_t(result.problem), uint32_t(text.size()), 0, 0, PeakBytes()};
        Write(&record, sizeof record);
        Write(text.data(), text.size());
    }
    // Nothing of the process is needed any more: the plugins' and libraries' own
    // clean-up is skipped.
    _exit(0);
}

} // namespace

void RunDecoderHelper(int argc, char** argv, const std::function<void(std::span<const uint8_t> file)>& beforeDecoding)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL); // the program's end is the helper's
    uint64_t budget = 0;
    const std::string_view argument = argc == 2 ? argv[1] : "";
    if (std::from_chars(argument.data(), argument.data() + argument.size(), budget).ec != std::errc()) {
        _exit(2);
    }
    const MemoryFile file(helperprotocol::FileDescriptor);
    const MemoryFile pixels(helperprotocol::PixelsDescriptor);
    const std::optional<uint64_t> fileBytes = file.Size();
    const MemoryFile::Mapping mapping = file.Map(fileBytes.value_or(0), MemoryFile::Access::ReadOnly);
    if (!mapping.Data()) {
        _exit(3);
    }
    const std::span<const uint8_t> bytes(static_cast<const uint8_t*>(mapping.Data()), size_t(mapping.Bytes()));
    if (beforeDecoding) {
        beforeDecoding(bytes);
    }
    QtPictureReader plugins;
    InProcessDecoder decoder{MemoryBudget(budget), &plugins};
    decoder.OnSizeKnown([](int32_t width, int32_t height) {
        const Record record{Record::Kind::SizeKnown, width, height, 0, 0, 0, 0, 0};
        Write(&record, sizeof record);
    });
    MemoryFile::Mapping target;
    decoder.PutPixels([&](int32_t width, int32_t height) {
        const uint64_t pixelBytes = uint64_t(width) * uint64_t(height) * 4;
        target = pixels.Resize(pixelBytes) ? pixels.Map(pixelBytes, MemoryFile::Access::ReadWrite, true)
                                           : MemoryFile::Mapping();
        if (!target.Data()) {
            throw std::bad_alloc();
        }
        return gfx::Bitmap::Borrow(width, height, static_cast<gfx::Argb*>(target.Data()));
    });
    Tell(decoder.Decode(bytes), pixels);
}
