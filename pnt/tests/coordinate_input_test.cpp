// Coordinates as typed on pnt's command line, checked as the edit dialog checks them.
#include <gtest/gtest.h>

#include "pnt/coordinate_input.h"

namespace {

TEST(Coordinates, TypedDmsIsCheckedAsTheEditDialogAndBeyond) {
  EXPECT_TRUE(DegreesInRange("146/59/59.999", 122, 146));
  EXPECT_TRUE(DegreesInRange(" 24", 24, 45));
  EXPECT_FALSE(DegreesInRange("147", 122, 146));
  EXPECT_FALSE(DegreesInRange("/", 122, 146));
  EXPECT_FALSE(DegreesInRange("-35", 24, 45));
  EXPECT_EQ(DmsFieldProblem("139/44/28.500"), "");
  EXPECT_EQ(DmsFieldProblem("35 39 29123"), "");  // seconds and thousandths together
  EXPECT_NE(DmsFieldProblem("139.7671"), "");     // decimal degrees would read as 7671 minutes
  EXPECT_NE(DmsFieldProblem("35/39/75/1"), "");
  EXPECT_NE(DmsFieldProblem("35/39/61000"), "");
  EXPECT_NE(DmsFieldProblem("35E"), "");
}

}  // namespace
