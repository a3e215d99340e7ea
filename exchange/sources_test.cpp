// Files as map services, their list exports and other devices write them, made here from the
// layouts those exports document: saved places as GeoJSON, lists of places as KML and KMZ,
// GPX routes; and files that are not what their names say.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "exchange/format.h"

namespace {

struct Expected {
  std::string name, location, phone;
  std::optional<std::pair<double, double>> position;  // latitude, longitude; none: no position
  std::optional<LocalStamp> stamp = std::nullopt;
};

void ExpectPoints(const ParsedWaypoints& read, const std::vector<Expected>& expected) {
  ASSERT_TRUE(read.ok()) << read.error;
  ASSERT_EQ(read.points.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    const Waypoint& p = read.points[i];
    EXPECT_EQ(p.name, expected[i].name);
    EXPECT_EQ(p.location, expected[i].location);
    EXPECT_EQ(p.phone, expected[i].phone);
    EXPECT_EQ(p.hasPosition, expected[i].position.has_value());
    if (expected[i].position) {
      EXPECT_DOUBLE_EQ(p.latitude, expected[i].position->first);
      EXPECT_DOUBLE_EQ(p.longitude, expected[i].position->second);
    }
    EXPECT_EQ(p.stamp, expected[i].stamp);
  }
}

// A saved-places export in the older layout, then in the newer one, in one collection: the
// reader tells them apart feature by feature. Places the export knows no position of stand
// at 0,0; their URL may still give one.
constexpr char kSavedPlaces[] = R"({"type": "FeatureCollection", "features": [
 {"geometry": {"coordinates": [139.7671, 35.6812], "type": "Point"},
  "properties": {"Google Maps URL": "http://maps.google.com/?cid=1",
   "Location": {"Address": "東京都千代田区丸の内1丁目", "Business Name": "東京駅",
    "Country Code": "JP", "Geo Coordinates": {"Latitude": "35.6812", "Longitude": "139.7671"}},
   "Published": "2019-04-01T03:00:00Z", "Title": "東京駅", "Updated": "2020-01-01T00:00:00Z"},
  "type": "Feature"},
 {"geometry": {"coordinates": [0, 0], "type": "Point"},
  "properties": {"Title": "", "Location": {"Business Name": "Cafe",
   "Geo Coordinates": {"Latitude": 35.5, "Longitude": 139.25}}}, "type": "Feature"},
 {"geometry": {"coordinates": [0, 0], "type": "Point"},
  "properties": {"Title": "Pin", "Google Maps URL": "http://maps.google.com/?q=35.25,139.5"}, "type": "Feature"},
 {"geometry": {"coordinates": [0, 0], "type": "Point"},
  "properties": {"Title": "Nowhere", "Google Maps URL": "http://maps.google.com/?cid=12345"}, "type": "Feature"},
 {"geometry": {"coordinates": [135.5, 34.75], "type": "Point"},
  "properties": {"date": "2023-05-01T00:30:00Z", "google_maps_url": "http://maps.google.com/?cid=2",
   "location": {"address": "大阪府大阪市中央区", "country_code": "JP", "name": "大阪城"}}, "type": "Feature"},
 {"geometry": {"coordinates": [0, 0], "type": "Point"},
  "properties": {"date": "2023-05-02T00:00:00Z",
   "google_maps_url": "https://www.google.com/maps/place/Somewhere/@35.125,136.875,17z",
   "location": {"address": "名古屋市"}}, "type": "Feature"},
 {"geometry": {"coordinates": [0, 0], "type": "Point"},
  "properties": {"date": "sometime", "google_maps_url": "http://maps.google.com/?cid=99",
   "location": {"name": "Closed shop"},
   "Comment": "No location information is available for this saved place"}, "type": "Feature"},
 {"geometry": {"coordinates": [0, 0], "type": "Point"},
  "properties": {"google_maps_url": "http://maps.google.com/?cid=98", "location": {}}, "type": "Feature"},
 {"geometry": null, "properties": {"name": "x", "location": "ours, without a position"}, "type": "Feature"},
 {"geometry": null, "properties": {}, "type": "Feature"},
 {"geometry": {"coordinates": [[139, 35], [140, 36]], "type": "LineString"}, "properties": {"name": "line"}, "type": "Feature"}
]})";

