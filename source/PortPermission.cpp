#include "source/PortPermission.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>
#endif

std::string NoPermissionText(std::string_view device, std::string_view group) {
  const std::string name(group);
  return "No permission for " + std::string(device) + ": add your user to the group " + name +
         " (sudo usermod -aG " + name + " $USER), then log in again.";
}

#ifndef _WIN32
namespace {

// getgrgid_r's room for one group's entry, the names of all its members
// among it: a group such as dialout may list many.
constexpr size_t kGroupEntryRoom = 16 * 1024;

}  // namespace
#endif

std::string FileGroup([[maybe_unused]] const std::string& path) {
#ifdef _WIN32
  return {};
#else
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return {};
  std::vector<char> scratch(kGroupEntryRoom);
  group entry{};
  group* found = nullptr;
  if (::getgrgid_r(status.st_gid, &entry, scratch.data(), scratch.size(), &found) == 0 && found &&
      found->gr_name && *found->gr_name)
    return found->gr_name;
  return std::to_string(status.st_gid);
#endif
}

std::string PermissionHint([[maybe_unused]] const std::string& path) {
#ifdef __linux__
  if (::access(path.c_str(), R_OK | W_OK) == 0 || errno != EACCES) return {};
  const std::string group = FileGroup(path);
  if (group.empty()) return {};
  return NoPermissionText(path, group);
#else
  return {};
#endif
}
