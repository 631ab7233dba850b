#pragma once

#include <array>
#include <cstddef>

// Japan Post's frame of seven boxes for the addressee's postal code, printed in red on every
// postcard, and the card it stands on. Millimetres on the card held upright, as the
// addressee reads it: measured from its top edge down and from its right edge leftward.
// The page renderer, the preview and the calibration card all take the boxes from here.
namespace orivel::postal_frame {

inline constexpr double kCardWidthMm = 100.0;
inline constexpr double kCardHeightMm = 148.0;

inline constexpr double kTopMm = 12.0;   // the boxes' top line below the card's top edge
inline constexpr double kRightMm = 8.0;  // the rightmost box's right line from the right edge
inline constexpr double kBoxWidthMm = 5.7;
inline constexpr double kBoxHeightMm = 8.0;
inline constexpr std::size_t kBoxCount = 7;
// The gaps between neighbouring boxes, counted from the left: three boxes, the wider gap
// where the hyphen would stand, then four.
inline constexpr std::array<double, kBoxCount - 1> kGapsMm = {1.3, 1.3, 1.9, 1.1, 1.1, 1.1};

// One box: its top line below the card's top edge and its right line from the right edge.
struct Box {
  double topMm = 0;
  double rightMm = 0;  // distance of the box's right line from the card's right edge
  double widthMm = kBoxWidthMm;
  double heightMm = kBoxHeightMm;

  double centreDownMm() const { return topMm + heightMm / 2; }
  double centreFromRightMm() const { return rightMm + widthMm / 2; }
};

// The seven boxes, the first the leftmost (the postal code's first digit).
constexpr std::array<Box, kBoxCount> Boxes() {
  std::array<Box, kBoxCount> boxes{};
  double right = kRightMm;
  for (std::size_t i = kBoxCount; i-- > 0;) {
    boxes[i] = {kTopMm, right, kBoxWidthMm, kBoxHeightMm};
    if (i > 0) right += kBoxWidthMm + kGapsMm[i - 1];
  }
  return boxes;
}

}  // namespace orivel::postal_frame
