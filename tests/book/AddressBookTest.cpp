#include "book/AddressBook.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orivel {
namespace {

datatype make(const std::string& name, const std::string& address = "addr",
              std::initializer_list<int> categories = {}) {
  datatype e;
  e.name = name;
  e.address = address;
  e.zip_code = "100-0001";
  e.sama = "\x97\x6c";  // 様
  for (int k : categories) e.ml[static_cast<std::size_t>(k - 1)] = 1;
  return e;
}

std::vector<std::string> names(const AddressBook& book) {
  std::vector<std::string> out;
  for (int i = 0; i < book.count(); ++i) out.push_back(book.entry(i).name);
  return out;
}

// Records what a view would be told, to check begin/end pairs come in order.
struct RecordingObserver : AddressBook::Observer {
  std::vector<std::string> calls;
  void beginAppendLine(int line) override {
    calls.push_back("beginAppend " + std::to_string(line));
  }
  void endAppendLine() override { calls.push_back("endAppend"); }
  void beginRemoveLine(int line) override {
    calls.push_back("beginRemove " + std::to_string(line));
  }
  void endRemoveLine() override { calls.push_back("endRemove"); }
  void lineChanged(int line) override { calls.push_back("changed " + std::to_string(line)); }
  void beginReset() override { calls.push_back("beginReset"); }
  void endReset() override { calls.push_back("endReset"); }
  void checksChanged() override { calls.push_back("checks"); }
};

TEST(AddressBook, LinesKeepTheOrderOfAdditionAndSameNamesStaySeparate) {
  AddressBook book;
  // 山田 then 阿部: whatever their sort order, 山田 stays above.
  ASSERT_TRUE(book.append(make("\x8e\x52\x93\x63", "a1")));
  ASSERT_TRUE(book.append(make("\x88\xa2\x95\x94", "a2")));
  ASSERT_TRUE(book.append(make("\x8e\x52\x93\x63", "a3")));
  EXPECT_EQ(names(book),
            (std::vector<std::string>{"\x8e\x52\x93\x63", "\x88\xa2\x95\x94", "\x8e\x52\x93\x63"}));
  EXPECT_EQ(book.count(), 3);
  EXPECT_FALSE(book.isChecked(0));

  book.remove(2);  // the second of the two alike keeps nothing of the first
  EXPECT_EQ(book.count(), 2);
  EXPECT_EQ(book.entry(0).address, "a1");
}

TEST(AddressBook, RemovingTheMiddleEntryClosesTheGapWithChecksFollowing) {
  AddressBook book;
  book.append(make("A", "a", {1}));
  book.append(make("B", "b", {2}));
  book.append(make("C", "c", {3}));
  book.setChecked(2, true);
  book.remove(1);
  EXPECT_EQ(names(book), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(book.entry(1).address, "c");
  EXPECT_TRUE(book.entry(1).inCategory(3));
  EXPECT_FALSE(book.isChecked(0));
  EXPECT_TRUE(book.isChecked(1));
  EXPECT_EQ(book.entry(2), datatype{});  // the freed slot holds nothing
}

TEST(AddressBook, AddAfterDeletingTheOnlyEntryLeavesNoTrace) {
  AddressBook book;
  book.append(make("Old", "old address", {1, 2, 3, 4, 5, 6}));
  book.remove(0);
  EXPECT_EQ(book.count(), 0);
  datatype fresh;
  fresh.name = "New";
  book.append(fresh);
  EXPECT_EQ(book.entry(0), fresh);
}

TEST(AddressBook, ReplaceWritesEveryFieldAndUnchecksTheLine) {
  AddressBook book;
  book.append(make("A", "a", {1}));
  book.append(make("B", "b", {2}));
  book.setChecked(0, true);
  book.setChecked(1, true);
  datatype changed;
  changed.name = "A2";
  book.replace(0, changed);
  EXPECT_EQ(book.entry(0), changed);
  EXPECT_FALSE(book.isChecked(0));
  EXPECT_TRUE(book.isChecked(1));
  EXPECT_EQ(book.count(), 2);
}

TEST(AddressBook, HoldsAtMostThreeHundredEntries) {
  AddressBook book;
  for (int i = 0; i < AddressBook::kCapacity; ++i)
    ASSERT_TRUE(book.append(make(std::to_string(i))));
  EXPECT_TRUE(book.isFull());
  EXPECT_FALSE(book.append(make("one too many")));
  EXPECT_EQ(book.count(), 300);
  EXPECT_EQ(book.entry(299).name, "299");
}

TEST(AddressBook, ClearEmptiesEveryLineAndSlot) {
  AddressBook book;
  book.append(make("A", "a", {1}));
  book.setChecked(0, true);
  book.clear();
  EXPECT_EQ(book.count(), 0);
  EXPECT_EQ(book.entry(0), datatype{});
  EXPECT_FALSE(book.isChecked(0));
}

TEST(AddressBook, OutOfRangeLinesAreIgnored) {
  AddressBook book;
  book.append(make("A"));
  book.remove(5);
  book.remove(-1);
  book.replace(3, make("X"));
  book.setChecked(7, true);
  EXPECT_EQ(names(book), std::vector<std::string>{"A"});
  EXPECT_EQ(book.checkedCount(), 0);
}

TEST(AddressBook, TellsItsObserverBeforeAndAfterEachChange) {
  AddressBook book;
  RecordingObserver observer;
  book.setObserver(&observer);
  book.append(make("A"));
  book.append(make("B"));
  book.setChecked(1, true);
  book.remove(0);
  book.SelectChecks(7);
  book.clear();
  book.SelectChecks(7);  // nothing to change in an empty book
  EXPECT_EQ(observer.calls,
            (std::vector<std::string>{"beginAppend 0", "endAppend", "beginAppend 1", "endAppend",
                                      "changed 1", "beginRemove 0", "endRemove", "checks",
                                      "beginReset", "endReset"}));
}

class SelectChecksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    book.append(make("A", "a", {1}));        // New Year
    book.append(make("B", "b", {}));         // nothing
    book.append(make("C", "c", {3, 4}));     // birthday and Christmas
    book.append(make("D", "d", {1, 5, 6}));  // New Year, other 1 and 2
  }
  std::vector<int> checked() const { return book.checkedLines(); }
  AddressBook book;
};

