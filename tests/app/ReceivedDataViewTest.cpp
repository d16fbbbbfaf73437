#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include "app/ReceivedDataView.h"
#include "app/ReceivedLineStore.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/UserInput.h"

namespace {

const std::string kGGA = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";

using TRows = std::pair<std::size_t, std::size_t>;

std::string Numbered(std::size_t i) {
  return "line " + std::to_string(i);
}

TEST(ReceivedLineStore, KeepsEveryLineAcrossBlocks) {
  const std::string huge(200 * 1024, 'h');
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) lines.push_back(kGGA + std::to_string(i));
  lines.insert(lines.begin() + 1000, {"", huge, "\xb0\xff", ""});
  TReceivedLineStore store;
  for (const std::string& line : lines) store.Append(line);
  ASSERT_EQ(store.Count(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(store.Line(i), lines[i]) << i;
  EXPECT_EQ(store.Line(lines.size()), "") << "past the end";
}

TEST(ReceivedLineStore, CostsLittleMoreThanTheTextAndClearGivesItBack) {
  TReceivedLineStore store;
  const std::size_t count = 200000;
  for (std::size_t i = 0; i < count; ++i) store.Append(kGGA);
  EXPECT_LE(store.MemoryUsed(), count * kGGA.size() * 3 / 2);
  store.Clear();
  EXPECT_EQ(store.Count(), 0u);
  EXPECT_EQ(store.MemoryUsed(), 0u);
  store.Append("again");
  EXPECT_EQ(store.Line(0), "again");
}

// Small bounds, so that a few thousand lines cross them many times over.
constexpr std::size_t kSmallBound = 256 * 1024;

// Descriptors of this process open on a file in `folder`, deleted or not.
int FilesOpenIn(const QString& folder) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    auto target = std::filesystem::read_symlink(entry.path(), error).string();
    if (!error && target.starts_with(folder.toStdString() + "/")) ++count;
  }
  return count;
}

struct TSpillCase {
  const char* Legend;
  std::size_t Lines;
  bool ClearFirst;  // after a first round that crossed the bound
};

TEST(ReceivedLineStore, LinesMovedToTheFileReadBackAsAppended) {
  const TSpillCase cases[] = {
      {"within the bound: all in memory", 100, false},
      {"ten times the bound: the oldest read back from the file", 40000, false},
      {"after Clear: a new file, the old lines gone", 40000, true},
  };
  const std::string huge(100 * 1024, 'h');
  for (const TSpillCase& c : cases) {
    QTemporaryDir folder;
    TReceivedLineStore store({kSmallBound, folder.path().toStdString()});
    if (c.ClearFirst) {
      for (int i = 0; i < 20000; ++i) store.Append("old " + std::to_string(i));
      store.Clear();
      EXPECT_EQ(FilesOpenIn(folder.path()), 0) << c.Legend << ": Clear deletes the file";
    }
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < c.Lines; ++i)
      lines.push_back(i == c.Lines / 3 ? huge : i % 500 == 7 ? "" : kGGA + std::to_string(i));
    for (const std::string& line : lines) store.Append(line);
    ASSERT_EQ(store.Count(), lines.size()) << c.Legend;
    // Backwards, then a jump to the end and back, as scrolling and copying do.
    for (std::size_t i = lines.size(); i-- > 0;) ASSERT_EQ(store.Line(i), lines[i]) << c.Legend;
    EXPECT_EQ(store.Line(lines.size() - 1), lines.back()) << c.Legend;
    EXPECT_EQ(store.Line(0), lines[0]) << c.Legend;
    EXPECT_EQ(store.DroppedLines(), 0u) << c.Legend;
    EXPECT_LE(store.MemoryUsed(), 4 * kSmallBound + huge.size()) << c.Legend;
    EXPECT_TRUE(QDir(folder.path()).isEmpty()) << c.Legend << ": the file has no name to leave";
  }
}

struct TFullCase {
  const char* Legend;
  const char* Folder;  // under the test's folder
  rlim_t FileBytes;    // the largest file this process may write
};

