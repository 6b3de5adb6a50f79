#pragma once

#include <string>

namespace brimlo::crash {

// File systems the fault tests make for themselves: a small tmpfs that
// fills up, and a read-only view of a directory. They live in a mount
// namespace of this process only, so nothing outside the tests sees them.
// Needs the right to make mounts (root, or a user namespace); the tests
// skip with the reason otherwise.

// Enters a private mount namespace, once, before any thread is started.
void EnterPrivateMountNamespace();
// Why there are no private mounts here; empty when the namespace was entered.
std::string PrivateMountsUnavailable();

// Mounts a tmpfs of the given size on dir; throws std::runtime_error.
void MountSmallDisk(const std::string& dir, size_t bytes);
// Mounts dir read-only over itself.
void MakeReadOnly(const std::string& dir);
// Undoes a mount on dir; missing mounts are no error.
void Unmount(const std::string& dir);

// Fills the file system holding dir until not one more byte fits.
void FillDisk(const std::string& dir);

} // namespace brimlo::crash
