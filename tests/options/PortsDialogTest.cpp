// The Ports dialog on its own, with a scripted list of serial ports: what it
// offers, what typing shows, and what OK hands back. What the main window
// stores and reopens is tested in tests/app.

#include "options/PortsDialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <optional>

#include "tests/support/FindControl.h"
#include "tests/support/MqttBroker.h"

namespace {

const TPortInfo kReceiver{"/dev/ttyACM0",
                          "/dev/serial/by-id/usb-u-blox_GNSS_receiver-if00",
                          "u-blox GNSS receiver",
                          "u-blox AG",
                          "",
                          0x1546,
                          0x01a9};
const TPortInfo kAdapter{"/dev/ttyUSB0", "", "FT232R USB UART", "FTDI", "A10KX3", 0x0403, 0x6001};

TEST(PortLabel, NamesWhatIsKnown) {
  const struct {
    const char* Legend;
    TPortInfo Port;
    const char* Label;
  } cases[] = {
      {"maker inside the description",
       {"/dev/ttyACM0", "", "u-blox GNSS receiver", "u-blox", "", 0x1546, 0x01a9},
       "/dev/ttyACM0 - u-blox GNSS receiver (1546:01a9)"},
      {"every detail", kAdapter, "/dev/ttyUSB0 - FT232R USB UART, FTDI, A10KX3 (0403:6001)"},
      {"a built-in port: nothing known", {"/dev/ttyS0", "", "", "", "", {}, {}}, "/dev/ttyS0"},
      {"ids alone", {"/dev/ttyACM1", "", "", "", "", 0x1546, 0x01a8}, "/dev/ttyACM1 - (1546:01a8)"},
      {"a vendor without product",
       {"/dev/ttyUSB1", "", "CP2102", "", "", 0x10c4, {}},
       "/dev/ttyUSB1 - CP2102"},
  };
  for (const auto& c : cases) EXPECT_EQ(PortLabel(c.Port), c.Label) << c.Legend;
}

TEST(StablePathOf, FindsTheLinkThatLeadsToTheDevice) {
  QTemporaryDir folder;
  const std::string base = folder.path().toStdString();
  ASSERT_TRUE(QFile(folder.filePath("ttyACM0")).open(QIODevice::WriteOnly));
  ASSERT_TRUE(QFile(folder.filePath("ttyACM1")).open(QIODevice::WriteOnly));
  ASSERT_TRUE(QDir().mkdir(folder.filePath("by-id")));
  ASSERT_TRUE(QFile::link("../ttyACM1", folder.filePath("by-id/usb-GNSS-if00")));
  const struct {
    const char* Legend;
    std::string Path;
    std::string Folder;
    std::string Stable;
  } cases[] = {
      {"a link leads to it", base + "/ttyACM1", base + "/by-id", base + "/by-id/usb-GNSS-if00"},
      {"no link leads to it", base + "/ttyACM0", base + "/by-id", ""},
      {"no such folder", base + "/ttyACM1", base + "/by-path", ""},
      {"no such device", base + "/ttyACM7", base + "/by-id", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(StablePathOf(c.Path, c.Folder), c.Stable) << c.Legend;
}

TEST(DeviceTextProblem, OnlyAnUnreadableUrlIsAProblem) {
  const struct {
    const char* Legend;
    const char* Text;
    bool Problem;
  } cases[] = {
      {"empty: the built-in path", "", false},
      {"a device path", "/dev/serial/by-id/usb-x-if00", false},
      {"a TCP source", "tcp://127.0.0.1:10110", false},
      {"a TCP source without port", "tcp://127.0.0.1", true},
      {"an unknown scheme", "http://example.org", true},
      {"an unclosed IPv6 bracket", "tcp://[::1:10110", true},
      {"a broker and a prefix", "mqtt://broker.lan/fleet/roof", false},
      {"a broker without a prefix", "mqtt://broker.lan", true},
  };
  for (const auto& c : cases) {
    const std::string problem = DeviceTextProblem(c.Text);
    EXPECT_EQ(!problem.empty(), c.Problem) << c.Legend << ": " << problem;
    if (c.Problem) {
      EXPECT_EQ(problem.rfind("Invalid address URL: ", 0), 0u) << c.Legend;
    }
  }
}

// The dialog with two ports found, COM2 stored as a TCP source at its own
// rate and COM4 set by the environment.
class PortsDialogTest : public ::testing::Test {
 protected:
  PortsDialogTest() : Form(nullptr, [this] { return Found; }) {
    QObject::connect(&Form, &TPortsDialog::portsChanged,
                     [this](const TPortChoices& ports) { Handed = ports; });
    Stored[1].Device = "tcp://127.0.0.1:10110";
    Stored[1].BaudRate = "9600";
    Stored[3].Environment = "/dev/pts/4";
    Stored[3].Device = "/dev/ttyACM1";
    Stored[0].DefaultPath = "/dev/ttyUSB0";
    Form.SetPorts(Stored, "38400");
  }

  QComboBox& Device(int slot) { return *Control<QComboBox>(Form, QString("Device%1").arg(slot)); }
  QComboBox& Rate(int slot) { return *Control<QComboBox>(Form, QString("BaudRate%1").arg(slot)); }
  QLabel& Note(int slot) { return *Control<QLabel>(Form, QString("Note%1").arg(slot)); }
  QPushButton& OK() { return *Control<QPushButton>(Form, "OKButton"); }

  std::vector<TPortInfo> Found{kReceiver, kAdapter};
  TPortChoices Stored;
  TPortsDialog Form;
  std::optional<TPortChoices> Handed;
};

TEST_F(PortsDialogTest, ShowsTheSlotsAsStored) {
  EXPECT_EQ(Device(1).currentText(), "") << "nothing stored";
  EXPECT_EQ(Device(1).lineEdit()->placeholderText(), "/dev/ttyUSB0") << "the path it opens";
  EXPECT_EQ(Device(2).currentText(), "tcp://127.0.0.1:10110");
  EXPECT_EQ(Rate(1).currentText(), "Default (38400)") << "the General options' rate";
  EXPECT_EQ(Rate(2).currentText(), "9600") << "its own rate";
  EXPECT_EQ(Rate(1).count(), 12) << "the default, every rate up to 921600, and Auto";
  EXPECT_EQ(Rate(1).itemText(10), "921600");
  ASSERT_EQ(Device(1).count(), 2);
  EXPECT_EQ(Device(1).itemText(0), "/dev/ttyACM0 - u-blox GNSS receiver, u-blox AG (1546:01a9)");
}

TEST_F(PortsDialogTest, AnEnvironmentSlotIsShownAndKept) {
  EXPECT_EQ(Device(4).currentText(), "/dev/pts/4");
  EXPECT_FALSE(Device(4).isEnabled());
  EXPECT_EQ(Note(4).text(), "set by the environment");
  Form.accept();
  ASSERT_TRUE(Handed);
  EXPECT_EQ((*Handed)[3].Device, "/dev/ttyACM1") << "the stored path is not replaced";
}

TEST_F(PortsDialogTest, ChoosingAPortStoresItsStablePath) {
  const struct {
    const char* Legend;
    int Item;
    const char* Path;
  } cases[] = {
      {"a by-id link exists", 0, "/dev/serial/by-id/usb-u-blox_GNSS_receiver-if00"},
      {"no link: the system path", 1, "/dev/ttyUSB0"},
  };
  for (const auto& c : cases) {
    Device(1).setCurrentIndex(c.Item);
    emit Device(1).activated(c.Item);
    EXPECT_EQ(Device(1).currentText(), c.Path) << c.Legend;
  }
}

TEST_F(PortsDialogTest, TypedTextIsCheckedAsItIsTyped) {
  const struct {
    const char* Legend;
    const char* Typed;
    const char* Note;  // nullptr: no note
  } cases[] = {
      {"URL without port", "tcp://localhost", "Invalid address URL: "},
      {"a path", "/dev/ttyUSB3", nullptr},
      {"unknown scheme", "serial://x", "Invalid address URL: "},
      {"emptied: the built-in path", "", nullptr},
  };
  for (const auto& c : cases) {
    Device(3).setEditText(c.Typed);
    EXPECT_EQ(Note(3).isVisibleTo(&Form), c.Note != nullptr) << c.Legend;
    if (c.Note) {
      EXPECT_TRUE(Note(3).text().startsWith(c.Note)) << c.Legend;
    }
    EXPECT_EQ(OK().isEnabled(), c.Note == nullptr) << c.Legend;
  }
}

TEST_F(PortsDialogTest, OKHandsBackTheSlotsAndCancelNothing) {
  Device(1).setEditText(" udp://:10110 ");
  Rate(1).setCurrentIndex(Rate(1).findText("460800"));
  Rate(2).setCurrentIndex(0);
  Form.reject();
  EXPECT_FALSE(Handed) << "Cancel";
  Form.accept();
  ASSERT_TRUE(Handed);
  TPortChoices expected = Stored;
  expected[0].Device = "udp://:10110";
  expected[0].BaudRate = "460800";
  expected[1].BaudRate = "";
  EXPECT_EQ(*Handed, expected);
}

TEST_F(PortsDialogTest, APortThatAppearsShowsUpByItselfAndTypingSurvives) {
  Device(1).setEditText("/dev/ttyS9");
  auto* watch = Form.findChild<QTimer*>("PortWatch");
  ASSERT_NE(watch, nullptr);
  Form.show();
  EXPECT_TRUE(watch->isActive()) << "watching while shown";
  Found.push_back({"/dev/ttyACM1", "", "GNSS", "", "", {}, {}});
  Form.onPortWatchTick();
  EXPECT_EQ(Device(1).count(), 3);
  EXPECT_EQ(Device(1).currentText(), "/dev/ttyS9");
  Found.clear();
  Control<QPushButton>(Form, "RefreshButton")->click();
  EXPECT_EQ(Device(1).count(), 0) << "Refresh looks again";
  Form.hide();
  EXPECT_FALSE(watch->isActive());
}

TEST_F(PortsDialogTest, ABrokerListsTheReceiversPublishingThere) {
  TMqttBroker broker;
  ASSERT_TRUE(broker.Start());
  TMqttTestClient fleet(broker.Port(), "");
  fleet.Publish("fleet/roof/status", "online", true);
  fleet.Publish("fleet/mast/status", "offline", true);
  Device(3).setEditText(QString::fromStdString(broker.Url("fleet")));
  EXPECT_TRUE(fleet.RunUntil([&] { return Note(3).isVisibleTo(&Form); }, 5000));
  EXPECT_EQ(Note(3).text(), "Receivers here: mast offline, roof online");
  EXPECT_TRUE(OK().isEnabled());

  // Typing on to a receiver's own prefix: none publish below it.
  Device(3).setEditText(QString::fromStdString(broker.Url("fleet/roof")));
  fleet.RunUntil([] { return false; }, 300);
  EXPECT_FALSE(Note(3).isVisibleTo(&Form));
}

}  // namespace
