#include <gtest/gtest.h>

#include "history/HistoryFigures.h"

namespace {

struct TClaimCase {
  const char* Legend;
  std::vector<TEpoch> Epochs;
  TClaimedErrors Expected;
};

TEpoch Gst(double latitude, double longitude, double altitude) {
  TEpoch epoch;
  epoch.LatitudeError = latitude;
  epoch.LongitudeError = longitude;
  epoch.AltitudeError = altitude;
  return epoch;
}

TEpoch Rme(double horizontal, double vertical) {
  TEpoch epoch;
  epoch.HorizontalError = horizontal;
  epoch.VerticalError = vertical;
  return epoch;
}

bool operator==(const TClaimedErrors& a, const TClaimedErrors& b) {
  return a.Latitude == b.Latitude && a.Longitude == b.Longitude && a.Altitude == b.Altitude &&
         a.Horizontal == b.Horizontal && a.Vertical == b.Vertical;
}

std::vector<TClaimCase> ClaimCases() {
  return {
      {"nothing claimed: no figure, not zero", {TEpoch(), TEpoch()}, {}},
      {"GST: the mean over the epochs that sent one, not over all",
       {Gst(1, 2, 3), TEpoch(), Gst(3, 4, 5)},
       {2, 3, 4, std::nullopt, std::nullopt, std::nullopt, std::nullopt}},
      {"RME alone",
       {Rme(5, 7), Rme(7, 9)},
       {std::nullopt, std::nullopt, std::nullopt, 6, 8, std::nullopt, std::nullopt}},
  };
}

TEST(HistoryFigures, MeanClaimedErrors) {
  for (const TClaimCase& test : ClaimCases()) {
    SCOPED_TRACE(test.Legend);
    THistory history;
    for (const TEpoch& epoch : test.Epochs) history.Append(epoch);
    EXPECT_TRUE(MeanClaimedErrors(history) == test.Expected);
  }
}

TEST(HistoryFigures, QualitySharesCountEpochsWithAQuality) {
  THistory history(3);  // the oldest of four epochs is gone
  for (const std::optional<int> quality : {std::optional<int>(5), std::optional<int>(4),
                                           std::optional<int>(), std::optional<int>(0)}) {
    TEpoch epoch;
    epoch.Quality = quality;
    history.Append(epoch);
  }
  EXPECT_EQ(QualityShares(history), (std::map<int, double>{{0, 0.5}, {4, 0.5}}));
}

}  // namespace
