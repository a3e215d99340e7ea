// CSV as spreadsheets and map services write it, and single coordinate values as people type
// them: what reads, what it reads as, and what is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/coordinate_text.h"
#include "exchange/cp932.h"
#include "exchange/csv.h"

namespace {

TEST(CoordinateText, ReadsTheFormsPeopleWrite) {
  struct Case {
    const char* text;
    double degrees;
    char hemisphere;
  };
  const Case cases[] = {
      {"35.681236", 35.681236, 0},
      {" -0.5 ", -0.5, 0},
      {"+139.7", 139.7, 0},
      {"35.", 35, 0},
      {"35°40'52.5\"N", 35 + 40 / 60.0 + 52.5 / 3600, 'N'},
      {"139°46'01.6\"E", 139 + 46 / 60.0 + 1.6 / 3600, 'E'},
      {"33°51′54″S", -(33 + 51 / 60.0 + 54 / 3600.0), 'S'},
      {"W 0° 7' 39.9''", -(7 / 60.0 + 39.9 / 3600), 'W'},
      {"N35°40.875'", 35 + 40.875 / 60, 'N'},
      {"35º 40’ 52”", 35 + 40 / 60.0 + 52 / 3600.0, 0},
      {"35 40 52.5 n", 35 + 40 / 60.0 + 52.5 / 3600, 'N'},
      {"-35:40:52.5", -(35 + 40 / 60.0 + 52.5 / 3600), 0},
      {" 35/40/52.500", 35 + 40 / 60.0 + 52.5 / 3600, 0},  // the editor's own text
      {"139/46/01.600", 139 + 46 / 60.0 + 1.6 / 3600, 0},
      {"北緯35度40分52.5秒", 35 + 40 / 60.0 + 52.5 / 3600, 'N'},
      {"西経１２２度", -122, 'W'},
      {"\u3000３５．５\u3000", 35.5, 0},
      {"180", 180, 0},
  };
  for (const Case& c : cases) {
    std::optional<DegreesText> read = ParseDegreesText(c.text);
    ASSERT_TRUE(read) << c.text;
    EXPECT_NEAR(read->degrees, c.degrees, 1e-12) << c.text;
    EXPECT_EQ(read->hemisphere, c.hemisphere) << c.text;
  }
}

TEST(CoordinateText, RefusesWhatIsNotOneCoordinate) {
  const char* const cases[] = {
      "", " ", "°", "N", "abc", "35.6, 139.7", "35.68 139.76", "35.5°40'",  // decimals before the end
      "35°60'", "35°40'60\"", "40'", "35°52\"",                             // minutes skipped
      "-35°S", "N35S", "91N", "180.5", "181", "1e5", "35/40/", "35//40", "35°40'52\"X", "35 😀",
      "0x20", "inf", "nan", "35 40 52 10",
  };
  for (const char* text : cases) EXPECT_FALSE(ParseDegreesText(text)) << text;
}

struct CsvCase {
  const char* what;
  std::string text;
  std::string name, location, phone;
  double latitude, longitude;
};

TEST(CsvHeaders, AnyCommonHeaderSeparatorAndCoordinateFormReads) {
  const CsvCase cases[] = {
      {"ours", "name,latitude,longitude,location,nickname,phone\r\nA,35.5,139.25,X,,03\r\n", "A", "X", "03", 35.5,
       139.25},
      {"tab, other names and order", "Tel\tLng\tTitle\t Address \tLat\nTEL1\t139.25\tA\tX\t35.5\n", "A", "X", "TEL1",
       35.5, 139.25},
      {"semicolon", "LAT;LONG;NAME\r\n35.5;139.25;\"A;B\"\r\n", "A;B", "", "", 35.5, 139.25},
      {"Japanese", "名称,住所,電話,緯度,経度\r\n東京駅,千代田区,03,35.5,139.25\r\n", "東京駅", "千代田区", "03", 35.5,
       139.25},
      {"Japanese, other names", "名前,所在地,緯度,経度\r\nA,X,35.5,139.25\r\n", "A", "X", "", 35.5, 139.25},
      {"DMS cells", "name,lat,lon\r\nA,\"35°30'00\"\"N\",139°15'E\r\n", "A", "", "", 35.5, 139.25},
      {"southern and western", "name,lat,lon\r\nA,35 30 S,W139/15/00.000\r\n", "A", "", "", -35.5, -139.25},
      {"a comma inside quotes does not count", "\"name,x\"\tlat\tlon\r\nA\t35.5\t139.25\r\n", "", "", "", 35.5,
       139.25},
      {"a byte order mark and rows of empty cells", "\xEF\xBB\xBFname,lat,lon\r\n,,\r\n,\r\nA,35.5,139.25\r\n", "A",
       "", "", 35.5, 139.25},
  };
  for (const CsvCase& c : cases) {
    SCOPED_TRACE(c.what);
    ParsedWaypoints read = ReadCsv(c.text, 540);
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.points.size(), 1u);
    const Waypoint& p = read.points[0];
    EXPECT_EQ(p.name, c.name);
    EXPECT_EQ(p.location, c.location);
    EXPECT_EQ(p.phone, c.phone);
    EXPECT_TRUE(p.hasPosition);
    EXPECT_NEAR(p.latitude, c.latitude, 1e-9);
    EXPECT_NEAR(p.longitude, c.longitude, 1e-9);
  }
}

