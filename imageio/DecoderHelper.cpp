#include "imageio/DecoderHelper.h"

#include "imageio/HelperProtocol.h"
#include "imageio/MemoryFile.h"
#include "imageio/Messages.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using helperprotocol::Record;

// An open descriptor, closed when it ends.
class Descriptor {
public:
    explicit Descriptor(int descriptor = -1) : descriptor_(descriptor) {}
    ~Descriptor()
    {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return descriptor_; }

private:
    int descriptor_;
};

// A copy of the descriptor numbered above the helper's own (0 to 3), so that handing
// them over never overwrites one still to be handed over.
Descriptor Above(int descriptor) { return Descriptor(::fcntl(descriptor, F_DUPFD_CLOEXEC, 10)); }

// The helper's process id, or -1 with errno set when it cannot be started.
pid_t Spawn(const std::filesystem::path& program, uint64_t budget, int file, int replies, int pixels)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, file, helperprotocol::FileDescriptor);
    posix_spawn_file_actions_adddup2(&actions, replies, helperprotocol::ReplyDescriptor);
    posix_spawn_file_actions_adddup2(&actions, pixels, helperprotocol::PixelsDescriptor);
    posix_spawn_file_actions_addclosefrom_np(&actions, helperprotocol::PixelsDescriptor + 1);
    std::string path = program.string();
    std::string budgetText = std::to_string(budget);
    char* arguments[] = {path.data(), budgetText.data(), nullptr};
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    errno = error;
    return error == 0 ? pid : -1;
}

// The records in the bytes read so far, a refusal with its message.
class RecordReader {
public:
    explicit RecordReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    // The next whole record; nothing when the bytes end first.
    std::optional<Record> Next(std::string& text)
    {
        Record record;
        if (bytes_.size() - at_ < sizeof record) {
            return std::nullopt;
        }
        std::memcpy(&record, bytes_.data() + at_, sizeof record);
        const size_t textBytes = record.kind == Record::Kind::Refused ? record.textBytes : 0;
        if (textBytes > helperprotocol::MaxTextBytes || bytes_.size() - at_ - sizeof record < textBytes) {
            return std::nullopt;
        }
        text.assign(reinterpret_cast<const char*>(bytes_.data() + at_ + sizeof record), textBytes);
        at_ += sizeof record + textBytes;
        return record;
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t at_ = 0;
};

DecodeResult HelperFailure(const char* reason) { return DecodeFailure(DecodeProblem::DecoderFailed, reason); }

} // namespace

struct DecoderHelper::Reply {
    std::vector<uint8_t> bytes;
    bool timedOut = false;
    int status = 0;
};

DecoderHelper::DecoderHelper(MemoryBudget budget, std::filesystem::path program)
    : budget_(budget), program_(std::move(program))
{
}

DecodeResult DecoderHelper::Decode(const MemoryFile& file) const
{
    std::optional<MemoryFile> pixels = MemoryFile::Create("miravo-pixels");
    int pipeEnds[2] = {-1, -1};
    if (!pixels || ::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return HelperFailure(messages::DecoderNotStarted);
    }
    const Descriptor replies(pipeEnds[0]);
    pid_t pid = -1;
    int spawnError = 0;
    {
        const Descriptor writeEnd(pipeEnds[1]);
        const Descriptor fileCopy = Above(file.Descriptor()), writeCopy = Above(writeEnd.Get());
        const Descriptor pixelsCopy = Above(pixels->Descriptor());
        pid = Spawn(program_, budget_.AvailableBytes(), fileCopy.Get(), writeCopy.Get(), pixelsCopy.Get());
        spawnError = errno;
    }
    if (pid < 0) {
        const bool missing = spawnError == ENOENT || spawnError == EACCES || spawnError == ENOEXEC
                             || spawnError == ENOTDIR;
        return HelperFailure(missing ? messages::DecoderMissing : messages::DecoderNotStarted);
    }
    return Collect(pid, replies.Get(), *pixels);
}

