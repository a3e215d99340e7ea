// The interchange formats: what a writer produces its reader takes back unchanged, and bad
// input is refused with a message that says what and where.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/csv.h"
#include "exchange/format.h"
#include "exchange/gpx.h"
#include "exchange/kml.h"
#include "exchange/kmz.h"
#include "exchange/values.h"

namespace {

std::vector<Waypoint> TrickyPoints() {
  Waypoint a;
  a.name = "東京駅 \"丸の内\", 北口";
  a.location = "A&B <C> 'D'";
  a.nickname = "とうきょう\nえき";
  a.phone = "03-1234-5678";
  a.latitude = 35.68123617;
  a.longitude = 139.76712484;
  a.icon = 12;
  a.voice = 31;
  a.stamp = LocalStamp{2024, 1, 1, 8, 59, 59};  // the day before in UTC
  Waypoint b;
  b.name = "x";
  b.latitude = 0;
  b.longitude = 582.5;
  b.icon = 0;
  b.voice = 0;
  return {a, b};
}

TEST(InterchangeRoundTrip, EveryFormatReadsBackWhatItWrote) {
  for (Format format : {Format::kGpx, Format::kKml, Format::kKmz, Format::kCsv, Format::kGeoJson}) {
    SCOPED_TRACE(FormatName(format));
    std::vector<Waypoint> written = TrickyPoints();
    ParsedWaypoints read = ReadWaypoints(format, WriteWaypoints(format, written, 9 * 60), 9 * 60);
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.points.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
      const Waypoint& w = written[i];
      const Waypoint& r = read.points[i];
      EXPECT_EQ(r.name, w.name);
      EXPECT_EQ(r.location, w.location);
      EXPECT_EQ(r.nickname, w.nickname);
      EXPECT_EQ(r.phone, w.phone);
      EXPECT_NEAR(r.latitude, w.latitude, 1e-8);
      EXPECT_NEAR(r.longitude, w.longitude, 1e-8);
      EXPECT_EQ(r.icon, w.icon);
      EXPECT_EQ(r.voice, w.voice);
      EXPECT_EQ(r.stamp, w.stamp);
    }
  }
}

struct BadInput {
  Format format;
  std::string text;
  std::string expected;  // a part of the message
};

TEST(InterchangeBadInput, IsRefusedWithWhatAndWhere) {
  const std::vector<BadInput> cases = {
      {Format::kGpx, "", "empty"},
      {Format::kGpx, "<gpx>\n<wpt lat=\"1\" lon=\"2\">\n</gpx>", "line 3"},
      {Format::kGpx, "<kml/>", "root element is <kml>"},
      {Format::kGpx, "<gpx>\n\n<wpt lon=\"2\"/></gpx>", "wpt 1 (line 3): the lat or lon attribute is missing"},
      {Format::kGpx, "<gpx><wpt lat=\"35N\" lon=\"139\"/></gpx>", "lat=\"35N\""},
      {Format::kGpx, "<gpx><wpt lat=\"1\" lon=\"2\"><extensions><o:voice xmlns:o=\"urn:ostrel:gpx:point:1\">40</o:voice></extensions></wpt></gpx>", "voice \"40\""},
      {Format::kGpx, std::string("\x00\xff\x13garbage", 10), "binary data"},
      {Format::kKml, "<kml><Placemark><Point/></Placemark></kml>", "Placemark 1 (line 1): the Point has no coordinates"},
      {Format::kKml, "<kml><Folder>\n<Placemark><Point><coordinates>abc</coordinates></Point></Placemark></Folder></kml>", "line 2"},
      {Format::kKml, "<kml><Placemark><Point><coordinates>1,2</coordinates></Point><ExtendedData><Data name=\"icon\"><value>-1</value></Data></ExtendedData></Placemark></kml>", "icon \"-1\""},
      {Format::kCsv, "", "empty"},
      {Format::kCsv, "name,x,y\r\n", "no latitude and longitude columns"},
      {Format::kCsv, "name,latitude,longitude\r\na,1,2\r\n\"b,1,2\r\n", "line 3: a quoted field is never closed"},
      {Format::kCsv, "name,latitude,longitude\r\na\"b,1,2\r\n", "a quote inside an unquoted field"},
      {Format::kCsv, "name,latitude,longitude\r\n\"a\"b,1,2\r\n", "text after the closing quote"},
      {Format::kCsv, "name,latitude,longitude\r\na,1\r\n", "line 2: 2 fields where the header has 3"},
      {Format::kCsv, "name,latitude,longitude\r\na,north,2\r\n", "line 2: latitude \"north\""},
      {Format::kCsv, "name,latitude,longitude,icon\r\na,1,2,1.5\r\n", "icon \"1.5\""},
      {Format::kCsv, "name,latitude,longitude,date,time\r\na,1,2,yesterday,\r\n", "date \"yesterday\""},
      {Format::kCsv, std::string("name,latitude,longitude\r\n\x00", 26), "line 2: a NUL byte"},
      {Format::kGeoJson, "", "empty"},
      {Format::kGeoJson, "{\"type\": \"FeatureCollection\",\n \"features\": [,]}", "line 2"},
      {Format::kGeoJson, "[1, 2]", "not a GeoJSON FeatureCollection"},
      {Format::kGeoJson, "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"geometry\":{\"coordinates\":[]}}]}", "feature 1: the geometry must be an object with a \"type\""},
      {Format::kGeoJson, "{\"type\":\"FeatureCollection\",\"features\":[{\"geometry\":{\"type\":\"Point\",\"coordinates\":[\"139\",35]}}]}", "coordinates must be"},
      {Format::kGeoJson, "{\"type\":\"FeatureCollection\",\"features\":[{\"geometry\":{\"type\":\"Point\",\"coordinates\":[139,35]},\"properties\":{\"name\":7}}]}", "property \"name\" must be a string"},
      {Format::kGeoJson, "{\"type\":\"FeatureCollection\",\"features\":[{\"geometry\":{\"type\":\"Point\",\"coordinates\":[139,35]},\"properties\":{\"voice\":32}}]}", "property \"voice\""},
  };
  for (const BadInput& c : cases) {
    SCOPED_TRACE(std::string(FormatName(c.format)) + ": " + c.text);
    ParsedWaypoints read = ReadWaypoints(c.format, c.text, 540);
    EXPECT_FALSE(read.ok());
    EXPECT_NE(read.error.find(c.expected), std::string::npos) << read.error;
  }
}

