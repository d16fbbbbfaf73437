#pragma once
// Why a serial device that exists will not open for this user, in words that
// say what to do: on Linux, serial devices belong to a group (usually
// dialout) whose members may open them.

#include <string>
#include <string_view>

// "No permission for DEVICE: add your user to the group GROUP (sudo usermod
// -aG GROUP $USER), then log in again."
std::string NoPermissionText(std::string_view device, std::string_view group);

// The name of the group that owns the file at `path` (its number when the
// group has no name), or empty when the file cannot be examined.
std::string FileGroup(const std::string& path);

// On Linux, NoPermissionText for `path` when this user lacks the right to
// read and write it; empty otherwise, and elsewhere.
std::string PermissionHint(const std::string& path);