// Reads the helper's records until it closes its pipe or runs out of time, then reaps it.
DecodeResult DecoderHelper::Collect(int pid, int replies, const MemoryFile& pixels) const
{
    Reply reply;
    const Clock::time_point deadline = Clock::now() + timeLimit_;
    Clock::time_point lastWaiting = Clock::now();
    bool sizeTold = false, open = true;
    while (open && !reply.timedOut) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd ready{replies, POLLIN, 0};
        if (left.count() <= 0) {
            reply.timedOut = true;
        } else if (::poll(&ready, 1, int(std::min(left, WaitingInterval).count())) > 0) {
            uint8_t chunk[8192];
            const ssize_t got = ::read(replies, chunk, sizeof chunk);
            open = got > 0 || (got < 0 && errno == EINTR);
            reply.bytes.insert(reply.bytes.end(), chunk, chunk + std::max<ssize_t>(got, 0));
        }
        std::string text;
        RecordReader records(reply.bytes);
        for (auto record = records.Next(text); record && !sizeTold; record = records.Next(text)) {
            if (record->kind == Record::Kind::SizeKnown && sizeKnown_) {
                sizeKnown_(record->width, record->height);
                sizeTold = true;
            }
        }
        if (waiting_ && Clock::now() - lastWaiting >= WaitingInterval) {
            waiting_();
            lastWaiting = Clock::now();
        }
    }
    Reap(pid, deadline, reply);
    return Result(reply, pixels);
}

// A helper that closed its pipe ends at once; one that does not in time is stopped.
void DecoderHelper::Reap(int pid, std::chrono::steady_clock::time_point deadline, Reply& reply)
{
    for (pid_t reaped = 0; !reply.timedOut && reaped != pid;) {
        reaped = ::waitpid(pid, &reply.status, WNOHANG);
        if (reaped < 0 && errno != EINTR) {
            break;
        }
        reply.timedOut = reaped != pid && Clock::now() > deadline;
        std::this_thread::sleep_for(std::chrono::microseconds(reaped == pid ? 0 : 200));
    }
    if (reply.timedOut) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &reply.status, 0);
    }
}

DecodeResult DecoderHelper::Result(const Reply& reply, const MemoryFile& pixels) const
{
    if (reply.timedOut) {
        return HelperFailure(messages::DecoderTimedOut);
    }
    std::string text;
    RecordReader records(reply.bytes);
    std::optional<Record> last;
    for (auto record = records.Next(text); record; record = records.Next(text)) {
        if (record->kind != Record::Kind::SizeKnown) {
            last = record;
            break;
        }
    }
    if (!last || !WIFEXITED(reply.status) || WEXITSTATUS(reply.status) != 0) {
        return HelperFailure(messages::DecoderCrashed);
    }
    if (last->kind == Record::Kind::Refused && last->problem <= uint32_t(DecodeProblem::DecoderFailed)) {
        DecodeResult refused;
        refused.problem = DecodeProblem(last->problem);
        refused.message = text;
        refused.helperPeakBytes = last->peakBytes;
        return refused;
    }
    const bool decoded = last->kind == Record::Kind::Decoded;
    const uint64_t pixelBytes = decoded ? uint64_t(std::max(last->width, 0)) * uint64_t(std::max(last->height, 0)) * 4 : 0;
    const std::optional<uint64_t> fileBytes = pixels.Size();
    if (pixelBytes == 0 || !budget_.CanHold(last->width, last->height) || !fileBytes
        || *fileBytes < pixelBytes + last->exifBytes + last->profileBytes) {
        return HelperFailure(messages::DecoderCrashed);
    }
    PictureMetadata metadata;
    metadata.exif.resize(last->exifBytes);
    metadata.iccProfile.resize(last->profileBytes);
    const int descriptor = pixels.Descriptor();
    if (::pread(descriptor, metadata.exif.data(), last->exifBytes, off_t(pixelBytes)) != ssize_t(last->exifBytes)
        || ::pread(descriptor, metadata.iccProfile.data(), last->profileBytes, off_t(pixelBytes + last->exifBytes))
               != ssize_t(last->profileBytes)) {
        return HelperFailure(messages::DecoderCrashed);
    }
    MemoryFile::Mapping mapping = pixels.Map(pixelBytes, MemoryFile::Access::ReadWrite, true);
    if (!mapping.Data()) {
        return TooLargeFailure(last->width, last->height);
    }
    pixels.Resize(pixelBytes); // the metadata's pages go back to the system
    auto* data = static_cast<gfx::Argb*>(mapping.Release());
    gfx::PixelBlock block = gfx::PixelMemory::AdoptMapping(data, pixelBytes);
    DecodeResult result = Decoded(gfx::Bitmap::Adopt(last->width, last->height, std::move(block)), std::move(metadata));
    result.helperPeakBytes = last->peakBytes;
    return result;
}