TEST(CsvDates, IsoDatesAndTimesConvertToLocalTime) {
  ParsedWaypoints read = ReadCsv(
      "name,lat,lon,date,time\r\n"
      "a,1,2,2024-05-01,\r\n"
      "b,1,2,2024-05-01T09:30:00+09:00,\r\n"
      "c,1,2,2024-05-01T00:30:00Z,\r\n"
      "d,1,2,2024-05-01T09:30:00,\r\n"
      "e,1,2,2024-05-01,07:08:09\r\n"
      "f,1,2,2024/05/01 07:08:09,\r\n",
      540);
  ASSERT_TRUE(read.ok()) << read.error;
  ASSERT_EQ(read.points.size(), 6u);
  EXPECT_EQ(read.points[5].stamp, (LocalStamp{2024, 5, 1, 7, 8, 9}));
  EXPECT_EQ(read.points[0].stamp, (LocalStamp{2024, 5, 1, 0, 0, 0}));
  EXPECT_EQ(read.points[1].stamp, (LocalStamp{2024, 5, 1, 9, 30, 0}));
  EXPECT_EQ(read.points[2].stamp, (LocalStamp{2024, 5, 1, 9, 30, 0}));
  EXPECT_EQ(read.points[3].stamp, (LocalStamp{2024, 5, 1, 9, 30, 0}));  // no zone: as written
  EXPECT_EQ(read.points[4].stamp, (LocalStamp{2024, 5, 1, 7, 8, 9}));
}

TEST(CsvPlaces, SavedListsTakeTheirPositionFromTheLinkOrHaveNone) {
  // The shape a map service's saved list export has: no coordinate columns, a row of empty
  // cells under the header, links with and without a position.
  ParsedWaypoints read = ReadCsv(
      "Title,Note,URL,Comment\r\n"
      ",,,\r\n"
      "Tokyo Tower,,\"https://www.google.com/maps/place/Tokyo+Tower/@35.6585805,139.7454329,17z\",\r\n"
      ",,\"https://www.google.com/maps/place/%E6%9D%B1%E4%BA%AC%E9%A7%85/@35.68,139.76,17z\",nice\r\n"
      "Kyoto Station,to visit,https://www.google.com/maps/place/Kyoto+Station/data=!4m2!3m1!1s0x0:0x0,\r\n"
      ",only a note,https://maps.app.goo.gl/AbCdEf,\r\n"  // nothing to take: passed over
      ",,\"geo:35.5,139.5?q=35.5,139.5(a%00b%0Ac)\",\r\n",
      540);
  ASSERT_TRUE(read.ok()) << read.error;
  ASSERT_EQ(read.points.size(), 4u);
  EXPECT_EQ(read.points[3].name, "a b c");  // a link's name holds no control characters
  EXPECT_EQ(read.points[0].name, "Tokyo Tower");
  EXPECT_TRUE(read.points[0].hasPosition);
  EXPECT_DOUBLE_EQ(read.points[0].latitude, 35.6585805);
  EXPECT_EQ(read.points[1].name, "東京駅");
  EXPECT_DOUBLE_EQ(read.points[1].longitude, 139.76);
  EXPECT_EQ(read.points[2].name, "Kyoto Station");
  EXPECT_FALSE(read.points[2].hasPosition);
  EXPECT_EQ(read.points[2].where, "line 5");
  // Empty coordinate cells are a place without a position, in our own columns too; written
  // back, they stay empty.
  ParsedWaypoints ours = ReadCsv("name,latitude,longitude,location\r\nA,,,Kyoto\r\n", 540);
  ASSERT_TRUE(ours.ok()) << ours.error;
  ASSERT_EQ(ours.points.size(), 1u);
  EXPECT_FALSE(ours.points[0].hasPosition);
  EXPECT_EQ(ours.points[0].location, "Kyoto");
  ParsedWaypoints again = ReadCsv(WriteCsv(ours.points), 540);
  ASSERT_TRUE(again.ok()) << again.error;
  EXPECT_FALSE(again.points.at(0).hasPosition);
}

TEST(CsvWrite, TabSeparatedTextReadsBackWhatWasWritten) {
  Waypoint a;
  a.name = "A\tB \"C\"";
  a.location = "1,2;3";
  a.latitude = 35.68123617;
  a.longitude = 139.76712484;
  a.icon = 7;
  a.stamp = LocalStamp{2024, 5, 1, 9, 30, 0};
  const std::string text = WriteCsv({a}, '\t');
  EXPECT_TRUE(text.starts_with("name\tlatitude\tlongitude\tlocation\tnickname\tphone\ticon\tvoice\tdate\ttime\r\n"));
  EXPECT_NE(text.find("\"A\tB \"\"C\"\"\"\t35.68123617\t139.76712484\t1,2;3\t"), std::string::npos) << text;
  ParsedWaypoints read = ReadCsv(text, 540);
  ASSERT_TRUE(read.ok()) << read.error;
  ASSERT_EQ(read.points.size(), 1u);
  EXPECT_EQ(read.points[0].name, a.name);
  EXPECT_EQ(read.points[0].location, a.location);
  EXPECT_EQ(read.points[0].icon, a.icon);
  EXPECT_EQ(read.points[0].stamp, a.stamp);
}