TEST(SourcesSavedPlaces, BothLayoutsGivePositionsFromGeometryCoordinatesOrUrl) {
  const ParsedWaypoints read = ReadWaypoints(Format::kGeoJson, kSavedPlaces, 9 * 60);
  ExpectPoints(read, {
      {"東京駅", "東京都千代田区丸の内1丁目", "", {{35.6812, 139.7671}}, LocalStamp{2019, 4, 1, 12, 0, 0}},
      {"Cafe", "", "", {{35.5, 139.25}}},
      {"Pin", "", "", {{35.25, 139.5}}},
      {"Nowhere", "", "", std::nullopt},
      {"大阪城", "大阪府大阪市中央区", "", {{34.75, 135.5}}, LocalStamp{2023, 5, 1, 9, 30, 0}},
      {"Somewhere", "名古屋市", "", {{35.125, 136.875}}, LocalStamp{2023, 5, 2, 9, 0, 0}},
      {"Closed shop", "", "", std::nullopt},
      {"x", "ours, without a position", "", std::nullopt},
  });
  EXPECT_EQ(read.ignoredTimes, 1);
}

// A My Maps layer: places in folders at any depth, the columns of the list they were made
// from in ExtendedData, descriptions in HTML, lines and areas, places known by address only.
constexpr char kMyMapsKml[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<kml xmlns="http://www.opengis.net/kml/2.2">
  <Document>
    <name>旅行</name>
    <Style id="icon-1899-0288D1-normal"><IconStyle><scale>1</scale></IconStyle></Style>
    <Folder>
      <name>レイヤ1</name>
      <Placemark>
        <name>金閣寺</name>
        <description><![CDATA[住所: 京都市北区<br>電話: 075-000-0000]]></description>
        <styleUrl>#icon-1899-0288D1</styleUrl>
        <ExtendedData>
          <Data name="住所"><value>京都府京都市北区金閣寺町1</value></Data>
          <Data name="電話"><value> 075-461-0013 </value></Data>
        </ExtendedData>
        <Point><coordinates>
          135.7292,35.0394,0
        </coordinates></Point>
      </Placemark>
      <Folder><Folder>
        <Placemark>
          <name>Deep</name>
          <description><![CDATA[<img src="https://example.invalid/a.jpg" height="200" width="auto" /><br><br>Nice &amp; <b>quiet</b>]]></description>
          <Point><coordinates>139.5,35.25,0</coordinates></Point>
        </Placemark>
      </Folder></Folder>
      <Placemark><name>Path</name><LineString><coordinates>139,35,0 140,36,0</coordinates></LineString></Placemark>
      <Placemark><name>Lake</name><ExtendedData><Data name="address"><value>somewhere</value></Data></ExtendedData>
        <Polygon><outerBoundaryIs><LinearRing><coordinates>139,35,0 140,36,0 139,36,0 139,35,0</coordinates></LinearRing></outerBoundaryIs></Polygon></Placemark>
      <Placemark><name>未定の店</name><address>東京都渋谷区</address></Placemark>
      <Placemark><ExtendedData><Data name="Address"><value>1 Main St</value></Data>
        <Data name="Phone"><value>+81 3 0000 0000</value></Data></ExtendedData></Placemark>
      <Placemark><name>Schema</name><ExtendedData><SchemaData schemaUrl="#s"><SimpleData name="ADDRESS">2 Side St</SimpleData>
        </SchemaData></ExtendedData></Placemark>
      <Placemark><name>Note only</name><description>just a note</description></Placemark>
    </Folder>
  </Document>
</kml>
)";

