// Pasted text: the forms a map, a phone and a spreadsheet copy, each read to its point, and
// what holds no position refused whole with the line named.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/csv.h"
#include "exchange/pasted_text.h"

namespace {

struct Expected {
  double latitude, longitude;
  std::string name;
};

struct PasteCase {
  const char* text;
  std::vector<Expected> points;
};

constexpr int kJapan = 9 * 60;

// Ten decimals of a degree are well inside a unit of the point file (1/2048 arc-second).
constexpr double kTolerance = 1e-6;

TEST(PastedText, ReadsEachFormAsItsPoint) {
  const PasteCase cases[] = {
      {"35.681236, 139.767125", {{35.681236, 139.767125, ""}}},
      // Longitude first: a value beyond 90 can only be a longitude.
      {"139.767125 35.681236", {{35.681236, 139.767125, ""}}},
      {"東京駅\t35.681236\t139.767125", {{35.681236, 139.767125, "東京駅"}}},
      {"\xE3\x80\x80東京駅: 35.681236,139.767125 \r\n", {{35.681236, 139.767125, "東京駅"}}},
      // Numbers in a name stay in it.
      {"Route 1 35.68 139.76", {{35.68, 139.76, "Route 1"}}},
      {"Gate 5, 35.68, 139.76", {{35.68, 139.76, "Gate 5"}}},
      {"35°40'52.5\"N 139°46'01.6\"E", {{35.68125, 139.76711111, ""}}},
      // Hemisphere letters decide the order.
      {"皇居 139°45'10\"E, 35°41'08\"N", {{35.68555556, 139.75277778, "皇居"}}},
      {"35.68 N 139.76 E", {{35.68, 139.76, ""}}},
      {"Tokyo Sta. 35 40 52.5 N 139 46 1.6 E", {{35.68125, 139.76711111, "Tokyo Sta."}}},
      {"北緯35度40分52.5秒 東経139度46分1.6秒", {{35.68125, 139.76711111, ""}}},
      {"\n35.1, 136.9\r\n\r\n  名古屋 35.170915 136.881537\n",
       {{35.1, 136.9, ""}, {35.170915, 136.881537, "名古屋"}}},
      {"geo:35.681236,139.767125", {{35.681236, 139.767125, ""}}},
      {"皇居外苑 (geo:35.6804,139.7580)", {{35.6804, 139.758, "皇居外苑"}}},
      {"Tokyo https://www.openstreetmap.org/?mlat=35.68124&mlon=139.76712#map=17/35.68124/139.76712",
       {{35.68124, 139.76712, "Tokyo"}}},
      // The place's own position (!3d!4d) and its name from the link.
      {"https://www.google.com/maps/place/%E6%9D%B1%E4%BA%AC%E9%A7%85/@35.6812362,139.7649361,17z/"
       "data=!3m1!4b1!4m6!3m5!1s0x0:0x0!8m2!3d35.6812362!4d139.7671248",
       {{35.6812362, 139.7671248, "東京駅"}}},
  };
  for (const PasteCase& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedWaypoints read = ReadPastedText(c.text, kJapan);
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.points.size(), c.points.size());
    for (std::size_t i = 0; i < c.points.size(); ++i) {
      EXPECT_NEAR(read.points[i].latitude, c.points[i].latitude, kTolerance);
      EXPECT_NEAR(read.points[i].longitude, c.points[i].longitude, kTolerance);
      EXPECT_EQ(read.points[i].name, c.points[i].name);
    }
  }
}

TEST(PastedText, RefusesTextWithoutAPositionWhole) {
  const struct {
    std::string text;
    const char* error;  // a part of the message
  } cases[] = {
      {"", "holds no position"},
      {" \r\n\t\n", "holds no position"},
      {"hello world", "line 1: \"hello world\" holds no position"},
      {"35.68, 139.76\n\nmeet at noon", "line 3:"},
      {"35.68", "holds no position"},
      {"95.5, 139.7", "holds no position"},  // no latitude beyond 90
      {"35.6 N, 35.6 N", "holds no position"},
      {"https://maps.app.goo.gl/Ab12Cd34Ef", "short link"},
      {"Station https://goo.gl/maps/xyz", "line 1: the link holds no position"},
      {"https://www.google.com/maps/place/%FF%FE/@35.68,139.76,17z", "line 1: "},
      {std::string(kPastedTextLimit + 1, ' '), "at most 1048576 bytes"},
      {std::string("35.68, 139.76\nA\0B 35.68, 139.76", 30), "line 2: a NUL byte"},
      // A table must read as one, or not at all.
      {"name\tlatitude\tlongitude\nA\t35.1\n", "line 2"},
      {"name\tlatitude\tlongitude\n\"\"\n", "no row after its header"},
      {"name\tlatitude\tlongitude\nA\t35.1\t139.7\nB\t\t\n", "line 3: the row holds no position"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 80));
    const ParsedWaypoints read = ReadPastedText(c.text, kJapan);
    EXPECT_NE(read.error.find(c.error), std::string::npos) << read.error;
  }
}

TEST(PastedText, TakesBackTheTableCopyWrites) {
  Waypoint a;
  a.name = "東京駅 \"丸の内\"\t北口";
  a.location = "千代田区";
  a.nickname = "えき";
  a.phone = "03-1234";
  a.latitude = 35.68123617;
  a.longitude = 139.76712484;
  a.icon = 12;
  a.voice = 3;
  a.stamp = LocalStamp{2024, 5, 1, 9, 30, 0};
  Waypoint b;
  b.name = "";
  b.latitude = 43.0;
  b.longitude = 141.35;
  const ParsedWaypoints read = ReadPastedText(WriteCsv({a, b}, '\t'), kJapan);
  ASSERT_TRUE(read.ok()) << read.error;
  ASSERT_EQ(read.points.size(), 2u);
  const Waypoint& back = read.points[0];
  EXPECT_EQ(back.name, a.name);
  EXPECT_EQ(back.location, a.location);
  EXPECT_EQ(back.nickname, a.nickname);
  EXPECT_EQ(back.phone, a.phone);
  EXPECT_DOUBLE_EQ(back.latitude, a.latitude);
  EXPECT_DOUBLE_EQ(back.longitude, a.longitude);
  EXPECT_EQ(back.icon, a.icon);
  EXPECT_EQ(back.voice, a.voice);
  EXPECT_EQ(back.stamp, a.stamp);
  EXPECT_EQ(read.points[1].name, "");
  EXPECT_FALSE(read.points[1].stamp);
}

}  // namespace
