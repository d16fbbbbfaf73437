#include "tools/decode/Follow.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "common/Frame.h"
#include "history/EpochJson.h"
#include "history/EpochRecorder.h"
#include "monitor/DataFile.h"
#include "monitor/RawLog.h"
#include "nmea/FrameNames.h"
#include "nmea/TagBlock.h"
#include "nmea/UbxMonRf.h"
#include "source/MqttPublisher.h"
#include "source/PortSlot.h"
#include "source/Relay.h"
#include "source/SourceFactory.h"
#include "source/StopSignals.h"

namespace decode {

namespace {

// How often --stats prints its object while following.
constexpr int kReportMs = 10000;
// Lines one turn of the event loop takes at most, as the window takes them.
constexpr int kLinesPerTurn = 100;

class TFollower {
 public:
  TFollower(const TDecodeOptions& options, const TFollowLine& onLine, const TFollowFrame& onFrame,
            TDecodeMode* mode, TOutput& output)
      : Options(options), OnLine(onLine), OnFrame(onFrame), Mode(mode), Output(output) {}

  // False after saying on stderr why it cannot start.
  bool Start() {
    if (!StartRelay() || !StartMqtt() || !StartRawLog()) return false;
    TSourceRequest request;
    request.Path = Options.Follow;
    const int32_t baud = Options.Baud > 0 ? Options.Baud : BaudRateFromText({});
    request.BaudRate = [baud] { return baud; };
    try {
      Source = MakeLineSource(request);
      Source->SetArrivalHandler([this] { PostDrain(); });
      if (RawLog.Running())
        Source->SetByteObserver([this](std::string_view bytes) { RawLog.Write(bytes); });
      Source->Open();
    } catch (const EDeviceError& error) {
      Say(std::string("cannot follow ") + Options.Follow + ": " + error.what());
      return false;
    }
    if (Mode) {
      Mode->SetExtraMembers([this](TOutputJson& json) { ExtraMembers(Counts())(json); });
      QObject::connect(&ReportTimer, &QTimer::timeout, &ReportTimer, [this] {
        Mode->Report(Lines);
        Output.Flush();
      });
      ReportTimer.start(kReportMs);
    }
    PostDrain();
    return true;
  }

  void Stop() {
    if (Source) {
      Drain();
      Source->Close();
    }
    ReportTimer.stop();
    if (Mqtt) Epochs->Finish(Lines);  // the last epoch goes out before "offline"
    // The mode's last object, printed after the follower is gone, carries
    // the counts as they stood at the end.
    if (Mode) Mode->SetExtraMembers(ExtraMembers(Counts()));
    Mqtt.reset();
    if (Relay) Relay->Stop();
    RawLog.Stop();
  }

  uint64_t Lines = 0;

 private:
  bool StartRelay() {
    if (Options.SharePort == 0) return true;
    Relay = std::make_unique<TRelay>();
    std::string error;
    if (!Relay->Listen(Options.ShareAddress, Options.SharePort, error)) {
      Say("cannot share on " + Options.ShareAddress + ":" + std::to_string(Options.SharePort) +
          ": " + error);
      return false;
    }
    return true;
  }

  // As the window's raw log: the bytes go out as they are read.
  bool StartRawLog() {
    if (Options.Raw.empty()) return true;
    try {
      RawLog.Start(Options.Raw);
    } catch (const EInOutError& error) {
      Say("cannot write " + Options.Raw + ": " + error.what());
      return false;
    }
    return true;
  }

  // The broker's user name and password come from the environment
  // (TOLVANE_MQTT_USER, TOLVANE_MQTT_PASSWORD), never from the command line,
  // which every user of the machine can read; TOLVANE_MQTT_CLIENT_ID sets
  // the client ID.
  bool StartMqtt() {
    if (Options.Mqtt.empty()) return true;
    std::string reason;
    const std::optional<TMqttUrl> url = ParseMqttUrl(Options.Mqtt, reason);
    if (!url) {
      Say("cannot publish to " + Options.Mqtt + ": " + reason);
      return false;
    }
    TMqttOptions mqtt;
    mqtt.Url = *url;
    mqtt.User = qEnvironmentVariable("TOLVANE_MQTT_USER").toStdString();
    mqtt.Password = qEnvironmentVariable("TOLVANE_MQTT_PASSWORD").toStdString();
    mqtt.ClientId = qEnvironmentVariable("TOLVANE_MQTT_CLIENT_ID").toStdString();
    Mqtt = std::make_unique<TMqttPublisher>(std::move(mqtt));
    Mqtt->Link().SetChangeHandler([this] { ReportMqtt(); });
    Epochs = std::make_unique<TEpochRecorder>(Sky);
    Epochs->SetEpochHandler([this](TEpoch& epoch) { Mqtt->PublishEpoch(EpochJson(epoch)); });
    return true;
  }

