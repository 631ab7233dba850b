#pragma once

#include "settings/usertype.h"

// From the calibration card back to the print offsets: the user reads off a printed card how
// far the printer put the marks from where they belong, in millimetres, and the offsets
// take the shift back.
namespace orivel {

// One offset step: one design pixel, 25.4 / 96 mm.
inline constexpr double kMmPerOffsetStep = 25.4 / 96.0;

// How far the marks stood from their places on the card held upright: `leftMm` toward the
// card's left edge (negative: toward its right), `downMm` toward its bottom edge
// (negative: toward its top).
struct PrintedShift {
  double leftMm = 0;
  double downMm = 0;
};

// The offset that takes `shiftMm` back: a larger across offset moves a block toward the
// card's left edge and a larger down offset toward its bottom, so a shift of the print in
// that direction lowers the offset. One step a design pixel, rounded to the nearest step,
// kept within 0 ... 100.
int OffsetForShift(double shiftMm);

// Which offsets a shift sets: the addressee's blocks (offsets 1 to 6) or the sender's
// (7 to 12).
enum class ShiftedBlocks { Addressee, Sender };

// Sets the three across and the three down offsets of `blocks` in `user` from `shift`.
void ApplyPrintedShift(usertype& user, ShiftedBlocks blocks, PrintedShift shift);

}  // namespace orivel