const std::vector<Expected> kMyMapsPoints = {
    {"金閣寺", "京都府京都市北区金閣寺町1", "075-461-0013", {{35.0394, 135.7292}}},
    {"Deep", "Nice & quiet", "", {{35.25, 139.5}}},
    {"未定の店", "東京都渋谷区", "", std::nullopt},
    {"1 Main St", "1 Main St", "+81 3 0000 0000", std::nullopt},
    {"Schema", "2 Side St", "", std::nullopt},
};

// A stored (unpacked) zip archive of `entries`, as archivers write those they do not deflate.
std::string ZipOf(const std::vector<std::pair<std::string, std::string>>& entries) {
  auto crc32 = [](const std::string& data) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (unsigned char c : data) {
      crc ^= c;
      for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
  };
  auto put = [](std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
  };
  std::string out, directory;
  for (const auto& [name, data] : entries) {
    const auto offset = static_cast<std::uint32_t>(out.size());
    const auto size = static_cast<std::uint32_t>(data.size());
    const auto nameSize = static_cast<std::uint32_t>(name.size());
    put(out, 0x04034b50, 4);
    put(out, 10, 2), put(out, 0, 2), put(out, 0, 2), put(out, 0, 2), put(out, 0x21, 2);
    put(out, crc32(data), 4), put(out, size, 4), put(out, size, 4), put(out, nameSize, 2), put(out, 0, 2);
    out += name + data;
    put(directory, 0x02014b50, 4);
    put(directory, 20, 2), put(directory, 10, 2), put(directory, 0, 2), put(directory, 0, 2), put(directory, 0, 2);
    put(directory, 0x21, 2), put(directory, crc32(data), 4), put(directory, size, 4), put(directory, size, 4);
    put(directory, nameSize, 2), put(directory, 0, 2), put(directory, 0, 2), put(directory, 0, 2), put(directory, 0, 2);
    put(directory, 0, 4), put(directory, offset, 4);
    directory += name;
  }
  const auto directoryAt = static_cast<std::uint32_t>(out.size());
  out += directory;
  put(out, 0x06054b50, 4), put(out, 0, 2), put(out, 0, 2);
  put(out, static_cast<std::uint32_t>(entries.size()), 2), put(out, static_cast<std::uint32_t>(entries.size()), 2);
  put(out, static_cast<std::uint32_t>(directory.size()), 4), put(out, directoryAt, 4), put(out, 0, 2);
  return out;
}

TEST(SourcesMyMaps, PlacesInFoldersWithTheirListFieldsAndPlacesWithoutPositions) {
  ExpectPoints(ReadWaypoints(Format::kKml, kMyMapsKml, 9 * 60), kMyMapsPoints);
  // The same layer as a KMZ: doc.kml beside the images the map uses.
  const std::string kmz = ZipOf({{"images/", ""}, {"images/icon-1.png", "\x89PNG\r\n\x1a\n"}, {"doc.kml", kMyMapsKml}});
  ExpectPoints(ReadWaypoints(Format::kKmz, kmz, 9 * 60), kMyMapsPoints);
}

