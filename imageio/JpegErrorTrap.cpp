#include "imageio/JpegErrorTrap.h"

#include <jerror.h>

namespace {

constexpr int EndOfImage = 0xD9;

JpegErrorTrap& TrapOf(j_common_ptr info)
{
    // The manager is the trap's first member.
    return *reinterpret_cast<JpegErrorTrap*>(info->err);
}

[[noreturn]] void JumpOut(j_common_ptr info, JpegErrorTrap::Stop stop)
{
    JpegErrorTrap& trap = TrapOf(info);
    trap.stop = stop;
    std::longjmp(trap.jump, 1);
}

[[noreturn]] void ExitOnError(j_common_ptr info)
{
    const int code = info->err->msg_code;
    const bool memory = code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE;
    JumpOut(info, memory ? JpegErrorTrap::Stop::OutOfMemory : JpegErrorTrap::Stop::Damaged);
}

// libjpeg only warns about corrupt or missing data and fills the gaps with grey; we
// treat those warnings as damage. Junk after the last scan loses no pixels, and a bad
// colour profile only costs the profile.
bool WarnsOfLostPixels(const jpeg_error_mgr& manager)
{
    switch (manager.msg_code) {
    case JWRN_EXTRANEOUS_DATA: return manager.msg_parm.i[1] != EndOfImage;
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL: return true;
    default: return false;
    }
}

void NoteWarning(j_common_ptr info, int level)
{
    if (level >= 0) {
        return; // trace messages
    }
    ++info->err->num_warnings;
    if (WarnsOfLostPixels(*info->err)) {
        JumpOut(info, JpegErrorTrap::Stop::Damaged);
    }
}

void Silent(j_common_ptr) {}

void CountScans(j_common_ptr info)
{
    if (info->is_decompressor
        && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > JpegErrorTrap::MaxScans) {
        JumpOut(info, JpegErrorTrap::Stop::TooManyScans);
    }
}

} // namespace

jpeg_error_mgr* JpegErrorTrap::Install()
{
    jpeg_std_error(&manager);
    manager.error_exit = ExitOnError;
    manager.emit_message = NoteWarning;
    manager.output_message = Silent;
    return &manager;
}

void JpegErrorTrap::WatchScans(jpeg_decompress_struct& info)
{
    progress.progress_monitor = CountScans;
    info.progress = &progress;
}
