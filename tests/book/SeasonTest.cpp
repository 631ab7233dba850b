// The season record: the season of a date, its text in the book file, and the selections.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../files/TempFiles.h"
#include "book/AddressBook.h"
#include "book/Season.h"
#include "files/BookFile.h"

namespace orivel {
namespace {

TEST(Season, OctoberStartsTheNextYearsSeason) {
  struct Case {
    int year, month, season;
  };
  for (const Case& c : std::vector<Case>{
           {2025, 1, 2025}, {2025, 9, 2025}, {2025, 10, 2026}, {2025, 12, 2026}, {2026, 1, 2026}})
    EXPECT_EQ(SeasonOf(c.year, c.month), c.season) << c.year << "-" << c.month;
}

TEST(Season, TheFileTextReadsAndWritesBackWhatItCannotRead) {
  struct Case {
    std::string text;
    std::vector<int> seasons;  // with a mark
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"2025SR,2026M", {2025, 2026}},
      {"2025SRM", {2025}},
      // Letters out of order, twice, unknown; a short year; a year twice; years out of range;
      // empty parts.
      {"2025RS,2025SS,2025X,202S,2026R,2026S,0000S,1899R,,", {2026}},
  };
  for (const Case& c : cases) {
    const SeasonRecord r = SeasonRecord::parse(c.text);
    EXPECT_EQ(r.text(), c.text);
    EXPECT_EQ(r.seasons(), c.seasons) << c.text;
  }
  SeasonRecord r = SeasonRecord::parse("x,2025S,2027M");
  EXPECT_TRUE(r.has(2025, SeasonMark::Sent));
  EXPECT_FALSE(r.has(2025, SeasonMark::Received));
  r.set(2026, SeasonMark::Received, true);
  r.set(2025, SeasonMark::Mourning, true);
  r.set(2028, SeasonMark::Sent, true);
  EXPECT_EQ(r.text(), "x,2025SM,2026R,2027M,2028S");
  r.set(2026, SeasonMark::Received, false);  // no mark left: the season goes
  r.clear(2027);
  EXPECT_EQ(r.text(), "x,2025SM,2028S");
}

TEST(Season, EachSelectionTicksItsEntries) {
  // name: category 1?, marks in 2027, marks in 2026
  struct Row {
    const char* name;
    bool newYear;
    const char* history;
  };
  const std::vector<Row> rows = {
      {"a", true, ""},              // to send
      {"b", true, "2027M"},         // in mourning: not this year
      {"c", false, "2027R"},        // a card came, none sent
      {"d", true, "2026R,2027SR"},  // answered
      {"e", true, "2026M,2027R"},   // last year's mourning is over; to answer
  };
  AddressBook book;
  for (const Row& r : rows) {
    datatype e;
    e.name = r.name;
    e.ml[0] = r.newYear ? 1 : 0;
    e.history = SeasonRecord::parse(r.history);
    ASSERT_TRUE(book.append(e));
  }
  EXPECT_EQ(book.linesMatching(SeasonSelection::ToSend, 2027), (std::vector<int>{0, 3, 4}));
  EXPECT_EQ(book.linesMatching(SeasonSelection::ToAnswer, 2027), (std::vector<int>{2, 4}));
  EXPECT_EQ(book.linesMatching(SeasonSelection::Mourning, 2027), (std::vector<int>{1}));
  EXPECT_EQ(book.linesMatching(SeasonSelection::Mourning, 2026), (std::vector<int>{4}));
  book.setChecked(1, true);
  book.SelectSeason(SeasonSelection::ToAnswer, 2027);
  EXPECT_EQ(book.checkedLines(), (std::vector<int>{2, 4}));
}

TEST(Season, ARecordIsKeptByTheFileAndNeverComesBackUnderALaterEntry) {
  test::TempFolder dir;
  const auto path = dir.path("book.orv");
  AddressBook before;
  datatype e;
  e.name = "a";
  e.history = SeasonRecord::parse("2025SR,bad,2026M");
  before.append(e);
  ASSERT_TRUE(SaveBook(before, path));
  EXPECT_NE(test::ReadBytes(path).find("history0=2025SR,bad,2026M\r\n"), std::string::npos);
  AddressBook loaded;
  ASSERT_TRUE(LoadBook(path, loaded).ok());
  EXPECT_EQ(loaded.entry(0).history, e.history);

  AddressBook after;
  datatype plain;
  plain.name = "b";
  after.append(plain);
  ASSERT_TRUE(SaveBook(after, path));
  ASSERT_TRUE(LoadBook(path, loaded).ok());
  EXPECT_TRUE(loaded.entry(0).history.empty());
}

}  // namespace
}  // namespace orivel
