#include "cli/CliCommands.h"

#include <QByteArray>
#include <QFile>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "book/AddressBook.h"
#include "cli/Json.h"
#include "common/Codec.h"
#include "common/FileNames.h"
#include "common/Messages.h"
#include "exchange/Import.h"
#include "files/BookFile.h"
#include "files/CsvImport.h"
#include "files/FileMessages.h"
#include "print/CardFaces.h"
#include "print/PdfFileSink.h"
#include "print/Postcard.h"
#include "print/PrintService.h"
#include "print/SystemPrinter.h"
#include "settings/ProfileStore.h"
#include "settings/SenderProfiles.h"
#include "settings/SenderRules.h"

namespace orivel::cli {

// False when standard output did not take it all (a full disk, say): the listing is then
// incomplete and the command has failed.
bool WriteOut(const QByteArray& bytes) {
  const auto size = static_cast<std::size_t>(bytes.size());
  if (std::fwrite(bytes.constData(), 1, size, stdout) == size && std::fflush(stdout) == 0)
    return true;
  Say(QStringLiteral("orivel-cli: standard output could not be written"));
  return false;
}

// Loads the book as the load command does and says what the window would show when the
// file is refused.
bool LoadBookOrSay(const std::filesystem::path& path, AddressBook& book) {
  const BookLoadResult result = LoadBook(path, book);
  if (result.ok()) return true;
  const QString refusal = messages::bookRefusal(result);
  if (!refusal.isEmpty()) Say(refusal);
  Say(messages::loadFailed());
  return false;
}

namespace {

// The marks as show names them, in the file's order.
constexpr std::pair<SeasonMark, const char*> kMarkWords[] = {{SeasonMark::Sent, "sent"},
                                                             {SeasonMark::Received, "received"},
                                                             {SeasonMark::Mourning, "mourning"}};

// Saves the book as the save command does; the exit code, having said so when it failed.
int SaveBookOrSay(const AddressBook& book, const std::filesystem::path& path) {
  if (SaveBook(book, path)) return kExitSuccess;
  Say(messages::saveFailed());
  return kExitFailure;
}

// A job a card on the printer, or every card into one PDF.
std::unique_ptr<PrintSink> sinkFor(const Arguments& args) {
  if (args.pdf.empty()) return MakeSystemPrinterSink(args.printer);
  return std::make_unique<PdfFileSink>(fileNameText(args.pdf));
}

bool holdsEntry(const AddressBook& book, int row) {
  if (row >= 0 && row < book.count()) return true;
  Say(QStringLiteral("orivel-cli: row %1 holds no entry (the book has %2)")
          .arg(row)
          .arg(book.count()));
  return false;
}

void appendBlock(QByteArray& out, const char* name, const PostcardBlock& block, bool filled,
                 const QStringList* printed) {
  out += '"';
  out += name;
  out += "\": {\"left\": " + QByteArray::number(block.Left) +
         ", \"top\": " + QByteArray::number(block.Top) + ", \"lines\": [";
  if (filled) {
    // Lines were added with the text, so even an empty text is one (empty) line.
    std::string_view rest = block.text;
    for (bool first = true;; first = false) {
      const std::size_t br = rest.find("\r\n");
      if (!first) out += ", ";
      AppendJsonCp932(out, rest.substr(0, br));
      if (br == std::string_view::npos) break;
      rest = rest.substr(br + 2);
    }
  }
  out += "]";
  if (printed) {
    out += ", \"printed_lines\": [";
    for (qsizetype i = 0; i < printed->size(); ++i) {
      if (i > 0) out += ", ";
      AppendJsonString(out, printed->at(i));
    }
    out += "]";
  }
  out += "}";
}

// The user whose profile a command works on: --user K when it is one of the users, the
// current user otherwise. nullopt (and the message said) for a user never added.
std::optional<int> chosenUser(const Arguments& args) {
  if (!args.user) return ReadNowUser();
  if (IsRegisteredUser(*args.user)) return *args.user;
  Say(messages::userNotRegistered(*args.user));
  return std::nullopt;
}

// Reads a profile and names its bad values on standard error.
usertype readProfile(int nowUser) {
  const ProfileRead read = ReadProfile(nowUser);
  if (!read.badValues.isEmpty()) Say(messages::badSettings(read.badValues));
  return read.user;
}

// The sender settings of compose and print: the profile, as the windows would use it,
// with the options of the command line laid over it for this run.
std::optional<usertype> senderFor(const Arguments& args) {
  usertype sender;
  if (!args.noProfile) {
    ProfileStore::install();
    const std::optional<int> user = chosenUser(args);
    if (!user) return std::nullopt;
    sender = readProfile(*user);
  }
  args.sender.applyTo(sender);
  // --face names an installed face that covers Japanese, or the command stops: a card is
  // never printed in another face than the one asked for.
  if (!args.face.isEmpty()) {
    const std::optional<CardFace> face = FindCardFace(args.face);
    if (!face) {
      Say(messages::unknownFace(args.face));
      return std::nullopt;
    }
    sender.face = face->family.toStdString();
  }
  return sender;
}

void appendProfileJson(QByteArray& out, int nowUser, const usertype& user) {
  out += "{\"user\": " + QByteArray::number(nowUser) + ", \"name\": ";
  AppendJsonCp932(out, user.name);
  out += ", \"zip_code\": ";
  AppendJsonCp932(out, user.zip_code);
  out += ", \"address\": ";
  AppendJsonCp932(out, user.address);
  out += ", \"print_own_address\": ";
  out += user.print_own_address ? "true" : "false";
  out += ", \"offsets\": [";
  for (int j = 1; j <= kOffsetCount; ++j) {
    if (j > 1) out += ", ";
    out += QByteArray::number(user.offset(j));
  }
  out += "], \"kanji_digits\": ";
  out += user.kanji_digits ? "true" : "false";
  out += ", \"joints\": [";
  for (std::size_t k = 0; k < user.joints.size(); ++k) {
    if (k > 0) out += ", ";
    AppendJsonCp932(out, user.joints[k]);
  }
  out += "]}\n";
}

int ProfileShow(const Arguments& args) {
  const std::optional<int> user = chosenUser(args);
  if (!user) return kExitFailure;
  QByteArray out;
  appendProfileJson(out, *user, readProfile(*user));
  return WriteOut(out) ? kExitSuccess : kExitFailure;
}

int ProfileAdd(const Arguments& args) {
  const UserCounts counts = ReadUserCounts();
  switch (CheckUserAddition(counts.count, counts.max)) {
    case UserAddition::Unreadable:
      Say(messages::userUnreadable());
      return kExitFailure;
    case UserAddition::LimitReached:
      // The box's two lines as two lines of standard error.
      Say(messages::userLimitReached().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
      return kExitFailure;
    case UserAddition::Allowed:
      break;
  }
  usertype profile;
  args.sender.applyTo(profile);
  if (!WriteNewUser(*counts.count, profile)) {
    Say(messages::settingsNotSaved());
    return kExitFailure;
  }
  return kExitSuccess;
}

int ProfileSet(const Arguments& args) {
  const std::optional<int> user = chosenUser(args);
  if (!user) return kExitFailure;
  // Only the given values are written; the others stay as they are stored, even bad ones.
  usertype profile;
  args.sender.applyTo(profile);
  if (!WriteProfile(*user, profile, args.sender.fields())) {
    Say(messages::settingsNotSaved());
    return kExitFailure;
  }
  return kExitSuccess;
}

int ProfileUse(const Arguments& args) {
  if (!IsRegisteredUser(*args.user)) {
    Say(messages::userNotRegistered(*args.user));
    return kExitFailure;
  }
  if (!WriteNowUser(*args.user)) {
    Say(messages::settingsNotSaved());
    return kExitFailure;
  }
  return kExitSuccess;
}

// The cards to print: every row named must hold an entry.
bool selection(const AddressBook& book, const Selection& chosen, PrintSelection* out) {
  switch (chosen.kind) {
    case Selection::Kind::All:
      *out = PrintSelection::all();
      return true;
    case Selection::Kind::Category:
      *out = PrintSelection::inCategory(chosen.category);
      return true;
    case Selection::Kind::Rows:
      for (const int row : chosen.rows)
        if (!holdsEntry(book, row)) return false;
      *out = PrintSelection::someRows(chosen.rows);
      return true;
    case Selection::Kind::None:
      break;  // the command line refuses a print that chooses no cards
  }
  *out = PrintSelection::checked();
  return true;
}

}  // namespace

void Say(const QString& message) {
  const QByteArray line = message.toUtf8() + '\n';
  std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
}

int Show(const Arguments& args) {
  AddressBook book;
  if (!LoadBookOrSay(args.book, book)) return kExitFailure;
  QByteArray out;
  for (int i = 0; i < book.count(); ++i) {
    const datatype& e = book.entry(i);
    AppendEntryHead(out, i, e);
    out += ", \"sama\": ";
    AppendJsonCp932(out, e.sama);
    out += ", \"categories\": [";
    bool first = true;
    for (int k = 1; k <= kCategoryCount; ++k) {
      if (!e.inCategory(k)) continue;
      if (!first) out += ", ";
      out += QByteArray::number(k);
      first = false;
    }
    out += "], \"joints\": [";
    for (std::size_t k = 0; k < e.joints.size(); ++k) {
      if (k > 0) out += ", ";
      out += "{\"name\": ";
      AppendJsonCp932(out, e.joints[k].name);
      out += ", \"sama\": ";
      AppendJsonCp932(out, e.joints[k].sama);
      out += "}";
    }
    out += "], \"company\": ";
    AppendJsonCp932(out, e.company);
    out += ", \"department\": ";
    AppendJsonCp932(out, e.department);
    out += ", \"title\": ";
    AppendJsonCp932(out, e.title);
    out += ", \"history\": {";
    const std::vector<int> seasons = e.history.seasons();
    for (std::size_t k = 0; k < seasons.size(); ++k) {
      if (k > 0) out += ", ";
      out += "\"" + QByteArray::number(seasons[k]) + "\": [";
      const char* sep = "";
      for (const auto& [mark, word] : kMarkWords) {
        if (!e.history.has(seasons[k], mark)) continue;
        out += sep;
        out += '"';
        out += word;
        out += '"';
        sep = ", ";
      }
      out += "]";
    }
    out += "}}\n";
  }
  return WriteOut(out) ? kExitSuccess : kExitFailure;
}

// Reads one file to import into the book, whatever its form; false after saying why not.
static bool ImportFile(const std::filesystem::path& file, const std::string& columnMap,
                       AddressBook& book) {
  const TextCodec& textCodec = codec::textCodec();
  const ImportSource source = OpenImportSource(file, textCodec);
  if (const QString unread = messages::importFileFailure(source.status); !unread.isEmpty()) {
    Say(unread);
    return false;
  }
  std::vector<ColumnMeaning> meanings;
  if (source.format == ImportFormat::OtherCsv && !columnMap.empty()) {
    // The guesses from the header, with --map over them.
    if (const std::optional<CsvPreview> preview = PreviewCsv(source.bytes, textCodec, 0)) {
      meanings = preview->guesses;
      std::string bad;
      if (!ApplyColumnMap(columnMap, preview->header, &meanings, &bad)) {
        Say(QStringLiteral("\"--map\": 「%1」が分かりません").arg(QString::fromStdString(bad)));
        return false;
      }
    }
  }
  StringGrid grid;
  const ImportOutcome outcome = ImportInto(source, meanings, textCodec, grid, book);
  if (const QString failure = messages::importFailure(outcome); !failure.isEmpty()) {
    Say(failure);
    return false;
  }
  for (const QString& notice : messages::importNotices(outcome)) Say(notice);
  return true;
}

int Import(const Arguments& args) {
  AddressBook book;
  if (args.hasInto && !LoadBookOrSay(args.book, book)) return kExitFailure;
  for (const std::filesystem::path& file : args.csvFiles)
    if (!ImportFile(file, args.columnMap, book)) return kExitFailure;
  return SaveBookOrSay(book, args.out);
}

int Compose(const Arguments& args) {
  AddressBook book;
  if (!LoadBookOrSay(args.book, book)) return kExitFailure;
  if (!holdsEntry(book, args.row)) return kExitFailure;
  const std::optional<usertype> sender = senderFor(args);
  if (!sender) return kExitFailure;
  Postcard card = Postcard::design();
  ComposePostcard(card, book.entry(args.row), *sender);
  const auto blocks = card.blocks();
  PageRenderer renderer;
  QByteArray out = "{";
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    if (i > 0) out += ", ";
    // Without the sender's choice the composition empties the sender's blocks: no lines.
    const bool filled = Postcard::IsPrinted(i, *sender);
    // The addresses as they break, the names one column a person.
    const bool listed = i == Postcard::kAddressBlock || i == Postcard::kSenderAddressBlock ||
                        (i == Postcard::kNameBlock && card.names.used()) ||
                        (i == Postcard::kSenderNameBlock && card.senderNames.used());
    const QStringList printed = listed ? renderer.printedColumns(card, i) : QStringList();
    appendBlock(out, Postcard::kBlockNames[i], *blocks[i], filled, listed ? &printed : nullptr);
  }
  out += "}\n";
  return WriteOut(out) ? kExitSuccess : kExitFailure;
}

int Print(const Arguments& args) {
  AddressBook book;
  if (!LoadBookOrSay(args.book, book)) return kExitFailure;
  PrintSelection chosen;
  if (!selection(book, args.selection, &chosen)) return kExitFailure;
  const std::optional<usertype> sender = senderFor(args);
  if (!sender) return kExitFailure;
  const std::unique_ptr<PrintSink> sink = sinkFor(args);
  PrintService service;
  // With --progress, a line on standard error after each card: 印刷中 12 / 300.
  PrintProgress progress;
  if (args.progress)
    progress = [](int printed, int total) {
      Say(messages::printingProgress(printed, total));
      return true;
    };
  switch (service.print(book, chosen, *sender, *sink, progress)) {
    case PrintOutcome::Printed:
      if (!args.markSent) return kExitSuccess;
      for (const int line : chosen.lines(book))
        book.setSeasonMark(line, args.season.value_or(ThisSeason()), SeasonMark::Sent, true);
      return SaveBookOrSay(book, args.book);
    case PrintOutcome::NothingToPrint:
      Say(messages::nothingToPrint());
      return kExitFailure;
    case PrintOutcome::Failed:
    case PrintOutcome::Stopped:
      break;
  }
  Say(messages::printFailed(sink->failureReason()));
  return kExitFailure;
}

int Mark(const Arguments& args) {
  AddressBook book;
  if (!LoadBookOrSay(args.book, book)) return kExitFailure;
  PrintSelection chosen;
  if (!selection(book, args.selection, &chosen)) return kExitFailure;
  const int season = args.season.value_or(ThisSeason());
  for (const int line : chosen.lines(book)) {
    switch (args.mark) {
      case MarkAction::Sent:
        book.setSeasonMark(line, season, SeasonMark::Sent, true);
        break;
      case MarkAction::Received:
        book.setSeasonMark(line, season, SeasonMark::Received, true);
        break;
      case MarkAction::Mourning:
        book.setSeasonMark(line, season, SeasonMark::Mourning, true);
        break;
      case MarkAction::Clear:
        book.clearSeason(line, season);
        break;
      case MarkAction::None:
        break;
    }
  }
  return SaveBookOrSay(book, args.out);
}

int Select(const Arguments& args) {
  AddressBook book;
  if (!LoadBookOrSay(args.book, book)) return kExitFailure;
  QByteArray out;
  for (const int line :
       book.linesMatching(*args.seasonSelection, args.season.value_or(ThisSeason()))) {
    if (!out.isEmpty()) out += ',';
    out += QByteArray::number(line);
  }
  out += '\n';
  return WriteOut(out) ? kExitSuccess : kExitFailure;
}

int Calibration(const Arguments& args) {
  const std::unique_ptr<PrintSink> sink = sinkFor(args);
  PrintService service;
  if (service.printCalibration(*sink)) return kExitSuccess;
  Say(messages::printFailed(sink->failureReason()));
  return kExitFailure;
}

int Profile(const Arguments& args) {
  // Like the windows, the front end sets the store up on its first run.
  ProfileStore::install();
  switch (args.profile) {
    case ProfileCommand::Show:
      return ProfileShow(args);
    case ProfileCommand::Add:
      return ProfileAdd(args);
    case ProfileCommand::Set:
      return ProfileSet(args);
    case ProfileCommand::Use:
      return ProfileUse(args);
  }
  return kExitFailure;
}

}  // namespace orivel::cli