TEST(InterchangeKmz, HostileAndDamagedArchivesAreRefusedWhileUnpacking) {
  const std::string good = PackKmz("<kml><Placemark><Point><coordinates>139.5,35.25</coordinates></Point></Placemark></kml>");
  ASSERT_TRUE(ReadKmz(good, 540).ok());
  std::string damaged = good;
  damaged[40] = static_cast<char>(damaged[40] ^ 0x55);  // a byte of the packed KML
  std::string cut = good.substr(0, 40) + good.substr(good.size() - 22 - 53);
  // A few kilobytes that would unpack to more than the limit.
  const std::string bomb = PackKmz(std::string(kMaxKmlBytes + 1, ' '));
  ASSERT_LT(bomb.size(), 200'000u);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<kml/>", "no zip archive"},
      {"", "empty"},
      {damaged, "the archive is damaged"},
      {cut, "the archive is damaged"},
      {bomb, "more than 64 MiB"},
      {PackKmz("<kml><Placemark><Point/></Placemark></kml>"), "the KML in the archive: Placemark 1"},
  };
  for (const auto& [zip, expected] : cases) {
    ParsedWaypoints read = ReadKmz(zip, 540);
    EXPECT_FALSE(read.ok());
    EXPECT_NE(read.error.find(expected), std::string::npos) << read.error;
  }
  // Another program's archive: its KML under another name, beside an image.
  std::string other = good;
  other.replace(other.find("doc.kml"), 7, "map.KML");
  other.replace(other.rfind("doc.kml"), 7, "map.KML");
  ParsedWaypoints read = ReadKmz(other, 540);
  ASSERT_TRUE(read.ok()) << read.error;
  EXPECT_DOUBLE_EQ(read.points.at(0).latitude, 35.25);
}