// A disk that fills up: the file cannot be made, or it stops growing part of
// the way (a size limit fails writes as a full disk does).
TEST(ReceivedLineStore, WhenTheFileCannotBeWrittenKeepsTheNewestLinesThatFit) {
  const TFullCase cases[] = {
      {"no folder to make the file in", "missing", RLIM_INFINITY},
      {"the file stops growing after a few blocks", "", 150 * 1024},
  };
  for (const TFullCase& c : cases) {
    QTemporaryDir folder;
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit limit = before;
    limit.rlim_cur = std::min(c.FileBytes, before.rlim_max);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    {
      TReceivedLineStore store({kSmallBound, (folder.path() + "/" + c.Folder).toStdString()});
      const std::size_t appended = 100000;
      for (std::size_t i = 0; i < appended; ++i) store.Append(Numbered(i));
      setrlimit(RLIMIT_FSIZE, &before);
      ASSERT_GT(store.DroppedLines(), 0u) << c.Legend;
      EXPECT_EQ(store.DroppedLines() + store.Count(), appended) << c.Legend;
      EXPECT_LE(store.MemoryUsed(), 2 * kSmallBound) << c.Legend;
      for (std::size_t i = 0; i < store.Count(); ++i)
        ASSERT_EQ(store.Line(i), Numbered(store.DroppedLines() + i)) << c.Legend;
      EXPECT_EQ(FilesOpenIn(folder.path()), 0) << c.Legend << ": the failed file is let go";
      store.Clear();
      EXPECT_EQ(store.DroppedLines(), 0u) << c.Legend;
      store.Append("again");
      EXPECT_EQ(store.Line(0), "again") << c.Legend;
    }
    std::signal(SIGXFSZ, oldHandler);
  }
}

class ReceivedDataViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    View.resize(400, 200);
    View.show();
  }
  void Fill(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) View.AppendLine(Numbered(View.LineCount()));
    // The view catches up with its new lines at the next turn of the event loop.
    QApplication::processEvents();
  }
  bool LastLineOnScreen() const {
    auto rows = static_cast<std::size_t>(View.verticalScrollBar()->pageStep());
    return View.TopRow() + rows >= View.LineCount();
  }
  TRows Selected() const {
    std::size_t first = 99999, last = 99999;
    View.Selection(first, last);
    return {first, last};
  }

  TReceivedDataView View;
};

TEST_F(ReceivedDataViewTest, FollowsTheNewestLineOnlyWhileAtTheBottom) {
  Fill(100);
  EXPECT_TRUE(LastLineOnScreen()) << "at the bottom from the start";
  View.verticalScrollBar()->setValue(10);
  Fill(50);
  EXPECT_EQ(View.TopRow(), 10u) << "scrolled up: stays put";
  View.verticalScrollBar()->setValue(View.verticalScrollBar()->maximum());
  Fill(50);
  EXPECT_TRUE(LastLineOnScreen()) << "back at the bottom: follows again";
  EXPECT_EQ(View.Line(199), Numbered(199));
}

TEST_F(ReceivedDataViewTest, ClearEmptiesTheViewAndItsSelection) {
  Fill(100);
  View.SelectRows(3, 5);
  View.Clear();
  std::size_t first, last;
  EXPECT_EQ(View.LineCount(), 0u);
  EXPECT_FALSE(View.Selection(first, last));
  EXPECT_EQ(View.Line(0), "");
  EXPECT_EQ(View.MemoryUsed(), 0u);
  Fill(1);
  EXPECT_EQ(View.Line(0), Numbered(0));
  EXPECT_EQ(View.TopRow(), 0u);
}

struct TKeyCase {
  const char* Legend;
  TRows Start;
  int Key;
  Qt::KeyboardModifiers Modifiers;
  TRows Expected;
};

TEST_F(ReceivedDataViewTest, KeysMoveAndExtendTheSelection) {
  Fill(30);
  const TKeyCase cases[] = {
      {"down moves", {4, 4}, Qt::Key_Down, Qt::NoModifier, {5, 5}},
      {"shift+down extends", {4, 4}, Qt::Key_Down, Qt::ShiftModifier, {4, 5}},
      {"shift+up extends upward", {4, 6}, Qt::Key_Up, Qt::ShiftModifier, {4, 5}},
      {"up stops at the first row", {0, 0}, Qt::Key_Up, Qt::NoModifier, {0, 0}},
      {"end goes to the last row", {2, 2}, Qt::Key_End, Qt::NoModifier, {29, 29}},
      {"shift+home selects to the top", {7, 7}, Qt::Key_Home, Qt::ShiftModifier, {0, 7}},
      {"ctrl+a selects every row", {7, 7}, Qt::Key_A, Qt::ControlModifier, {0, 29}},
  };
  for (const TKeyCase& c : cases) {
    View.SelectRows(c.Start.first, c.Start.second);
    PressKey(&View, c.Key, c.Modifiers);
    EXPECT_EQ(Selected(), c.Expected) << c.Legend;
  }
}

