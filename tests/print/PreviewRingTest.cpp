#include "print/PreviewRing.h"

#include <gtest/gtest.h>

#include <string>

namespace orivel {
namespace {

void fill(AddressBook& book, int lines, std::initializer_list<int> checked) {
  for (int i = 0; i < lines; ++i) {
    datatype e;
    e.name = "n" + std::to_string(i);
    book.append(e);
  }
  for (int line : checked) book.setChecked(line, true);
}

TEST(PreviewRing, NextStepsRoundTheCheckedLines) {
  AddressBook book;
  fill(book, 12, {2, 5, 9});
  EXPECT_EQ(NextCheckedLine(book, 2), 5);
  EXPECT_EQ(NextCheckedLine(book, 5), 9);
  EXPECT_EQ(NextCheckedLine(book, 9), 2);
}

TEST(PreviewRing, PreviousStepsBackAndWraps) {
  AddressBook book;
  fill(book, 12, {2, 5, 9});
  EXPECT_EQ(PreviousCheckedLine(book, 2), 9);
  EXPECT_EQ(PreviousCheckedLine(book, 9), 5);
  EXPECT_EQ(PreviousCheckedLine(book, 5), 2);
}

TEST(PreviewRing, OneCheckedLineIsNeverChosenByItsOwnSearch) {
  AddressBook book;
  fill(book, 4, {1});
  EXPECT_EQ(NextCheckedLine(book, 1), -1);
  EXPECT_EQ(PreviousCheckedLine(book, 1), -1);
}

TEST(PreviewRing, UntickedLineOnShowStepsToTheNextChecked) {
  AddressBook book;
  fill(book, 12, {2, 5, 9});
  book.setChecked(5, false);
  EXPECT_EQ(NextCheckedLine(book, 5), 9);
  EXPECT_EQ(PreviousCheckedLine(book, 5), 2);
}

TEST(PreviewRing, NothingCheckedFindsNothing) {
  AddressBook book;
  fill(book, 5, {});
  EXPECT_EQ(NextCheckedLine(book, 2), -1);
  EXPECT_EQ(PreviousCheckedLine(book, 2), -1);
  AddressBook empty;
  EXPECT_EQ(NextCheckedLine(empty, 0), -1);
  EXPECT_EQ(PreviousCheckedLine(empty, 0), -1);
}

TEST(PreviewRing, LineBeyondTheListAfterDeletionsStillFindsTheRing) {
  AddressBook book;
  fill(book, 4, {0, 3});
  // The shown line was deleted and the list is now shorter than it.
  EXPECT_EQ(NextCheckedLine(book, 7), 0);
  EXPECT_EQ(PreviousCheckedLine(book, 7), 3);
}

TEST(PreviewRing, FirstAndLastLinesWrapToEachOther) {
  AddressBook book;
  fill(book, 6, {0, 5});
  EXPECT_EQ(NextCheckedLine(book, 5), 0);
  EXPECT_EQ(PreviousCheckedLine(book, 0), 5);
  EXPECT_EQ(NextCheckedLine(book, 0), 5);
  EXPECT_EQ(PreviousCheckedLine(book, 5), 0);
}

}  // namespace
}  // namespace orivel
