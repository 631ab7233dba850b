#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orivel {

// A profile (INI) file held whole in memory, read and written with the rules of the
// Windows profile functions, so that files written on Windows and files edited by hand
// read alike:
//  - section and key names compare without regard to ASCII case;
//  - writing a key replaces its value in place, adds a new key at the end of its section
//    and a new section at the end of the file; nothing is ever removed;
//  - an absent key reads as the reader's default, an empty value as empty text;
//  - a value is read without blanks at its ends and without one matching pair of quotes;
//  - where a section or key name stands twice, the first one counts.
// Lines that are not sections or keys (comments, lines before the first section, lines
// without "=") are kept as they are and never match a key. Lines are written with CR LF;
// LF, CR LF and a last line without an end are all read. Bytes are never interpreted
// beyond the code page 932 lead bytes needed to fold the case of names correctly.
class ProfileFile {
 public:
  enum class ReadStatus { Ok, NotFound, Unreadable, TooLarge };

  // Files above this size are not read: no address book comes near it.
  static constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;

  ProfileFile() = default;
  explicit ProfileFile(std::string_view text) { parse(text); }
  // Lines refer to the text this file holds: a copy parses the text anew.
  ProfileFile(const ProfileFile& other) { parse(other.text()); }
  ProfileFile& operator=(const ProfileFile& other) {
    if (this != &other) parse(other.text());
    return *this;
  }
  ProfileFile(ProfileFile&&) noexcept = default;
  ProfileFile& operator=(ProfileFile&&) noexcept = default;

  // Reads the whole file at path into *out (replacing what it held). *out is left empty
  // unless the result is Ok.
  static ReadStatus readFile(const std::filesystem::path& path, ProfileFile* out);
  // Writes the text to path through a temporary file beside it, flushed to disk and renamed
  // over the target, so that a failure leaves the file that was there untouched.
  bool writeFile(const std::filesystem::path& path) const;

  void parse(std::string_view text);
  std::string text() const;

  bool hasKey(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // Decimal, optionally signed; absent or anything else gives the default.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // An integer with default 0 (or 1 for a true default): any non-zero integer is true.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // False, with nothing written, when a name holds a CR or LF, the value holds a LF (it would
  // split the line), or a name is empty, holds "=" or a section name holds "]". A CR in a value
  // stays: the reader keeps it too.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, int value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);

  // Text of a value as the rules read it: blanks trimmed, one pair of quotes removed.
  static std::string_view cleanValue(std::string_view raw);
  // Parses a whole decimal integer; false for anything else.
  static bool parseInteger(std::string_view text, int* out);

 private:
  // Names compare with ASCII letters folded; a code page 932 trail byte is never folded.
  struct NameHash {
    std::size_t operator()(std::string_view s) const;
  };
  struct NameEqual {
    bool operator()(std::string_view a, std::string_view b) const;
  };
  // Names, as views into the text the file holds, to numbers: an open-addressing table in
  // one allocation, where a map would make one for each of a book's 3,600 names.
  class NameIndex {
   public:
    void reserve(std::size_t count);
    // Adds the name unless it is there already (the first of a name counts).
    void insert(std::string_view name, std::size_t value);
    // The number of the name, or null.
    const std::size_t* find(std::string_view name) const;
    void clear();

   private:
    struct Slot {
      std::string_view name;
      std::size_t hash = 0;
      std::size_t value = 0;
      bool used = false;
    };
    std::vector<Slot> slots_;  // a power of two long, at most half used
    std::size_t size_ = 0;
  };

  struct Line {
    std::string_view raw;   // the line as in the file, without its end
    std::size_t value = 0;  // offset of the value in raw, for key lines
  };
  struct Section {
    bool hasHeader = false;   // false only for the lines before the first section
    std::string_view header;  // the section line as in the file
    std::vector<Line> body;
    NameIndex keys;  // key name -> index into body; the first of a name only
  };

  const Line* find(std::string_view section, std::string_view key) const;
  Section& sectionFor(std::string_view section);
  static void addLine(Section& s, std::string_view raw);

  // Keeps text whose lines are in use; returns the kept copy.
  std::string_view keep(std::string text);

  // The text read, and each line written since, where they never move: lines and names
  // refer to it instead of each holding a copy (a book of 300 has some 3,600 lines).
  std::deque<std::string> texts_;
  std::vector<Section> sections_;
  NameIndex sectionIndex_;  // section name -> index into sections_; the first only
};

}  // namespace orivel