TEST(SourcesGpxRoutes, RoutePointsStandInForMissingWaypointsButTracksDoNot) {
  const std::string head = R"(<?xml version="1.0"?><gpx version="1.1" creator="x" xmlns="http://www.topografix.com/GPX/1/1">)";
  const std::string routes =
      R"(<rte><name>Day 1</name><rtept lat="35.1" lon="139.1"><name>Start</name><desc>Gate</desc></rtept>
         <rtept lat="35.2" lon="139.2"><time>2024-05-01T00:00:00Z</time></rtept></rte>
         <rte><rtept lat="35.3" lon="139.3"/></rte>)";
  const std::string track = R"(<trk><name>Walk</name><trkseg><trkpt lat="35" lon="139"/><trkpt lat="35.1" lon="139"/></trkseg></trk>)";
  ExpectPoints(ReadWaypoints(Format::kGpx, head + routes + track + "</gpx>", 9 * 60),
               {{"Start", "Gate", "", {{35.1, 139.1}}},
                {"Day 1 2", "", "", {{35.2, 139.2}}, LocalStamp{2024, 5, 1, 9, 0, 0}},
                {"Route 2 1", "", "", {{35.3, 139.3}}}});
  // Waypoints, where there are any, are the file's points; its routes are ways between them.
  ExpectPoints(ReadWaypoints(Format::kGpx, head + routes + R"(<wpt lat="34" lon="135"><name>W</name></wpt></gpx>)", 9 * 60),
               {{"W", "", "", {{34, 135}}}});
  const ParsedWaypoints tracks = ReadWaypoints(Format::kGpx, head + track + "<rte/></gpx>", 9 * 60);
  EXPECT_NE(tracks.error.find("only tracks, which are not points"), std::string::npos) << tracks.error;
  const ParsedWaypoints broken = ReadWaypoints(Format::kGpx, head + R"(<rte><rtept lat="x" lon="1"/></rte></gpx>)", 9 * 60);
  EXPECT_NE(broken.error.find("rtept 1 (line 1): lat=\"x\""), std::string::npos) << broken.error;
}

std::string Repeated(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(SourcesHostile, FilesThatAreNotWhatTheirNamesSayOrNestTooDeep) {
  const std::string kml = R"(<?xml version="1.0"?><kml xmlns="http://www.opengis.net/kml/2.2"><Document/></kml>)";
  const std::string gpx = "<?xml version=\"1.0\"?>\n<!-- by hand -->\n<gpx version=\"1.1\"></gpx>";
  const std::vector<std::tuple<Format, std::string, std::string>> cases = {
      {Format::kKmz, kml, "not a KMZ file: it is an XML document <kml> (KML)"},
      {Format::kKmz, "name,latitude,longitude\n", "not a KMZ file: it is text, not a zip archive"},
      {Format::kGeoJson, gpx, "not a GeoJSON file: it is an XML document <gpx> (GPX)"},
      {Format::kGeoJson, ZipOf({{"doc.kml", kml}}), "not a GeoJSON file: it is a zip archive"},
      {Format::kGpx, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "not a GPX file: it is binary data"},
      {Format::kKml, "{\"type\": \"FeatureCollection\"}", "not a KML file: it is JSON text"},
      {Format::kKml, "", "empty"},
      {Format::kKmz, "", "empty"},
      {Format::kGeoJson, "\n", "not valid JSON"},
      {Format::kGeoJson, Repeated("[", 200'000), "nested more than 100 deep at line 1, column 101"},
      {Format::kGeoJson, R"({"type":"FeatureCollection","features":[{"properties":{"icon":)" + Repeated("[", 100) + "]}}]}",
       "nested more than 100 deep"},
      {Format::kKml, "<kml>" + Repeated("<Folder>", 100'000) + Repeated("</Folder>", 100'000) + "</kml>", "nested more than 256 deep at line 1"},
      {Format::kGpx, "<gpx>\n" + Repeated("<a>", 300) + Repeated("</a>", 300) + "</gpx>", "nested more than 256 deep at line 2"},
  };
  for (const auto& [format, text, expected] : cases) {
    SCOPED_TRACE(std::string(FormatName(format)) + ": " + text.substr(0, 60));
    const ParsedWaypoints read = ReadWaypoints(format, text, 540);
    EXPECT_FALSE(read.ok());
    EXPECT_NE(read.error.find(expected), std::string::npos) << read.error;
  }
  // Within the limit, folders in folders are still read.
  const std::string placemark = "<Placemark><Point><coordinates>139,35</coordinates></Point></Placemark>";
  const ParsedWaypoints deep =
      ReadWaypoints(Format::kKml, "<kml>" + Repeated("<Folder>", 250) + placemark + Repeated("</Folder>", 250) + "</kml>", 540);
  ASSERT_TRUE(deep.ok()) << deep.error;
  EXPECT_EQ(deep.points.size(), 1u);
}

}  // namespace
