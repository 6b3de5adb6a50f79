#pragma once

#include <filesystem>

namespace brimlo {

// The file a path names once symbolic links are followed: a link's target
// (a relative target read from the link's folder), again and again for a
// link to a link. A path that is no link comes back as it is. Files we
// replace are staged beside this name and renamed over it, so a link to a
// shared table stays a link and the shared file gets the change.
// Throws BrimloError for a loop of links.
std::filesystem::path FollowLinks(const std::filesystem::path& path);

// FollowLinks for a file about to be written or opened: a link whose final
// target does not exist (a share that is not mounted) is refused with a
// BrimloError, never answered with a new file at the link's target.
std::filesystem::path FollowExistingLinks(const std::filesystem::path& path);

} // namespace brimlo
