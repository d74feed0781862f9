#include "imageio/JpegErrorTrap.h"

#include <jerror.h>

namespace {

JpegErrorTrap& TrapOf(j_common_ptr info)
{
    // The manager is the trap's first member.
    return *reinterpret_cast<JpegErrorTrap*>(info->err);
}

[[noreturn]] void JumpOut(j_common_ptr info)
{
    std::longjmp(TrapOf(info).jump, 1);
}

void NoteWarning(j_common_ptr info, int level)
{
    JpegErrorTrap& trap = TrapOf(info);
    if (level >= 0) {
        return; // trace messages
    }
    ++trap.manager.num_warnings;
    if (trap.manager.msg_code == JWRN_JPEG_EOF) {
        trap.endedEarly = true;
        JumpOut(info);
    }
}

void Silent(j_common_ptr) {}

} // namespace

jpeg_error_mgr* JpegErrorTrap::Install()
{
    jpeg_std_error(&manager);
    manager.error_exit = JumpOut;
    manager.emit_message = NoteWarning;
    manager.output_message = Silent;
    return &manager;
}
