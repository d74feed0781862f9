#include "imageio/SaveResult.h"

#include "imageio/Messages.h"

#include <cerrno>

std::string SaveFailureMessage(int error)
{
    const char* reason = nullptr;
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: reason = messages::DiskFull; break;
    case EACCES:
    case EPERM:
    case EROFS: reason = messages::NoWritePermission; break;
    case EISDIR: reason = messages::PathIsFolder; break;
    case ENOENT:
    case ENOTDIR: reason = messages::FolderMissing; break;
    case ENAMETOOLONG: reason = messages::NameTooLong; break;
    default: break;
    }
    const std::string detail = reason ? reason : messages::Filled(messages::WriteError, {std::to_string(error)});
    return messages::SaveFailed + detail;
}
