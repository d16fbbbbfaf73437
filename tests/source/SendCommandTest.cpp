#include <gtest/gtest.h>

#include "common/Routines.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "source/PortSlot.h"
#include "source/SendCommandDialog.h"
#include "tests/source/NetworkTestSupport.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/ScriptedSerialDevice.h"
#include "tests/support/SettingsHome.h"

namespace {

TEST(FrameSentence, FramesTheBodyWithItsChecksum) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "$*00"},                          // empty body
      {"PGRMO,,2", "$PGRMO,,2*75"},          // a receiver command
      {"$GPGGA", "$$GPGGA*72"},              // a typed "$" is part of the body
      {"AB", "$AB*03"},                      // below 16: leading zero
      {"Z", "$Z*5A"},                        // hex letters in upper case
      {"PGRMC1,1,2,3", "$PGRMC1,1,2,3*66"},  // digits and commas
      {"\xb0", "$\xb0*B0"},                  // 8-bit text
  };
  for (const auto& [body, framed] : cases) EXPECT_EQ(FrameSentence(body), framed) << body;
}

class SendCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Port = std::make_unique<TPortSlot>([] { return 0; }, TScriptedSerialDevice::Factory(Script));
    Port->Open();
    Source = [this] { return Port.get(); };
    Form = std::make_unique<TSendCommandDialog>([this] { return Source(); });
    Form->show();
  }
  void TearDown() override { Port->Close(); }

  QLineEdit* Raw() { return Form->findChild<QLineEdit*>("RawCommand"); }
  QLineEdit* Nmea() { return Form->findChild<QLineEdit*>("NMEACommand"); }
  QCheckBox* SendCR() { return Form->findChild<QCheckBox*>("SendCR"); }
  void Click(const char* name) { Form->findChild<QPushButton*>(name)->click(); }

  // Clicks `button` and answers the message box it raises: "title|text", or
  // empty when no box came up.
  QString ClickExpectingNotice(const char* button) {
    QString seen;
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        seen = box->windowTitle() + "|" + box->text();
        box->accept();
      } else if (waited.elapsed() > 2000) {
        poll.stop();
      }
    });
    poll.start(10);
    Click(button);
    return seen;
  }

  TTempSettingsHome Home;
  std::shared_ptr<TSerialScript> Script = std::make_shared<TSerialScript>();
  std::unique_ptr<TPortSlot> Port;
  std::function<TPortSlot*()> Source;
  std::unique_ptr<TSendCommandDialog> Form;
};

TEST_F(SendCommandTest, NmeaFieldFollowsEveryChangeOfTheRawField) {
  EXPECT_EQ(Nmea()->text(), "") << "before the first change";
  Raw()->setText("PGRMO,,2");
  EXPECT_EQ(Nmea()->text(), "$PGRMO,,2*75");
  Nmea()->setText("my own edit");
  Raw()->setText("AB");
  EXPECT_EQ(Nmea()->text(), "$AB*03") << "the next change overwrites an edit";
  Raw()->clear();
  EXPECT_EQ(Nmea()->text(), "$*00");
}

struct TSendCase {
  const char* Legend;
  const char* RawText;
  const char* HandEdit;  // replaces the framed text when set
  const char* Button;
  bool WithCR;
  std::string Written;
};

TEST_F(SendCommandTest, ButtonsSendTheirFieldWithTheChosenTerminator) {
  const TSendCase cases[] = {
      {"raw with CR/LF", "PGRMO,,2", nullptr, "SendRawButton", true, "PGRMO,,2\r\n"},
      {"raw without CR/LF", "PGRMO,,2", nullptr, "SendRawButton", false, "PGRMO,,2"},
      {"framed with CR/LF", "PGRMO,,2", nullptr, "SendNMEAButton", true, "$PGRMO,,2*75\r\n"},
      {"framed without CR/LF", "AB", nullptr, "SendNMEAButton", false, "$AB*03"},
      {"hand-edited NMEA field", "AB", "$XY*00", "SendNMEAButton", true, "$XY*00\r\n"},
      {"empty raw with CR/LF", "", nullptr, "SendRawButton", true, "\r\n"},
      {"empty raw without CR/LF", "", nullptr, "SendRawButton", false, ""},
  };
  for (const TSendCase& c : cases) {
    Raw()->setText("x");
    Raw()->setText(QString::fromLatin1(c.RawText));
    if (c.HandEdit) Nmea()->setText(c.HandEdit);
    SendCR()->setChecked(c.WithCR);
    Script->Written.clear();
    Click(c.Button);
    EXPECT_EQ(Script->Written, c.Written) << c.Legend;
  }
}

TEST_F(SendCommandTest, WithoutAnOpenPortNothingIsSentAndTheUserIsTold) {
  Raw()->setText("PGRMO,,2");
  Source = [] { return nullptr; };
  EXPECT_EQ(ClickExpectingNotice("SendRawButton"), "Tolvane|Please open COM port first")
      << "port discarded";
  Source = [this] { return Port.get(); };
  Port->Close();
  EXPECT_EQ(ClickExpectingNotice("SendNMEAButton"), "Tolvane|Please open COM port first")
      << "port closed";
  EXPECT_EQ(Script->Written, "");
  EXPECT_TRUE(Form->isVisible());
}

TEST_F(SendCommandTest, ASourceThatCannotTakeACommandSaysWhyAndSendsNothing) {
  Raw()->setText("PGRMO,,2");
  Script->Vanished = true;
  Script->OpenFails = true;
  EXPECT_EQ(ClickExpectingNotice("SendRawButton"), "Tolvane|Receiver disconnected")
      << "receiver pulled out";
  EXPECT_EQ(Script->Written, "");

  TPortOverride slot(0, "udp://127.0.0.1:" + std::to_string(FreeUdpPort()));
  TPortSlot udp([] { return 0; });
  ASSERT_NO_THROW(udp.Open());
  Source = [&udp] { return &udp; };
  EXPECT_EQ(ClickExpectingNotice("SendNMEAButton"), "Tolvane|This source cannot send commands");
  Source = [this] { return Port.get(); };
  udp.Close();
  EXPECT_TRUE(Form->isVisible());
}

TEST_F(SendCommandTest, FailingWriteIsRaisedAndTheDialogStaysAsItWas) {
  Raw()->setText("PGRMO,,2");
  Script->WriteFails = true;
  EXPECT_THROW(Click("SendNMEAButton"), EDeviceError);
  EXPECT_TRUE(Form->isVisible());
  EXPECT_EQ(Raw()->text(), "PGRMO,,2");
  EXPECT_EQ(Nmea()->text(), "$PGRMO,,2*75");
}

}  // namespace