TEST_F(SelectChecksTest, ACategoryReplacesHandMadeChecks) {
  book.setChecked(1, true);
  book.SelectChecks(1);
  EXPECT_EQ(checked(), (std::vector<int>{0, 3}));
}

TEST_F(SelectChecksTest, EachCategorySelectsItsOwnEntries) {
  const std::vector<std::vector<int>> expected = {{0, 3}, {}, {2}, {2}, {3}, {3}};
  for (int kind = 1; kind <= 6; ++kind) {
    book.SelectChecks(kind);
    EXPECT_EQ(checked(), expected[static_cast<std::size_t>(kind - 1)]) << "kind " << kind;
  }
}

TEST_F(SelectChecksTest, AllNoneAndInvert) {
  book.SelectChecks(7);
  EXPECT_EQ(checked(), (std::vector<int>{0, 1, 2, 3}));
  book.SelectChecks(9);
  EXPECT_TRUE(checked().empty());

  book.setChecked(2, true);
  book.SelectChecks(9);
  EXPECT_EQ(checked(), (std::vector<int>{0, 1, 3}));
  book.SelectChecks(9);
  EXPECT_EQ(checked(), (std::vector<int>{2}));
  book.SelectChecks(8);
  EXPECT_TRUE(checked().empty());
}

TEST_F(SelectChecksTest, OtherKindsChangeNothing) {
  book.setChecked(1, true);
  for (int kind : {0, -1, 10, 100}) {
    book.SelectChecks(kind);
    EXPECT_EQ(checked(), std::vector<int>{1}) << "kind " << kind;
  }
}

TEST(SelectChecks, AnEmptyBookStaysEmpty) {
  AddressBook book;
  for (int kind = 1; kind <= 9; ++kind) book.SelectChecks(kind);
  EXPECT_EQ(book.count(), 0);
  EXPECT_EQ(book.checkedCount(), 0);
}

}  // namespace
}  // namespace orivel