TEST(InterchangePeerInput, ForeignFilesAreReadWhereTheyDifferFromOurs) {
  // Another program's GPX 1.0: sym is a symbol name, times carry fractions, no extensions.
  ParsedWaypoints gpx = ReadGpx(
      "<?xml version=\"1.0\"?><gpx version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\">"
      "<wpt lat=\"35.5\" lon=\"139.25\"><time>2024-12-31T15:30:00.250Z</time><name>A</name>"
      "<sym>Flag, Blue</sym></wpt></gpx>",
      540);
  ASSERT_TRUE(gpx.ok()) << gpx.error;
  ASSERT_EQ(gpx.points.size(), 1u);
  EXPECT_FALSE(gpx.points[0].icon);
  EXPECT_EQ(gpx.points[0].stamp, (LocalStamp{2025, 1, 1, 0, 30, 0}));
  // KML: Placemarks in folders, a line that is not a point, coordinates with altitude, CDATA.
  ParsedWaypoints kml = ReadKml(
      "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document><Folder><Placemark><name>Line</name>"
      "<LineString><coordinates>1,2 3,4</coordinates></LineString></Placemark><Folder><Placemark>"
      "<name>P</name><description><![CDATA[<b>x</b>]]></description><Point><coordinates>"
      "\n 139.5,35.25,10 </coordinates></Point></Placemark></Folder></Folder></Document></kml>",
      540);
  ASSERT_TRUE(kml.ok()) << kml.error;
  ASSERT_EQ(kml.points.size(), 1u);
  EXPECT_EQ(kml.points[0].name, "P");
  EXPECT_EQ(kml.points[0].location, "x");  // HTML made text
  EXPECT_DOUBLE_EQ(kml.points[0].longitude, 139.5);
  EXPECT_DOUBLE_EQ(kml.points[0].latitude, 35.25);
  // CSV with the columns in another order, short names, LF line ends and no trailing newline.
  ParsedWaypoints csv = ReadCsv("lon,Name,extra,lat\n139.5,\"a\"\"b\",zzz,35.25", 540);
  ASSERT_TRUE(csv.ok()) << csv.error;
  ASSERT_EQ(csv.points.size(), 1u);
  EXPECT_EQ(csv.points[0].name, "a\"b");
  EXPECT_DOUBLE_EQ(csv.points[0].latitude, 35.25);
}

TEST(InterchangeTime, StampsCrossDayAndYearBoundariesBothWays) {
  LocalStamp newYear{2025, 1, 1, 0, 30, 0};
  EXPECT_EQ(FormatIsoTime(newYear, 9 * 60), "2024-12-31T15:30:00Z");
  EXPECT_EQ(FormatIsoTime(newYear, -5 * 60), "2025-01-01T05:30:00Z");
  EXPECT_EQ(ParseIsoTime("2024-12-31T15:30:00Z", 9 * 60), newYear);
  EXPECT_EQ(ParseIsoTime("2025-01-01T00:30:00+09:00", 0), (LocalStamp{2024, 12, 31, 15, 30, 0}));
  EXPECT_EQ(ParseIsoTime("2024-02-28T20:00:00Z", 9 * 60), (LocalStamp{2024, 2, 29, 5, 0, 0}));
  // Before 2000 or after 2255 in local time the file cannot hold the year.
  EXPECT_FALSE(ParseIsoTime("1999-12-31T14:59:59Z", 9 * 60));
  EXPECT_TRUE(ParseIsoTime("1999-12-31T15:00:00Z", 9 * 60));
  EXPECT_FALSE(ParseIsoTime("2024-02-30T00:00:00Z", 0));
  EXPECT_FALSE(ParseIsoTime("2024-01-01 00:00:00", 0));
  EXPECT_EQ(ParseUtcOffset("+09:00"), 540);
  EXPECT_EQ(ParseUtcOffset("-0330"), -210);
  EXPECT_EQ(ParseUtcOffset("Z"), 0);
  EXPECT_FALSE(ParseUtcOffset("9"));
  EXPECT_FALSE(ParseUtcOffset("+15:00"));
  EXPECT_FALSE(ParseUtcOffset("+09:60"));
}

TEST(InterchangeValues, NumbersAreWholeAndStampTextsKeepWhatTheFileHeld) {
  EXPECT_EQ(ParseNumber(" 35.5 "), 35.5);
  EXPECT_FALSE(ParseNumber("35.5x"));
  EXPECT_FALSE(ParseNumber("nan"));
  EXPECT_FALSE(ParseNumber("1e999"));
  EXPECT_FALSE(ParseNumber(""));
  EXPECT_EQ(FormatDegrees(139.767124839), "139.76712484");
  // A month of 13 is not a date, but a file may hold it; it must come back as it was.
  auto odd = ParseStampTexts("2030/13/00", "24:60:61");
  ASSERT_TRUE(odd);
  EXPECT_EQ(FormatStampDate(*odd), "2030/13/00");
  EXPECT_EQ(FormatStampTime(*odd), "24:60:61");
  EXPECT_EQ(ParseStampTexts("2024-4-1", "9:05:00"), (LocalStamp{2024, 4, 1, 9, 5, 0}));
  EXPECT_FALSE(ParseStampTexts("1999/01/01", "00:00:00"));
  EXPECT_FALSE(ParseStampTexts("2024/01/01", "00:00"));
}

}  // namespace
