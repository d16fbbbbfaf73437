#include <gtest/gtest.h>

#include <QCoreApplication>
#include <stdexcept>
#include <vector>

#include "app/ErrorReport.h"

namespace {

struct TShown {
  TMessageKind Kind;
  std::string Text;
  bool operator==(const TShown&) const = default;
};

// Records what would be shown; `whileOpen` runs as if the box were open.
class TRecordingSink {
 public:
  explicit TRecordingSink(std::function<void(int)> whileOpen = {}) : WhileOpen(whileOpen) {
    SetMessageSink([this](TMessageKind kind, const std::string& text) {
      Shown.push_back({kind, text});
      if (WhileOpen) WhileOpen(static_cast<int>(Shown.size()));
    });
  }
  ~TRecordingSink() { SetMessageSink({}); }
  std::vector<TShown> Shown;

 private:
  std::function<void(int)> WhileOpen;
};

TEST(ErrorReport, FullStopIsAddedAfterLettersOnly) {
  const struct {
    const char* Legend;
    const char* Message;
    const char* Shown;
  } cases[] = {
      {"letter", "Disk full", "Disk full."},
      {"already a full stop", "Disk full.", "Disk full."},
      {"closing quote sorts before it", "Failed to set data for 'X'", "Failed to set data for 'X'"},
      {"digit sorts after it", "I/O error 28", "I/O error 28."},
      {"question mark sorts after it", "Why?", "Why?."},
      {"exclamation sorts before it", "Stop!", "Stop!"},
      {"empty", "", ""},
      {"8-bit letter sorts after it", "Fehler \xE4", "Fehler \xE4."},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorBoxText(c.Message), c.Shown) << c.Legend;
}

TEST(ErrorReport, NoticesAndWarningsReachTheSink) {
  TRecordingSink sink;
  ShowNotice("Two parameters required: Operation and filename");
  ShowWarning("Please open COM port first");
  EXPECT_EQ(sink.Shown,
            (std::vector<TShown>{
                {TMessageKind::Notice, "Two parameters required: Operation and filename"},
                {TMessageKind::Warning, "Please open COM port first"}}));
}

TEST(ErrorReport, RepeatedErrorWhileABoxIsOpenIsShownOnce) {
  // A full disk fails every tick; the ticks go on while the box is open.
  TRecordingSink sink([](int shownSoFar) {
    if (shownSoFar == 1)
      for (int tick = 0; tick < 50; ++tick) ReportError("Disk full");
  });
  ReportError("Disk full");
  EXPECT_TRUE(sink.Shown.empty()) << "never inside the handler that failed";
  QCoreApplication::processEvents();
  EXPECT_EQ(sink.Shown, (std::vector<TShown>{{TMessageKind::Error, "Disk full."}}));
}

TEST(ErrorReport, OtherErrorsWaitForTheOpenBoxInOrder) {
  TRecordingSink sink([](int shownSoFar) {
    if (shownSoFar != 1) return;
    ReportError("Error sending data");
    ReportError("Disk full");
    ReportError("Error sending data");
  });
  ReportError("Disk full");
  QCoreApplication::processEvents();
  EXPECT_EQ(sink.Shown, (std::vector<TShown>{{TMessageKind::Error, "Disk full."},
                                             {TMessageKind::Error, "Error sending data."}}));
}

TEST(ErrorReport, SameErrorAfterTheBoxClosedIsShownAgain) {
  TRecordingSink sink;
  ReportError("Disk full");
  ReportError("Disk full");
  QCoreApplication::processEvents();
  EXPECT_EQ(sink.Shown.size(), 1u) << "the same text waits once";
  ReportError("Disk full");
  QCoreApplication::processEvents();
  EXPECT_EQ(sink.Shown.size(), 2u);
}

TEST(ErrorReport, ReportedHandlerShowsWhatItThrowsAndReturns) {
  TRecordingSink sink;
  SetErrorHook(ReportError);
  int reached = 0;
  Reported([&] {
    ++reached;
    throw std::runtime_error("Unable to open communications port");
  })();
  Reported([&] {
    ++reached;
    throw 42;  // not a std::exception
  })();
  Reported([&] { ++reached; })();
  EXPECT_EQ(reached, 3);
  QCoreApplication::processEvents();
  EXPECT_EQ(sink.Shown,
            (std::vector<TShown>{{TMessageKind::Error, "Unable to open communications port."},
                                 {TMessageKind::Error, "Unexpected error."}}));
  SetErrorHook({});
  EXPECT_THROW(Reported([] { throw std::runtime_error("Disk full"); })(), std::runtime_error)
      << "with no hook the failure goes on to the caller";
}

}  // namespace
