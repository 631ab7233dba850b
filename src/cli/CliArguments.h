#pragma once

#include <QString>
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "book/AddressBook.h"
#include "settings/SenderProfiles.h"
#include "settings/usertype.h"

// The command line of orivel-cli, read into one record before anything is loaded.
namespace orivel::cli {

enum class Command {
  Show,
  Import,
  Compose,
  Print,
  Profile,
  Export,
  Check,
  Mark,
  Select,
  Calibration
};
// The subcommands of "profile".
enum class ProfileCommand { Show, Add, Set, Use };

// Which rows the print command prints: the same marks the window's check commands set.
struct Selection {
  enum class Kind { None, All, Category, Rows };
  Kind kind = Kind::None;
  int category = 0;       // 1..6 for Category
  std::vector<int> rows;  // for Rows, as given
};

// What "mark" does to the chosen rows' record of the season.
enum class MarkAction { None, Sent, Received, Mourning, Clear };

// The sender's fields given on the command line, each laid over the profile for the run
// (compose, print) or written into it (profile add, profile set).
struct SenderOptions {
  std::optional<std::string> name;  // code page 932
  std::optional<std::string> zip_code;
  std::optional<std::string> address;
  std::optional<bool> print_own_address;
  std::array<std::optional<int>, kOffsetCount> offsets;
  std::optional<bool> kanji_digits;
  std::optional<std::vector<std::string>> joints;  // --sender-joint, in order

  void applyTo(usertype& sender) const;
  // The fields that were given.
  ProfileFields fields() const;
};

struct Arguments {
  Command command = Command::Show;
  // Paths are made from the arguments by the one conversion of files/FilePaths.h, so that
  // any file name the system allows works, a Japanese one on Windows too.
  std::filesystem::path book;                   // show, compose, print; import's --into
  bool hasInto = false;                         // import: start from `book`, not an empty book
  std::filesystem::path out;                    // import: the file to save; export: the CSV
  std::vector<std::filesystem::path> csvFiles;  // import, in order
  std::string columnMap;                        // import: --map, UTF-8
  int row = 0;                                  // compose
  Selection selection;                          // print
  std::filesystem::path pdf;                    // print, calibration: a PDF, not a printer
  QString printer;          // print: the printer's name; empty is the default printer
  bool progress = false;    // print: each printed card told on standard error
  QString face;             // compose, print: the card's face over the profile's; empty: none
  SenderOptions sender;     // compose, print, profile add and set
  std::optional<int> user;  // --user K; profile use's K
  bool noProfile = false;   // compose, print: the initial settings, no profile
  ProfileCommand profile = ProfileCommand::Show;
  std::optional<int> season;           // mark, select, print --mark-sent; today's if none
  MarkAction mark = MarkAction::None;  // mark
  std::optional<SeasonSelection> seasonSelection;  // select
  bool markSent = false;                           // print: record the printed cards as sent
};

struct ParsedArguments {
  bool ok = false;  // a command to run
  Arguments args;
  // Without a command to run: what to print on standard output (help, the version) when
  // the command line is right, or the two lines for standard error when it is wrong (what
  // is wrong, said by the command it was meant for, and where its usage is told).
  QString output;
  QString problem;
};

// Reads the arguments after the program's name (as Utf8Arguments gives them), all UTF-8. The
// sender texts are encoded to code page 932, and a character that code page 932 cannot hold
// makes the command line wrong; file names and the printer's name stay as given. `version`
// is what --version prints.
ParsedArguments ParseArguments(const std::vector<std::string>& args, const std::string& version);

}  // namespace orivel::cli