// UTF-16 with its byte order mark; little-endian is what a spreadsheet saves as "Unicode text".
std::string Utf16(std::u16string_view text, bool bigEndian = false) {
  std::string bytes;
  for (char16_t c : u"\uFEFF" + std::u16string(text)) {
    const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

TEST(CsvEncodings, SpreadsheetFilesReadInTheirEncodings) {
  const std::string utf8 = "名称,緯度,経度,住所\r\n東京駅,35.681236,139.767125,千代田区丸の内一丁目\r\n";
  // Shift_JIS, as a Japanese spreadsheet saves CSV.
  const std::string shiftJis =
      "\x96\xbc\x8f\xcc,\x88\xdc\x93\x78,\x8c\x6f\x93\x78,\x8f\x5a\x8f\x8a\r\n"
      "\x93\x8c\x8b\x9e\x89\x77,35.681236,139.767125,"
      "\x90\xe7\x91\xe3\x93\x63\x8b\xe6\x8a\xdb\x82\xcc\x93\xe0\x88\xea\x92\x9a\x96\xda\r\n";
  const std::pair<const char*, std::string> files[] = {
      {"UTF-8", utf8},
      {"UTF-8 with a byte order mark", "\xEF\xBB\xBF" + utf8},
      {"Shift_JIS", shiftJis},
      {"UTF-16 LE, tab-separated",
       Utf16(u"名称\t緯度\t経度\t住所\r\n東京駅\t35.681236\t139.767125\t千代田区丸の内一丁目\r\n")},
      {"UTF-16 BE", Utf16(u"name,lat,lon\n東京駅,35.681236,139.767125", true)},
  };
  for (const auto& [what, bytes] : files) {
    SCOPED_TRACE(what);
    ParsedWaypoints read = ReadCsv(CsvBytesAsUtf8(bytes), 540);
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.points.size(), 1u);
    EXPECT_EQ(read.points[0].name, "東京駅");
    EXPECT_DOUBLE_EQ(read.points[0].latitude, 35.681236);
    EXPECT_DOUBLE_EQ(read.points[0].longitude, 139.767125);
  }
}

TEST(CsvEncodings, BrokenUtf16BecomesReplacementCharacters) {
  // A pair, a high surrogate alone, a low surrogate alone, then an odd last byte.
  const std::string bytes = Utf16(u"\U0001F600\xD83Dx\xDE00") + "y";
  EXPECT_EQ(CsvBytesAsUtf8(bytes), "\U0001F600\uFFFDx\uFFFD\uFFFD");
}

TEST(CsvBadInput, IsRefusedWithWhatAndWhere) {
  const std::pair<std::string, std::string> cases[] = {
      {"Title,Note\r\nA,B\r\n", "no latitude and longitude columns and no URL column"},
      {"name,lat,lon\r\nA,35.5,\r\n", "line 2: latitude \"35.5\" and longitude \"\""},
      {"name,lat,lon\r\nA,35.5.5,139\r\n", "line 2: latitude \"35.5.5\""},
      {"name,lat,lon\r\nA,139°E,35°N\r\n", "line 2"},  // the hemispheres tell the columns swapped
      {"name,lat,lon,date\r\nA,1,2,2024-13-01\r\n", "line 2: date \"2024-13-01\" is not an ISO 8601 date"},
      {"name,lat,lon,date\r\nA,1,2,1999-12-31T23:00:00+09:00\r\n", "in the years 2000-2255"},
      {"name,lat,lon,date\r\nA,1,2,2024/05/01 noon\r\n", "line 2: date \"2024/05/01 noon\" is not YYYY/MM/DD HH:MM:SS"},
      {"Title,URL\r\nA,\"https://www.google.com/maps/@135.1,35.2,15z\"\r\n", "line 2: the URL"},
      {std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), "a NUL byte; this is not a CSV text file"},
      {"\x1F\x8B\x08\x00name,lat,lon\n", "line 1: control characters; this is not a CSV text file"},
  };
  // A line of a megabyte reads (its name is cut later, when it is stored).
  ParsedWaypoints longLine = ReadCsv("name,lat,lon\n\"" + std::string(1 << 20, 'x') + "\",1,2\n", 540);
  ASSERT_TRUE(longLine.ok()) << longLine.error;
  EXPECT_EQ(longLine.points.at(0).name.size(), 1u << 20);
  for (const auto& [text, expected] : cases) {
    ParsedWaypoints read = ReadCsv(text, 540);
    EXPECT_FALSE(read.ok()) << text;
    EXPECT_NE(read.error.find(expected), std::string::npos) << text << "\n" << read.error;
  }
}

}  // namespace
