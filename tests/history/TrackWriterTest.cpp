#include <gtest/gtest.h>

#include <QXmlStreamReader>

#include "history/TrackText.h"
#include "history/TrackWriter.h"
#include "tests/history/TrackEpochs.h"

namespace {

std::string Written(TTrackFormat format, const std::vector<TEpoch>& epochs) {
  const std::unique_ptr<ITrackWriter> writer = MakeTrackWriter(format);
  std::string text;
  writer->Begin(text);
  for (const TEpoch& epoch : epochs) writer->Take(epoch, text);
  writer->End(text);
  return text;
}

struct TDegreesCase {
  const char* Legend;
  double Degrees;
  const char* Text;
};

const TDegreesCase kDegreesCases[] = {
    {"short values padded to 9 decimals", 48.1173, "48.117300000"},
    {"whole degrees get a point", 5, "5.000000000"},
    {"RTK millimetres beyond 9 decimals kept", 12.3456789012345, "12.3456789012345"},
    {"a tiny value stays fixed, not exponential", -0.000000001, "-0.000000001"},
};

TEST(TrackText, Degrees) {
  for (const TDegreesCase& test : kDegreesCases) {
    SCOPED_TRACE(test.Legend);
    std::string text;
    AppendDegrees(text, test.Degrees);
    EXPECT_EQ(text, test.Text);
  }
}

struct TIsoCase {
  const char* Legend;
  std::optional<std::string> Date;
  std::optional<double> Seconds;
  std::optional<std::string> Text;
};

const TIsoCase kIsoCases[] = {
    {"whole seconds", "071226", 45319, "2026-12-07T12:35:19Z"},
    {"a tenth that doubles cannot hold", "071226", 45319.1, "2026-12-07T12:35:19.1Z"},
    {"milliseconds", "010100", 0.125, "2000-01-01T00:00:00.125Z"},
    {"a leap second stays in the day", "311216", 86400, "2016-12-31T23:59:60Z"},
    {"a two-digit year is 20yy", "010199", 0, "2099-01-01T00:00:00Z"},
    {"no date yet: no time", std::nullopt, 45319, std::nullopt},
    {"no time of day", "071226", std::nullopt, std::nullopt},
    {"month 13", "011326", 0, std::nullopt},
    {"letters in the date", "07a226", 0, std::nullopt},
    {"a short date", "0712", 0, std::nullopt},
};

TEST(TrackText, IsoTime) {
  for (const TIsoCase& test : kIsoCases) {
    SCOPED_TRACE(test.Legend);
    EXPECT_EQ(IsoTime(test.Date, test.Seconds), test.Text);
  }
}

// Every element read through, namespaces checked; the error text otherwise.
struct TXmlRead {
  std::string Error;
  std::string Namespace;
  int Points = 0;  // trkpt or the coordinate lines of a LineString
};

TXmlRead ReadXml(const std::string& text) {
  QXmlStreamReader reader(QByteArray::fromStdString(text));
  TXmlRead read;
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    if (read.Namespace.empty()) read.Namespace = reader.namespaceUri().toString().toStdString();
    if (reader.name() == u"trkpt") ++read.Points;
    if (reader.name() == u"coordinates" && read.Points == 0)
      read.Points = static_cast<int>(reader.readElementText().trimmed().split('\n').size());
  }
  if (reader.hasError()) read.Error = reader.errorString().toStdString();
  return read;
}

struct TXmlCase {
  const char* Legend;
  TTrackFormat Format;
  size_t Epochs;  // the first epochs of the walk
  const char* Namespace;
  int Points;
};

const TXmlCase kXmlCases[] = {
    {"GPX of the walk: a point per fix", TTrackFormat::Gpx, 5, "http://www.topografix.com/GPX/1/1",
     4},
    {"GPX without epochs: an empty segment", TTrackFormat::Gpx, 0,
     "http://www.topografix.com/GPX/1/1", 0},
    {"KML of the walk: the line's points", TTrackFormat::Kml, 5, "http://www.opengis.net/kml/2.2",
     4},
    {"KML without epochs: no half-open line", TTrackFormat::Kml, 0,
     "http://www.opengis.net/kml/2.2", 0},
};

TEST(TrackWriter, WellFormedXml) {
  const std::vector<TEpoch> walk = TrackEpochs();
  for (const TXmlCase& test : kXmlCases) {
    SCOPED_TRACE(test.Legend);
    const std::vector<TEpoch> epochs(walk.begin(), walk.begin() + test.Epochs);
    const TXmlRead read = ReadXml(Written(test.Format, epochs));
    EXPECT_EQ(read.Error, "");
    EXPECT_EQ(read.Namespace, test.Namespace);
    EXPECT_EQ(read.Points, test.Points);
  }
}

TEpochSignal Signal(TSkySystem system, uint8_t snr) {
  TEpochSignal signal;
  signal.System = system;
  signal.SNR = snr;
  return signal;
}

TEST(TrackWriter, CsvRow) {
  TEpoch epoch = TrackEpochs()[1];
  epoch.Time = "120001.50";
  epoch.Speed = 0.25;
  epoch.Signals = {Signal(TSkySystem::GPS, 42),
                   Signal(TSkySystem::GPS, 43),
                   Signal(TSkySystem::GPS, TEpochSignal::kNoSNR),
                   Signal(TSkySystem::Galileo, 41),
                   Signal(TSkySystem::Galileo, 42),
                   Signal(TSkySystem::Galileo, 42),
                   Signal(TSkySystem::NavIC, 30)};
  const std::string text = Written(TTrackFormat::Csv, {epoch});
  EXPECT_EQ(text.substr(0, text.find('\n')),
            "n,time,date,quality,mode,lat,lon,alt,used,pdop,hdop,vdop,diffAge,cn0GPS,cn0SBAS,"
            "cn0GLONASS,cn0Galileo,cn0BeiDou,cn0QZSS,cn0NavIC,interference,speed,course");
  // GPS 42.5 (half away from zero, the signal without SNR left out),
  // Galileo 41.7, NavIC 30, the others empty.
  EXPECT_EQ(text.substr(text.find('\n') + 1),
            "20,120001.50,071226,4,,59.329323602,18.068581113,,,,,,,"
            "42.5,,,41.7,,,30,false,0.25,\n");
}

}  // namespace