  // Each change is said once, and retrying once per failure (with why),
  // not at every countdown.
  void ReportMqtt() {
    const std::string text = Mqtt->StatusText();
    const auto retrying = [](const std::string& said) {
      return said.rfind("MQTT: retrying", 0) == 0;
    };
    if (text == LastMqttText || (retrying(text) && retrying(LastMqttText))) return;
    LastMqttText = text;
    const std::string error = Mqtt->Link().LastError();
    Say(retrying(text) && !error.empty() ? text + " (" + error + ")" : text);
  }

  // What --stats adds: the relay's counts with --share, the broker's with
  // --mqtt.
  struct TCounts {
    std::optional<TRelayTotals> Relay;
    std::optional<bool> MqttConnected;
    uint64_t MqttDroppedLines = 0;
    uint64_t MqttDroppedEpochs = 0;
  };

  TCounts Counts() const {
    TCounts counts;
    if (Relay) counts.Relay = Relay->Totals();
    if (Mqtt) {
      counts.MqttConnected = Mqtt->Link().State() == TLinkState::Connected;
      counts.MqttDroppedLines = Mqtt->DroppedLines();
      counts.MqttDroppedEpochs = Mqtt->DroppedEpochs();
    }
    return counts;
  }

  static TDecodeMode::TExtraMembers ExtraMembers(const TCounts& counts) {
    return [counts](TOutputJson& json) {
      const auto member = [&json](const char* key, uint64_t value) {
        json.Key(key);
        json.Integer(static_cast<int64_t>(value));
      };
      if (counts.Relay) {
        json.Key("relay");
        json.BeginObject();
        member("clients", counts.Relay->Clients);
        member("sent", counts.Relay->Sent);
        member("dropped", counts.Relay->Dropped);
        json.EndObject();
      }
      if (counts.MqttConnected) {
        json.Key("mqtt");
        json.BeginObject();
        json.Key("connected");
        json.Boolean(*counts.MqttConnected);
        member("droppedLines", counts.MqttDroppedLines);
        member("droppedEpochs", counts.MqttDroppedEpochs);
        json.EndObject();
      }
    };
  }

  void PostDrain() {
    if (DrainPosted) return;
    DrainPosted = true;
    QTimer::singleShot(0, &ReportTimer, [this] {
      DrainPosted = false;
      Drain();
    });
  }

  void Drain() {
    int taken = 0;
    for (; taken < kLinesPerTurn; ++taken) {
      const std::optional<std::string> line = Source->ReadLine();
      if (!line) break;
      // A frame is neither shared nor decoded as a sentence: the mode takes
      // it as reading a file does, and a MON-RF's jamming verdict goes with
      // the broker's epochs.
      if (IsFrameLine(*line)) {
        TakeFrame(*line);
        continue;
      }
      if (line->empty()) continue;
      ++Lines;
      if (Relay) Relay->Send(*line);
      if (Mqtt) Mqtt->PublishLine(*line);
      const TSentenceResult decoded = OnLine(*line);
      if (Epochs) Epochs->Take(Lines, StripTagBlock(*line), decoded);
    }
    if (taken > 0 && Mode) Output.Flush();
    if (taken == kLinesPerTurn) PostDrain();
    // Following goes on without the raw log.
    if (const std::string failure = RawLog.TakeFailure(); !failure.empty()) Say(failure);
    ReportLink();
  }

  void TakeFrame(std::string_view line) {
    const std::optional<TFrame> frame = FrameOf(line.substr(1));
    if (!frame) return;
    OnFrame(*frame);
    if (!Epochs) return;
    if (const std::optional<TMonRf> rf = MonRfOf(*frame)) Epochs->TakeJamming(*rf);
  }

  // The link's changes go to stderr (a service's journal): an operator sees
  // a receiver that went away and came back.
  void ReportLink() {
    const TLinkState state = Source->LinkState();
    if (state == LastState) return;
    LastState = state;
    const std::string text = Source->StatusText();
    if (!text.empty()) Say(text);
  }

  static void Say(const std::string& text) {
    std::fprintf(stderr, "tolvane-decode: %s\n", text.c_str());
  }

  const TDecodeOptions& Options;
  const TFollowLine& OnLine;
  const TFollowFrame& OnFrame;
  TDecodeMode* Mode;
  TOutput& Output;
  std::unique_ptr<ILineSource> Source;
  std::unique_ptr<TRelay> Relay;
  std::unique_ptr<TMqttPublisher> Mqtt;
  TSkyModel Sky;
  std::unique_ptr<TEpochRecorder> Epochs;
  TRawLog RawLog;
  std::string LastMqttText;
  QTimer ReportTimer;
  bool DrainPosted = false;
  TLinkState LastState = TLinkState::Closed;
};

}  // namespace

int Follow(const TDecodeOptions& options, const TFollowLine& onLine, const TFollowFrame& onFrame,
           TDecodeMode* mode, TOutput& output) {
  const TStopSignals stopSignals([](int) { QCoreApplication::quit(); });
  TFollower follower(options, onLine, onFrame, mode, output);
  if (!follower.Start()) return 1;
  QCoreApplication::exec();
  follower.Stop();
  return 0;
}

}  // namespace decode
