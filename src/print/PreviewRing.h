#pragma once

#include "book/AddressBook.h"

// The preview pages through the checked lines as a ring. Each search reads the check marks
// as they are at that moment and never returns the line it starts from.
namespace orivel {

// The first checked line after `current`, wrapping round to line 0; -1 when there is none.
int NextCheckedLine(const AddressBook& book, int current);

// The first checked line before `current`, wrapping round to the last line; -1 when there
// is none.
int PreviousCheckedLine(const AddressBook& book, int current);

// Where a line stands among the checked lines: its place from 1 (0 when it is not checked)
// and how many lines are checked.
struct CheckedPosition {
  int position = 0;
  int count = 0;
};
CheckedPosition PositionAmongChecked(const AddressBook& book, int line);

}  // namespace orivel
