#include "settings/CalibrationShift.h"

#include <gtest/gtest.h>

#include <limits>

namespace orivel::test {
namespace {

TEST(CalibrationShiftTest, MillimetresBecomeOffsetStepsTakenBackRoundedAndKeptInRange) {
  struct Case {
    double shiftMm;
    int offset;
  };
  const Case cases[] = {
      {0.0, 50},    {0.2646, 49}, {-0.2646, 51},
      {0.13, 50},   {0.14, 49},   {1.0, 46},
      {-1.0, 54},   {2.5, 41},    {-2.5, 59},
      {13.2, 0},    {-13.2, 100}, {13.3, 0},
      {-20.0, 100}, {30.0, 0},    {std::numeric_limits<double>::quiet_NaN(), 50},
  };
  for (const Case& c : cases) EXPECT_EQ(OffsetForShift(c.shiftMm), c.offset) << c.shiftMm << " mm";
}

TEST(CalibrationShiftTest, EachShiftSetsItsGroupsAcrossAndDownOffsets) {
  usertype user;
  user.offsets = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  ApplyPrintedShift(user, ShiftedBlocks::Addressee, {1.0, -2.5});
  EXPECT_EQ(user.offsets,
            (std::array<int, kOffsetCount>{46, 59, 46, 59, 46, 59, 7, 8, 9, 10, 11, 12}));
  ApplyPrintedShift(user, ShiftedBlocks::Sender, {-100.0, 0.0});
  EXPECT_EQ(user.offsets,
            (std::array<int, kOffsetCount>{46, 59, 46, 59, 46, 59, 100, 50, 100, 50, 100, 50}));
}

}  // namespace
}  // namespace orivel::test