TEST_F(ReceivedDataViewTest, CtrlCCopiesTheSelectedLines) {
  View.AppendLine("$GPGGA,1");
  View.AppendLine("\xb0 degrees");
  View.AppendLine("$GPRMC,3");
  View.AppendLine("$GPGSV,4");
  QGuiApplication::clipboard()->setText("before");
  PressKey(&View, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before") << "nothing selected";
  View.SelectRows(2, 1);
  PressKey(&View, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("\u00b0 degrees\n$GPRMC,3\n"));
}

TEST_F(ReceivedDataViewTest, ClickAndShiftClickSelectRows) {
  Fill(20);
  View.verticalScrollBar()->setValue(0);
  int rowHeight = QFontMetrics(View.font()).height();
  auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
    ClickAt(View.viewport(), QPointF(10, row * rowHeight + rowHeight / 2.0), modifiers);
  };
  click(2, Qt::NoModifier);
  EXPECT_EQ(Selected(), TRows(2, 2));
  click(5, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), TRows(2, 5));
}

TEST(ReceivedDataViewSpill, SelectionAndCopyReachLinesOnFile) {
  QTemporaryDir folder;
  TReceivedDataView view(nullptr, {kSmallBound, folder.path().toStdString()});
  view.resize(400, 200);
  view.show();
  for (std::size_t i = 0; i < 30000; ++i) view.AppendLine(Numbered(i));
  QApplication::processEvents();
  EXPECT_EQ(view.LineCount(), 30000u);
  view.verticalScrollBar()->setValue(0);
  EXPECT_EQ(view.Line(0), Numbered(0));
  view.SelectRows(2, 29998);
  view.Copy();
  QString expected;
  for (std::size_t i = 2; i <= 29998; ++i) expected += QString::fromStdString(Numbered(i)) + "\n";
  EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
}

TEST(ReceivedDataViewSpill, DroppedLinesAreSaidOnceAndTheSelectionKeepsItsLines) {
  QTemporaryDir folder;
  TReceivedDataView view(nullptr, {kSmallBound, (folder.path() + "/missing").toStdString()});
  std::vector<qulonglong> dropped;
  QObject::connect(&view, &TReceivedDataView::oldestLinesDropped,
                   [&](qulonglong count) { dropped.push_back(count); });
  view.resize(400, 200);
  view.show();
  for (std::size_t i = 0; i < 21000; ++i) view.AppendLine(Numbered(i));
  QApplication::processEvents();
  ASSERT_EQ(dropped.size(), 0u);
  view.SelectRows(20000, 20001);
  // About three blocks of 6,500 to 7,300 lines fit the bound: the oldest go.
  for (std::size_t i = 21000; i < 35000; ++i) view.AppendLine(Numbered(i));
  QApplication::processEvents();
  ASSERT_EQ(dropped.size(), 1u) << "said once, however many go";
  EXPECT_GT(dropped[0], 0u);
  const std::size_t gone = 35000 - view.LineCount();
  ASSERT_LT(gone, 20000u);
  EXPECT_EQ(view.Line(0), Numbered(gone));
  view.Copy();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "line 20000\nline 20001\n");
  EXPECT_EQ(view.TopRow() + static_cast<std::size_t>(view.verticalScrollBar()->pageStep()),
            view.LineCount())
      << "still follows the newest line";
  view.Clear();
  for (std::size_t i = 0; i < 40000; ++i) view.AppendLine(Numbered(i));
  EXPECT_EQ(dropped.size(), 2u) << "said again after Clear";
}

TEST(ReceivedDataViewSpill, TheWindowSaysHowManyOldestLinesWentInTheStatusBar) {
  TWindowHarness harness;
  auto* view = harness.Main->findChild<TReceivedDataView*>();
  ASSERT_NE(view, nullptr);
  emit view->oldestLinesDropped(987);
  const QString shown = harness.Main->statusBar()->currentMessage();
  EXPECT_TRUE(shown.contains("987") && shown.contains("dropped the oldest")) << shown.toStdString();
  EXPECT_TRUE(harness.Messages.empty()) << "no box: the status bar says it";
}

}  // namespace
