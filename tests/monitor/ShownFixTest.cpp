// The fix display written again at once equals the writes of every line
// shown, applied in their order, whatever order the kinds came in and
// whichever kinds the filters hold back.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "common/Routines.h"
#include "monitor/ReceiverState.h"
#include "monitor/ShownFix.h"

namespace {

using TFields =
    std::map<std::pair<int, int>, std::tuple<std::string, std::optional<bool>, int, int>>;

void Apply(const TFieldUpdates& updates, TFields& fields) {
  for (const TFieldUpdate& update : updates)
    fields[{FieldIndex(update.Field), static_cast<int>(update.Kind)}] = {
        update.Text, update.Used, static_cast<int>(update.Colour), update.Position};
}

const std::string kGGA =
    FrameSentence("GPGGA,120000,6010.1234,N,02456.7890,E,1,08,0.9,25.0,M,,M,,");
const std::string kGGAUnknownQuality =
    FrameSentence("GPGGA,120001,6010.2000,N,02456.7890,E,7,05,1.9,26.0,M,,M,,");
const std::string kRMC =
    FrameSentence("GPRMC,120001,A,6011.0000,N,02457.0000,E,3.0,045.0,071226,,");
const std::string kGSA = FrameSentence("GPGSA,A,3,01,03,,,,,,,,,,,1.2,0.7,1.0");
const std::string kGSV = FrameSentence("GPGSV,1,1,03,01,45,120,40,02,30,200,35,03,60,045,44");
const std::string kOtherGSV = FrameSentence("GPGSV,1,1,02,03,20,100,30,05,10,300,0");
const std::string kRME = FrameSentence("PGRME,3.1,M,4.2,M,5.3,M");

TEST(ShownFix, WritingTheWholeDisplayLeavesWhatEveryLineLeft) {
  const struct {
    const char* Legend;
    std::vector<std::string> Lines;
    bool IgnoreGGA = false, IgnoreGSV = false, IgnoreGSA = false;
  } cases[] = {
      {"nothing shown yet", {}},
      {"a GGA then an RMC: the RMC's position stands", {kGGA, kRMC}},
      {"an RMC then a GGA: the GGA's position stands", {kRMC, kGGA}},
      {"a quality without a text keeps the one before", {kGGA, kGGAUnknownQuality}},
      {"satellites before any GSA", {kGSV, kRMC}},
      {"a GSA, then other satellites marked as that GSA left the slots", {kGSV, kGSA, kOtherGSV}},
      {"a GSA's table after the GSV, its dilutions after the GGA's",
       {kGGA, kGSV, kRME, kGSA, kRMC}},
      {"every kind, twice, in another order", {kRME, kGSA, kGSV, kGGA, kRMC, kGSV, kGGA, kRME}},
      {"GSAs held back: no satellite marked used", {kGSA, kGSV, kGSA}, false, false, true},
      {"GGAs and GSVs held back", {kGGA, kGSA, kGSV, kRMC, kGGA}, true, true},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.Legend);
    TMonitorOptions options;
    options.IgnoreGGA = test.IgnoreGGA;
    options.IgnoreGSV = test.IgnoreGSV;
    options.IgnoreGSA = test.IgnoreGSA;
    TNMEA decoder;
    TShownFix shown;
    TFields written;
    for (const std::string& line : test.Lines) {
      const TSentenceResult result = decoder.Decode(line);
      shown.Note(result, decoder);
      if (!Filtered(result, options))
        Apply(DisplayFor(result, decoder, TFieldFormats{}, shown.Used(options)), written);
    }
    TFields whole;
    Apply(shown.Whole(TFieldFormats{}, options), whole);
    EXPECT_EQ(whole, written);
  }
}

}  // namespace
