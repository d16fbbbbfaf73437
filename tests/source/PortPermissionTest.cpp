// A serial device this user may not open: the open failure says which group
// to join.

#include <gtest/gtest.h>

#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "source/PortPermission.h"
#include "source/PortSlot.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/SettingsHome.h"

namespace {

TEST(PortPermission, Text) {
  const struct {
    const char* Device;
    const char* Group;
    const char* Text;
  } rows[] = {
      {"/dev/ttyUSB0", "dialout",
       "No permission for /dev/ttyUSB0: add your user to the group dialout (sudo usermod -aG "
       "dialout $USER), then log in again."},
      {"/dev/ttyACM0", "uucp",
       "No permission for /dev/ttyACM0: add your user to the group uucp (sudo usermod -aG uucp "
       "$USER), then log in again."},
  };
  for (const auto& row : rows) EXPECT_EQ(NoPermissionText(row.Device, row.Group), row.Text);
}

TEST(PortPermission, GroupOfARealFile) {
  EXPECT_EQ(FileGroup("/dev/null"), "root");
  EXPECT_EQ(FileGroup("/nonexistent/ttyUSB9"), "");
}

TEST(PortPermission, NoHintWhereThereIsNoPermissionProblem) {
  EXPECT_EQ(PermissionHint("/dev/null"), "") << "may be opened";
  EXPECT_EQ(PermissionHint("/nonexistent/ttyUSB9"), "") << "not there at all";
}

TEST(PortPermission, OpenFailureNamesTheGroup) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may open anything";
  QTemporaryDir dir;
  const QString device = dir.filePath("ttyLocked");
  QFile file(device);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  ASSERT_TRUE(file.setPermissions(QFileDevice::Permissions()));
  TTempSettingsHome home;
  TPortOverride slot(0, device.toStdString());
  TPortSlot port([] { return 0; });
  try {
    port.Open();
    ADD_FAILURE() << "opened a device without permission";
  } catch (const EDeviceError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Unable to open communications port\n" +
                  NoPermissionText(device.toStdString(), FileGroup(device.toStdString())));
  }
}

}  // namespace
