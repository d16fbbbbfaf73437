#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <string>
#include <vector>

#include "app/ReceivedDataView.h"
#include "app/ReceivedLineStore.h"

namespace {

const std::string kGGA = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";

using Rows = std::pair<std::size_t, std::size_t>;

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
  void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&View, &event);
  }
  Rows Selected() const {
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

struct KeyCase {
  const char* Legend;
  Rows Start;
  int Key;
  Qt::KeyboardModifiers Modifiers;
  Rows Expected;
};

TEST_F(ReceivedDataViewTest, KeysMoveAndExtendTheSelection) {
  Fill(30);
  const KeyCase cases[] = {
      {"down moves", {4, 4}, Qt::Key_Down, Qt::NoModifier, {5, 5}},
      {"shift+down extends", {4, 4}, Qt::Key_Down, Qt::ShiftModifier, {4, 5}},
      {"shift+up extends upward", {4, 6}, Qt::Key_Up, Qt::ShiftModifier, {4, 5}},
      {"up stops at the first row", {0, 0}, Qt::Key_Up, Qt::NoModifier, {0, 0}},
      {"end goes to the last row", {2, 2}, Qt::Key_End, Qt::NoModifier, {29, 29}},
      {"shift+home selects to the top", {7, 7}, Qt::Key_Home, Qt::ShiftModifier, {0, 7}},
      {"ctrl+a selects every row", {7, 7}, Qt::Key_A, Qt::ControlModifier, {0, 29}},
  };
  for (const KeyCase& c : cases) {
    View.SelectRows(c.Start.first, c.Start.second);
    Press(c.Key, c.Modifiers);
    EXPECT_EQ(Selected(), c.Expected) << c.Legend;
  }
}

TEST_F(ReceivedDataViewTest, CtrlCCopiesTheSelectedLines) {
  View.AppendLine("$GPGGA,1");
  View.AppendLine("\xb0 degrees");
  View.AppendLine("$GPRMC,3");
  View.AppendLine("$GPGSV,4");
  QGuiApplication::clipboard()->setText("before");
  Press(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before") << "nothing selected";
  View.SelectRows(2, 1);
  Press(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("\u00b0 degrees\n$GPRMC,3\n"));
}

TEST_F(ReceivedDataViewTest, ClickAndShiftClickSelectRows) {
  Fill(20);
  View.verticalScrollBar()->setValue(0);
  int rowHeight = QFontMetrics(View.font()).height();
  auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
    QPointF at(10, row * rowHeight + rowHeight / 2);
    QMouseEvent event(QEvent::MouseButtonPress, at, View.viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(View.viewport(), &event);
  };
  click(2, Qt::NoModifier);
  EXPECT_EQ(Selected(), Rows(2, 2));
  click(5, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), Rows(2, 5));
}

}  // namespace
