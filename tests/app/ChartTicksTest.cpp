// The labels of the charts' UTC time axis: the steps chosen, midnight, and
// histories without a date.

#include "app/ChartTicks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr double kJan7 = 20'460 * 86'400.0;

struct TTickCase {
  const char* Legend;
  double From;
  double To;
  bool Dated;
  std::vector<std::string> Labels;
};

const TTickCase kTickCases[] = {
    {"a day in 3-hour steps, midnight named by its date",
     kJan7,
     kJan7 + 86'400,
     true,
     {"2026-01-07", "03:00", "06:00", "09:00", "12:00", "15:00", "18:00", "21:00", "2026-01-08"}},
    {"half a minute in 5 s steps, seconds shown",
     kJan7 + 43'200 + 2,
     kJan7 + 43'200 + 32,
     true,
     {"12:00:05", "12:00:10", "12:00:15", "12:00:20", "12:00:25", "12:00:30"}},
    {"no date: midnight of the second day counted, never a date of 1970",
     86'400 - 3'600,
     86'400 + 3'600,
     false,
     {"23:00", "23:15", "23:30", "23:45", "+1d", "00:15", "00:30", "00:45", "01:00"}},
    {"no room at all", kJan7, kJan7, true, {}},
};

TEST(ChartTicks, Labels) {
  for (const TTickCase& test : kTickCases) {
    SCOPED_TRACE(test.Legend);
    std::vector<std::string> labels;
    for (const TChartTick& tick : ChartTicks(test.From, test.To, 8, test.Dated))
      labels.push_back(tick.Label.toStdString());
    EXPECT_EQ(labels, test.Labels);
  }
}

TEST(ChartTicks, TimeText) {
  EXPECT_EQ(ChartTimeText(kJan7 + 45'303, true).toStdString(), "2026-01-07 12:35:03");
  EXPECT_EQ(ChartTimeText(45'303.5, false).toStdString(), "12:35:03.500");
}

}  // namespace
