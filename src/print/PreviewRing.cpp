#include "print/PreviewRing.h"

#include <algorithm>

namespace orivel {

int NextCheckedLine(const AddressBook& book, int current) {
  const int count = book.count();
  for (int i = std::max(current + 1, 0); i < count; ++i)
    if (book.isChecked(i)) return i;
  for (int i = 0; i < std::min(current, count); ++i)
    if (book.isChecked(i)) return i;
  return -1;
}

int PreviousCheckedLine(const AddressBook& book, int current) {
  const int last = book.count() - 1;
  for (int i = std::min(current - 1, last); i >= 0; --i)
    if (book.isChecked(i)) return i;
  for (int i = last; i > current && i >= 0; --i)
    if (book.isChecked(i)) return i;
  return -1;
}

CheckedPosition PositionAmongChecked(const AddressBook& book, int line) {
  CheckedPosition at;
  for (int i = 0; i < book.count(); ++i) {
    if (!book.isChecked(i)) continue;
    ++at.count;
    if (i == line) at.position = at.count;
  }
  return at;
}

}  // namespace orivel
