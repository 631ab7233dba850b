#include "book/AddressBook.h"

#include <algorithm>

namespace orivel {

bool AddressBook::append(const datatype& entry) {
  if (isFull()) return false;
  const int line = count();
  if (observer_) observer_->beginAppendLine(line);
  Entries[static_cast<std::size_t>(line)] = entry;
  checks_.push_back(0);
  if (observer_) observer_->endAppendLine();
  return true;
}

void AddressBook::replace(int i, const datatype& entry) {
  if (!validLine(i)) return;
  Entries[static_cast<std::size_t>(i)] = entry;
  checks_[static_cast<std::size_t>(i)] = 0;
  if (observer_) observer_->lineChanged(i);
}

void AddressBook::remove(int i) {
  if (!validLine(i)) return;
  if (observer_) observer_->beginRemoveLine(i);
  checks_.erase(checks_.begin() + i);
  std::move(Entries.begin() + i + 1, Entries.end(), Entries.begin() + i);
  Entries.back() = datatype{};
  if (observer_) observer_->endRemoveLine();
}

void AddressBook::clear() {
  if (observer_) observer_->beginReset();
  checks_.clear();
  Entries.fill(datatype{});
  if (observer_) observer_->endReset();
}

bool AddressBook::isChecked(int line) const {
  return validLine(line) && checks_[static_cast<std::size_t>(line)] != 0;
}

void AddressBook::setChecked(int line, bool checked) {
  if (!validLine(line)) return;
  checks_[static_cast<std::size_t>(line)] = checked ? 1 : 0;
  if (observer_) observer_->lineChanged(line);
}

int AddressBook::checkedCount() const {
  return static_cast<int>(std::count(checks_.begin(), checks_.end(), std::uint8_t{1}));
}

std::vector<int> AddressBook::checkedLines() const {
  std::vector<int> lines;
  for (int i = 0; i < count(); ++i)
    if (isChecked(i)) lines.push_back(i);
  return lines;
}

void AddressBook::SelectChecks(CheckCommand command) {
  const int kind = static_cast<int>(command);
  if (kind < static_cast<int>(CheckCommand::NewYear) ||
      kind > static_cast<int>(CheckCommand::Invert))
    return;
  for (int i = 0; i < count(); ++i) {
    auto& mark = checks_[static_cast<std::size_t>(i)];
    if (kind <= kCategoryCount)
      mark = entry(i).inCategory(kind) ? 1 : 0;
    else if (command == CheckCommand::All)
      mark = 1;
    else if (command == CheckCommand::None)
      mark = 0;
    else
      mark = mark ? 0 : 1;
  }
  if (observer_ && count() > 0) observer_->checksChanged();
}

bool MatchesSeasonSelection(const datatype& entry, SeasonSelection selection, int season) {
  const SeasonRecord& h = entry.history;
  switch (selection) {
    case SeasonSelection::ToSend:
      return entry.inCategory(static_cast<int>(CheckCommand::NewYear)) &&
             !h.has(season, SeasonMark::Mourning);
    case SeasonSelection::ToAnswer:
      return h.has(season, SeasonMark::Received) && !h.has(season, SeasonMark::Sent);
    case SeasonSelection::Mourning:
      return h.has(season, SeasonMark::Mourning);
  }
  return false;
}

void AddressBook::SelectSeason(SeasonSelection selection, int season) {
  for (int i = 0; i < count(); ++i)
    checks_[static_cast<std::size_t>(i)] = MatchesSeasonSelection(entry(i), selection, season);
  if (observer_ && count() > 0) observer_->checksChanged();
}

std::vector<int> AddressBook::linesMatching(SeasonSelection selection, int season) const {
  std::vector<int> lines;
  for (int i = 0; i < count(); ++i)
    if (MatchesSeasonSelection(entry(i), selection, season)) lines.push_back(i);
  return lines;
}

void AddressBook::setSeasonMark(int line, int season, SeasonMark mark, bool on) {
  if (!validLine(line)) return;
  Entries[static_cast<std::size_t>(line)].history.set(season, mark, on);
}

void AddressBook::clearSeason(int line, int season) {
  if (!validLine(line)) return;
  Entries[static_cast<std::size_t>(line)].history.clear(season);
}

}  // namespace orivel
