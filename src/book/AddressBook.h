#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "book/datatype.h"

namespace orivel {

// The check commands, by their numbers: 1..6 tick the entries of that category (and untick
// all others), 7 ticks all, 8 none, 9 inverts every mark.
enum class CheckCommand : int {
  NewYear = 1,
  Summer = 2,
  Birthday = 3,
  Christmas = 4,
  Other1 = 5,
  Other2 = 6,
  All = 7,
  None = 8,
  Invert = 9,
};

// The selections that follow from the season record, for one season.
enum class SeasonSelection {
  ToSend,    // 今年の年賀状: New Year cards, but not to a house in mourning
  ToAnswer,  // 返事が必要: a card came and none was sent
  Mourning,  // 喪中の方
};
bool MatchesSeasonSelection(const datatype& entry, SeasonSelection selection, int season);

// The address book: a fixed table of 300 slots and the list lines that show it.
// Line i always shows slot i; the number of lines is the book's only count.
// Check marks belong to the lines, never to the entries.
class AddressBook {
 public:
  static constexpr int kCapacity = 300;

  // Lets a view follow the book. Each "begin" call comes before the change, each
  // "end" call after it, as item views expect.
  class Observer {
   public:
    virtual ~Observer() = default;
    virtual void beginAppendLine(int /*line*/) {}
    virtual void endAppendLine() {}
    virtual void beginRemoveLine(int /*line*/) {}
    virtual void endRemoveLine() {}
    virtual void lineChanged(int /*line*/) {}
    virtual void beginReset() {}
    virtual void endReset() {}
    virtual void checksChanged() {}
  };

  AddressBook() = default;
  AddressBook(const AddressBook&) = delete;
  AddressBook& operator=(const AddressBook&) = delete;

  void setObserver(Observer* observer) { observer_ = observer; }

  int count() const { return static_cast<int>(checks_.size()); }
  bool isFull() const { return count() >= kCapacity; }

  // Slot i of the table, 0 <= i < kCapacity. Slots from count() on are not part of the book.
  const datatype& entry(int i) const { return Entries.at(static_cast<std::size_t>(i)); }
  const std::array<datatype, kCapacity>& entries() const { return Entries; }

  // Appends an unchecked line and writes every field of its slot. False when the book is full.
  bool append(const datatype& entry);
  // Writes slot i anew; its line is replaced in place and starts unchecked.
  void replace(int i, const datatype& entry);
  // Removes line i and closes the gap in the table.
  void remove(int i);
  // Removes every line and empties all 300 slots.
  void clear();

  bool isChecked(int line) const;
  void setChecked(int line, bool checked);
  int checkedCount() const;
  std::vector<int> checkedLines() const;

  // Sets the check marks wholesale: 1..6 the entries of that category (all other lines
  // unchecked), 7 all, 8 none, 9 invert. Any other kind changes nothing.
  void SelectChecks(CheckCommand command);
  void SelectChecks(int kind) { SelectChecks(static_cast<CheckCommand>(kind)); }
  // Ticks the lines whose entries the selection takes in that season, unticks all others.
  void SelectSeason(SeasonSelection selection, int season);
  // The lines the selection takes, in order.
  std::vector<int> linesMatching(SeasonSelection selection, int season) const;
  // Marks line i's entry in the season (or clears the mark), as the season record window
  // and the print command do.
  void setSeasonMark(int line, int season, SeasonMark mark, bool on);
  void clearSeason(int line, int season);

 private:
  bool validLine(int line) const { return line >= 0 && line < count(); }

  std::array<datatype, kCapacity> Entries{};
  std::vector<std::uint8_t> checks_;  // one per list line
  Observer* observer_ = nullptr;
};

}  // namespace orivel
