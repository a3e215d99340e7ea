#include "exchange/map_link.h"

#include <gtest/gtest.h>

namespace {

struct LinkCase {
  const char* link;
  double latitude, longitude;
  const char* name;
};

TEST(MapLink, ReadsThePositionAndNameOfEachForm) {
  const LinkCase cases[] = {
      // The data part's !3d/!4d is the place itself and wins over the map's centre after @.
      {"https://www.google.com/maps/place/%E6%9D%B1%E4%BA%AC%E9%A7%85/@35.6812,139.7671,17z/"
       "data=!3m1!4b1!4m6!3m5!1s0x0:0x0!8m2!3d35.6812362!4d139.7671248!16s",
       35.6812362, 139.7671248, "東京駅"},
      {"https://www.google.com/maps/place/Tokyo+Tower/@35.6585805,139.7454329,17z", 35.6585805, 139.7454329,
       "Tokyo Tower"},
      {"https://www.google.com/maps/@35.0116,135.7681,15z", 35.0116, 135.7681, ""},
      {"https://www.google.com/maps?q=35.681236,139.767125", 35.681236, 139.767125, ""},
      {"https://maps.google.com/?q=loc:34.6937+135.5023", 34.6937, 135.5023, ""},
      {"https://www.google.com/maps/search/?api=1&query=35.1709%2C136.8815", 35.1709, 136.8815, ""},
      {"https://www.google.com/maps/search/35.1709,+136.8815?entry=ttu", 35.1709, 136.8815, ""},
      {"https://maps.apple.com/?ll=43.0621,141.3544&q=%E6%9C%AD%E5%B9%8C", 43.0621, 141.3544, "札幌"},
      {"https://www.openstreetmap.org/?mlat=33.5902&mlon=130.4017#map=16/33.5902/130.4017", 33.5902, 130.4017, ""},
      {"https://www.openstreetmap.org/#map=12/26.2124/127.6809", 26.2124, 127.6809, ""},
      {"https://maps.gsi.go.jp/#15/35.360556/138.727778/&base=std", 35.360556, 138.727778, ""},
      {"https://map.yahoo.co.jp/place?lat=34.9858&lon=135.7588&zoom=16", 34.9858, 135.7588, ""},
      {"geo:35.6586,139.7454", 35.6586, 139.7454, ""},
      {"geo:35.6586,139.7454,333;u=10", 35.6586, 139.7454, ""},
      {"GEO:0,0?q=35.7101,139.8107(%E3%82%B9%E3%82%AB%E3%82%A4%E3%83%84%E3%83%AA%E3%83%BC)", 35.7101, 139.8107,
       "スカイツリー"},
      {"  <https://www.google.com/maps/@-33.8568,151.2153,15z>\r\n", -33.8568, 151.2153, ""},
      {"https://www.google.com/maps/place/A%0AB%00C%09D/@35.1,139.1,17z", 35.1, 139.1, "A B C D"},
  };
  for (const LinkCase& c : cases) {
    std::string error;
    const std::optional<LinkedPlace> place = PlaceFromLink(c.link, error);
    ASSERT_TRUE(place) << c.link << ": " << error;
    EXPECT_DOUBLE_EQ(place->latitude, c.latitude) << c.link;
    EXPECT_DOUBLE_EQ(place->longitude, c.longitude) << c.link;
    EXPECT_EQ(place->name, c.name) << c.link;
    EXPECT_EQ(error, "") << c.link;
  }
}

TEST(MapLink, TellsALinkWithoutPositionFromABrokenOne) {
  struct Refusal {
    const char* link;
    bool broken;
  };
  const Refusal cases[] = {
      {"https://maps.app.goo.gl/AbCdEf123", false},  // a short link: only the network knows
      {"https://www.google.com/maps/place/Tokyo+Station/", false},
      {"geo:0,0?q=1600+Amphitheatre+Parkway", false},
      {"https://www.google.com/maps?q=Kyoto", false},
      {"", false},
      {"https://www.google.com/maps/@135.1,35.2,15z", true},  // the pair swapped: no such latitude
      {"https://www.google.com/maps/place/%82%A0/@35.68,139.76,17z", true},  // a Shift_JIS name
  };
  for (const Refusal& c : cases) {
    std::string error;
    EXPECT_FALSE(PlaceFromLink(c.link, error)) << c.link;
    EXPECT_EQ(!error.empty(), c.broken) << c.link << ": " << error;
  }
}

}  // namespace
