#include "book/Season.h"

#include <algorithm>
#include <ctime>

namespace orivel {
namespace {

// The file's letters, in the order they are written.
constexpr struct {
  SeasonMark mark;
  char letter;
} kLetters[] = {{SeasonMark::Sent, 'S'}, {SeasonMark::Received, 'R'}, {SeasonMark::Mourning, 'M'}};

std::uint8_t bit(SeasonMark mark) {
  return static_cast<std::uint8_t>(mark);
}

}  // namespace

int SeasonOf(int year, int month) {
  return month >= 10 ? year + 1 : year;
}

int ThisSeason() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  return SeasonOf(local->tm_year + 1900, local->tm_mon + 1);
}

SeasonRecord SeasonRecord::parse(std::string_view text) {
  SeasonRecord record;
  if (text.empty()) return record;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find(',', start);
    const bool last = end == std::string_view::npos;
    if (last) end = text.size();
    const std::string_view piece = text.substr(start, end - start);
    Part part;
    bool readable = piece.size() >= 4;
    for (std::size_t i = 0; readable && i < 4; ++i) readable = piece[i] >= '0' && piece[i] <= '9';
    if (readable) {
      part.season = std::stoi(std::string(piece.substr(0, 4)));
      std::size_t at = 4;
      for (const auto& l : kLetters) {
        if (at < piece.size() && piece[at] == l.letter) {
          part.marks |= bit(l.mark);
          ++at;
        }
      }
      readable = at == piece.size() && part.season >= kFirstSeason && part.season <= kLastSeason &&
                 record.find(part.season) == nullptr;
    }
    if (!readable) part = Part{0, 0, std::string(piece)};
    record.parts_.push_back(std::move(part));
    if (last) break;
    start = end + 1;
  }
  return record;
}

std::string SeasonRecord::text() const {
  std::string out;
  for (std::size_t i = 0; i < parts_.size(); ++i) {
    if (i > 0) out += ',';
    const Part& p = parts_[i];
    if (p.season == 0) {
      out += p.raw;
      continue;
    }
    const std::string year = std::to_string(p.season);
    out += std::string(year.size() < 4 ? 4 - year.size() : 0, '0') + year;
    for (const auto& l : kLetters)
      if (p.marks & bit(l.mark)) out += l.letter;
  }
  return out;
}

SeasonRecord::Part* SeasonRecord::find(int season) {
  for (Part& p : parts_)
    if (p.season == season && season != 0) return &p;
  return nullptr;
}

const SeasonRecord::Part* SeasonRecord::find(int season) const {
  return const_cast<SeasonRecord*>(this)->find(season);
}

bool SeasonRecord::has(int season, SeasonMark mark) const {
  const Part* p = find(season);
  return p && (p->marks & bit(mark)) != 0;
}

void SeasonRecord::set(int season, SeasonMark mark, bool on) {
  if (Part* p = find(season)) {
    if (on)
      p->marks |= bit(mark);
    else
      p->marks &= static_cast<std::uint8_t>(~bit(mark));
    if (p->marks == 0) clear(season);
    return;
  }
  if (!on) return;
  auto at = parts_.begin();
  while (at != parts_.end() && (at->season == 0 || at->season < season)) ++at;
  parts_.insert(at, Part{season, bit(mark), {}});
}

void SeasonRecord::clear(int season) {
  std::erase_if(parts_, [season](const Part& p) { return p.season == season && season != 0; });
}

std::vector<int> SeasonRecord::seasons() const {
  std::vector<int> out;
  for (const Part& p : parts_)
    if (p.season != 0 && p.marks != 0) out.push_back(p.season);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace orivel
