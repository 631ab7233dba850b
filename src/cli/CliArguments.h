#pragma once

#include <QString>
#include <string>
#include <vector>

#include "settings/usertype.h"

// The command line of orivel-cli, read into one record before anything is loaded.
namespace orivel::cli {

enum class Command { Help, Show, Import, Compose, Print, Export, Check };

// Which rows the print command prints: the same marks the window's check commands set.
struct Selection {
  enum class Kind { None, All, Category, Rows };
  Kind kind = Kind::None;
  int category = 0;       // 1..6 for Category
  std::vector<int> rows;  // for Rows, as given
};

struct Arguments {
  Command command = Command::Help;
  // Paths stay the bytes they were given as, so that any file name the system allows works.
  std::string book;                   // show, compose, print; import's --into
  bool hasInto = false;               // import: start from `book` instead of an empty book
  std::string out;                    // import: the file to save; export: the CSV file
  std::vector<std::string> csvFiles;  // import, in order
  int row = 0;                        // compose
  Selection selection;                // print
  std::string pdf;                    // print: write one PDF instead of printing
  QString printer;                    // print: the printer's name; empty is the default printer
  usertype sender;                    // compose, print: texts in code page 932
};

struct ParsedArguments {
  bool ok = false;
  Arguments args;
  QString problem;  // what is wrong with the command line, when !ok
};

// Reads the arguments after the program's name. Text options are UTF-8 and are encoded to
// code page 932; a character that code page 932 cannot hold makes the command line wrong.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

// The synopsis of every command.
QString UsageText();

}  // namespace orivel::cli
