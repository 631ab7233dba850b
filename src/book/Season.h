#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The season record: for the New Year a card greets, whether a card was sent (送), one came
// (受) or the addressee is in mourning (喪). The book file holds it as "2025SR,2026M".
namespace orivel {

// The season of a date: October to December belong to the next year's New Year.
int SeasonOf(int year, int month);
// Today's season, by the local calendar.
int ThisSeason();

inline constexpr int kFirstSeason = 1900;
inline constexpr int kLastSeason = 2100;

enum class SeasonMark : std::uint8_t { Sent = 1, Received = 2, Mourning = 4 };

class SeasonRecord {
 public:
  // Reads the file's text. A part that is not a four-digit year from kFirstSeason to
  // kLastSeason followed by S, R and M in that order (each at most once), or that names a
  // year already read, is kept as it stands and written back unchanged.
  static SeasonRecord parse(std::string_view text);
  // The text for the file: the parts in their order, separated by ",".
  std::string text() const;
  bool empty() const { return parts_.empty(); }

  bool has(int season, SeasonMark mark) const;
  // Sets or clears one mark; a season left without marks is dropped, a new one goes in
  // before the first later season.
  void set(int season, SeasonMark mark, bool on);
  // Every mark of the season cleared.
  void clear(int season);
  // The seasons with at least one mark, ascending.
  std::vector<int> seasons() const;

  friend bool operator==(const SeasonRecord&, const SeasonRecord&) = default;

 private:
  struct Part {
    int season = 0;          // 0: a part that could not be read, kept in `raw`
    std::uint8_t marks = 0;  // SeasonMark bits
    std::string raw;
    friend bool operator==(const Part&, const Part&) = default;
  };
  Part* find(int season);
  const Part* find(int season) const;
  std::vector<Part> parts_;
};

}  // namespace orivel
