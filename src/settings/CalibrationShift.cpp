#include "settings/CalibrationShift.h"

#include <algorithm>
#include <cmath>

namespace orivel {

int OffsetForShift(double shiftMm) {
  if (!std::isfinite(shiftMm)) return kNeutralOffset;
  const double steps = std::round(shiftMm / kMmPerOffsetStep);
  return static_cast<int>(std::clamp(kNeutralOffset - steps, 0.0, 100.0));
}

void ApplyPrintedShift(usertype& user, ShiftedBlocks blocks, PrintedShift shift) {
  const int first = blocks == ShiftedBlocks::Addressee ? 1 : 7;
  const int across = OffsetForShift(shift.leftMm);
  const int down = OffsetForShift(shift.downMm);
  for (int k = first; k < first + 6; k += 2) {
    user.offsets[static_cast<std::size_t>(k - 1)] = across;
    user.offsets[static_cast<std::size_t>(k)] = down;
  }
}

}  // namespace orivel
