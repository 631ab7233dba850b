#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "book/AddressBook.h"
#include "files/ProfileFile.h"

// The address book file (.orv): a profile file in code page 932 with the sections
// HEADER (Version, Cnt) and DATAS (ten keys per entry: name0, address0, zip_code0, sama0,
// ml1_0 .. ml6_0, name1, ...). An entry that names joint addressees or a company also has
// joints0 (their count), joint_name1_0, joint_sama1_0 .. for each, company0, department0 and
// title0; a book that uses none of them has none of these keys.
namespace orivel {

inline constexpr std::string_view kBookVersion = "Ver1.00";

// What a name reads as where its key is missing: a load leaves such an index out.
inline constexpr std::string_view kMissingName = "0";

// Whether an entry of this name comes back from a book file: not when the name reads as
// kMissingName, as "0" does, and " 0" and "\"0\"" (a value is read without blanks at its ends
// and without one pair of quotes). The editor and every import refuse such a name, since the
// entry would be saved and silently lost at the next load.
bool BookKeepsName(std::string_view name);

enum class BookLoadStatus {
  Loaded,           // the book now holds the file's entries
  NotFound,         // nothing exists at the path
  ReadFailed,       // the path exists but could not be read, or the file is too large
  CountOutOfRange,  // HEADER/Cnt below 0 or above 300
  WrongVersion,     // HEADER/Version not exactly "Ver1.00"; `version` holds what was read
};

struct BookLoadResult {
  BookLoadStatus status = BookLoadStatus::ReadFailed;
  std::string version;  // the version text as read (code page 932), once the file was read
  bool ok() const { return status == BookLoadStatus::Loaded; }
};

// Writes Version, Cnt and every entry's keys into the profile. False when a value
// cannot be written (a text holding a LF): the profile is then incomplete.
bool WriteBook(const AddressBook& book, ProfileFile& profile);
// Checks the header and, when it is accepted, replaces the book with the file's entries in
// file order, unchecked. A rejected header leaves the book untouched.
BookLoadResult ReadBook(const ProfileFile& profile, AddressBook& book);

// Saves the whole book into the file at path. An existing file is read first so that every
// key this save does not write survives; the file is replaced only once the new text is
// safely written. False, with the old file as it was, when anything fails.
bool SaveBook(const AddressBook& book, const std::filesystem::path& path);
// Loads the file at path into the book; the book changes only when the result is Loaded.
BookLoadResult LoadBook(const std::filesystem::path& path, AddressBook& book);

}  // namespace orivel
