// Position capture's rule: which replies make a marker, and the point taken there.
#include "maplink/capture.h"

#include <gtest/gtest.h>

#include <string>

#include "pointfile/point_file.h"
#include "pointfile/testing/point_images.h"
#include "pointfile/text_forms.h"

namespace {

TEST(MarkerText, OnlyACoordinateReplyMakesAMarker) {
  const std::pair<const char*, const char*> cases[] = {
      {"35/39/29123", "35.39.29.123"}, {"139/44/05007", "139.44.05.007"}, {" 35/39/29123", " 35.39.29.123"},
      {"", ""}, {"no marker", ""}, {"181/00/00000", ""}, {"35/39", ""},
  };
  for (const auto& [reply, text] : cases) EXPECT_EQ(MarkerText(reply), text) << reply;
  EXPECT_FALSE((MarkerTexts{"35.39.29.123", ""}).Known());
  EXPECT_TRUE((MarkerTexts{"35.39.29.123", "139.44.05.007"}).Known());
}

const MarkerTexts kMarker{"35.39.29.123", "139.44.05.007"};

TEST(CapturePoint, AppendsAFreshPointNamedForTheMarkerAfterTheLastPoint) {
  PointFile file = Loaded(ImageWithPoints(5));
  const Insertion done = CapturePoint(file, kMarker, kSlotCount);
  EXPECT_EQ(done.first, 5);
  EXPECT_EQ(done.count, 1);
  EXPECT_EQ(file.GetPointCount(), 6);
  EXPECT_EQ(file.GetName(5), "新しいポイント");
  EXPECT_EQ(file.GetLatitude(5), ParseDms("35/39/29.123"));
  EXPECT_EQ(file.GetLongitude(5), ParseDms("139/44/05.007"));
  EXPECT_EQ(file.GetIcon(5), 1);
  EXPECT_EQ(file.GetNickname(5) + file.GetLocation(5) + file.GetPhone(5), "");
  EXPECT_EQ(file.GetVoiceCode(5), 0);
  EXPECT_EQ(file.GetChecksum(5), file.ComputeChecksum(5));
  EXPECT_TRUE(file.IsModified());
}

TEST(CapturePoint, FillsAForeignFilesGapAndStopsAtTheLimit) {
  Image image = ImageWithPoints(3);
  PutPoint(image, 5, 77);  // a point after a gap
  PointFile file = Loaded(image);
  EXPECT_EQ(CapturePoint(file, kMarker, kSlotCount).first, 3);
  EXPECT_EQ(file.GetLongitude(5), 77u);
  EXPECT_EQ(CapturePoint(file, kMarker, kSlotCount).first, 4);
  EXPECT_EQ(file.GetPointCount(), 6);  // the gap closed: the stray point joined the run

  PointFile full = Loaded(ImageWithPoints(kSlotCount - 1));
  EXPECT_EQ(CapturePoint(full, kMarker, kSlotCount).count, 1);
  const Image before = ImageOf(full);
  const Insertion refused = CapturePoint(full, kMarker, kSlotCount);
  EXPECT_TRUE(refused.full);
  EXPECT_EQ(refused.count, 0);
  EXPECT_EQ(ImageOf(full), before);
}

TEST(MovePointToMarker, ChangesOnlyTheCoordinatesAndTheChecksum) {
  PointFile file = Loaded(ImageWithPoints(3));
  PointFile expected = Loaded(ImageWithPoints(3));
  MovePointToMarker(file, 1, kMarker);
  EXPECT_EQ(file.GetLatitude(1), ParseDms("35/39/29.123"));
  EXPECT_EQ(file.GetLongitude(1), ParseDms("139/44/05.007"));
  EXPECT_EQ(file.GetChecksum(1), file.ComputeChecksum(1));
  EXPECT_TRUE(file.IsModified());
  // The same change through the setters alone gives the same image: no other field moved.
  expected.SetLatitude(1, ParseDms("35/39/29.123"));
  expected.SetLongitude(1, ParseDms("139/44/05.007"));
  expected.UpdateChecksum(1);
  EXPECT_EQ(ImageOf(file), ImageOf(expected));
}

}  // namespace
