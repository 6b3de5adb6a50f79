#include "support/FollowLinks.h"

#include "support/BrimloError.h"
#include "support/LocalFileName.h"

#include <system_error>

namespace brimlo {

namespace {

constexpr int kMaxLinks = 40; // as the kernel allows

} // namespace

std::filesystem::path FollowLinks(const std::filesystem::path& path) {
    std::filesystem::path at = path;
    for (int i = 0; i < kMaxLinks; ++i) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(at, error)))
            return at;
        const std::filesystem::path target = std::filesystem::read_symlink(at, error);
        if (error)
            return at;
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    throw BrimloError("File '" + ShownFileName(path) + "' cannot be used: its links form a loop");
}

std::filesystem::path FollowExistingLinks(const std::filesystem::path& path) {
    const std::filesystem::path target = FollowLinks(path);
    std::error_code error;
    if (target != path && !std::filesystem::exists(target, error))
        throw BrimloError("File '" + ShownFileName(path) + "' is a link to '" +
                          ShownFileName(target) +
                          "', which does not exist (is the drive or share it is on connected?)");
    return target;
}

} // namespace brimlo
