# Installs tolvane-follow@.service, written for the prefix it goes to, which
# is known only at install time: CPack installs to /usr, and
# `cmake --install --prefix` may choose any. dist/CMakeLists.txt sets
# tolvane_unit_template, tolvane_bin_dir and tolvane_doc_dir first.
#
# Under /usr and /usr/local it is a system unit, in lib/systemd/system, where
# systemd's system manager looks under both. Under any other prefix it is a
# user unit, in share/systemd/user: a user's own manager finds it there when
# the prefix is ~/.local ($XDG_DATA_HOME/systemd/user), and a plain user can
# write there, where /usr/local is root's.
string(REGEX REPLACE "(.)/+$" "\\1" prefix "${CMAKE_INSTALL_PREFIX}")
if(IS_ABSOLUTE "${tolvane_bin_dir}")
  set(bin_dir "${tolvane_bin_dir}")
else()
  set(bin_dir "${prefix}/${tolvane_bin_dir}")
endif()
set(examples_dir "${prefix}/${tolvane_doc_dir}/examples")

if(prefix STREQUAL "/usr" OR prefix STREQUAL "/usr/local")
  set(unit_dir "${prefix}/lib/systemd/system")
  set(env_dir /etc/tolvane)
  set(env_dir_shown /etc/tolvane)
  set(user_flag "")
  set(wanted_by multi-user.target)
  set(confinement [[
DynamicUser=yes
# Serial receivers belong to this group on Debian.
SupplementaryGroups=dialout
NoNewPrivileges=yes
ProtectSystem=strict
ProtectHome=yes
PrivateTmp=yes
]])
else()
  set(unit_dir "${prefix}/share/systemd/user")
  # %E is $XDG_CONFIG_HOME for a user's manager.
  set(env_dir %E/tolvane)
  set(env_dir_shown ~/.config/tolvane)
  set(user_flag " --user")
  set(wanted_by default.target)
  # A user's manager cannot change user or groups, so it runs as the user,
  # who needs to be in the group dialout for a serial receiver; and the
  # program is in the home folder, which must stay visible.
  set(confinement [[
NoNewPrivileges=yes
]])
endif()

file(READ "${tolvane_unit_template}" unit)
string(CONFIGURE "${unit}" unit @ONLY)
set(unit_file "$ENV{DESTDIR}${unit_dir}/tolvane-follow@.service")
message(STATUS "Installing: ${unit_file}")
file(WRITE "${unit_file}" "${unit}")
file(CHMOD "${unit_file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${unit_file}")
