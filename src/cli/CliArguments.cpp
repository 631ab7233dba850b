#include "cli/CliArguments.h"

#include <QList>
#include <charconv>
#include <set>
#include <string_view>

#include "common/Codec.h"
#include "files/FilePaths.h"

namespace orivel::cli {
namespace {

enum class Option {
  Out,
  Into,
  SenderName,
  SenderZip,
  SenderAddress,
  Own,
  NoOwn,
  Offset,
  KanjiDigits,
  NoKanjiDigits,
  User,
  NoProfile,
  All,
  Category,
  Rows,
  Pdf,
  Printer,
  SenderJoint,
  Map,
  Sent,
  Received,
  Mourning,
  Clear,
  Season,
  ToSend,
  ToAnswer,
  MarkSent,
  Face,
  Progress,
};

struct OptionSpec {
  std::string_view name;
  Option option;
  bool takesValue;
};

constexpr OptionSpec kImportOptions[] = {
    {"--out", Option::Out, true},
    {"--into", Option::Into, true},
    {"--map", Option::Map, true},
};
constexpr OptionSpec kExportOptions[] = {
    {"--out", Option::Out, true},
};
constexpr OptionSpec kSenderOptions[] = {
    {"--sender-name", Option::SenderName, true},
    {"--sender-zip", Option::SenderZip, true},
    {"--sender-address", Option::SenderAddress, true},
    {"--sender-joint", Option::SenderJoint, true},
    {"--own", Option::Own, false},
    {"--no-own", Option::NoOwn, false},
    {"--offset", Option::Offset, true},
    {"--kanji-digits", Option::KanjiDigits, false},
    {"--no-kanji-digits", Option::NoKanjiDigits, false},
};
constexpr OptionSpec kSeasonOption[] = {{"--season", Option::Season, true}};
constexpr OptionSpec kMarkOptions[] = {
    {"--sent", Option::Sent, false},         {"--received", Option::Received, false},
    {"--mourning", Option::Mourning, false}, {"--clear", Option::Clear, false},
    {"--all", Option::All, false},           {"--category", Option::Category, true},
    {"--rows", Option::Rows, true},          {"--out", Option::Out, true},
};
constexpr OptionSpec kSelectOptions[] = {
    {"--to-send", Option::ToSend, false},
    {"--to-answer", Option::ToAnswer, false},
    {"--mourning", Option::Mourning, false},
};
constexpr OptionSpec kDestinationOptions[] = {
    {"--pdf", Option::Pdf, true},
    {"--printer", Option::Printer, true},
};
constexpr OptionSpec kUserOption[] = {{"--user", Option::User, true}};
constexpr OptionSpec kProfileChoice[] = {{"--no-profile", Option::NoProfile, false}};
constexpr OptionSpec kPrintOptions[] = {
    {"--all", Option::All, false},           {"--category", Option::Category, true},
    {"--rows", Option::Rows, true},          {"--pdf", Option::Pdf, true},
    {"--printer", Option::Printer, true},    {"--mark-sent", Option::MarkSent, false},
    {"--progress", Option::Progress, false},
};
constexpr OptionSpec kFaceOption[] = {{"--face", Option::Face, true}};

const OptionSpec* findOption(Command command, ProfileCommand profile, std::string_view name) {
  auto search = [name](const auto& table) -> const OptionSpec* {
    for (const OptionSpec& spec : table)
      if (spec.name == name) return &spec;
    return nullptr;
  };
  switch (command) {
    case Command::Import:
      return search(kImportOptions);
    case Command::Export:
      return search(kExportOptions);
    case Command::Mark:
      if (const OptionSpec* spec = search(kMarkOptions)) return spec;
      return search(kSeasonOption);
    case Command::Select:
      if (const OptionSpec* spec = search(kSelectOptions)) return spec;
      return search(kSeasonOption);
    case Command::Calibration:
      return search(kDestinationOptions);
    case Command::Print:
      if (const OptionSpec* spec = search(kPrintOptions)) return spec;
      if (const OptionSpec* spec = search(kSeasonOption)) return spec;
      [[fallthrough]];
    case Command::Compose:
      if (const OptionSpec* spec = search(kProfileChoice)) return spec;
      if (const OptionSpec* spec = search(kUserOption)) return spec;
      if (const OptionSpec* spec = search(kFaceOption)) return spec;
      return search(kSenderOptions);
    case Command::Profile:
      switch (profile) {
        case ProfileCommand::Show:
          return search(kUserOption);
        case ProfileCommand::Set:
          if (const OptionSpec* spec = search(kUserOption)) return spec;
          [[fallthrough]];
        case ProfileCommand::Add:
          return search(kSenderOptions);
        case ProfileCommand::Use:
          break;
      }
      break;
    case Command::Help:
    case Command::Show:
    case Command::Check:
      break;
  }
  return nullptr;
}

// A decimal integer and nothing else ("+1", " 1", "1x" are not).
bool parseInt(std::string_view text, int* value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return ec == std::errc() && ptr == end;
}

QString inQuotes(std::string_view text) {
  return QStringLiteral("\"%1\"").arg(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

QString codePoint(const QString& character) {
  const QList<uint> ucs4 = character.toUcs4();
  return QStringLiteral("U+%1")
      .arg(ucs4.isEmpty() ? 0u : ucs4.front(), 4, 16, QLatin1Char('0'))
      .toUpper();
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : args_(args) {}

  ParsedArguments run() {
    if (args_.empty()) return fail(QStringLiteral("no command given"));
    const std::string& name = args_[0];
    if (name == "help" || name == "--help" || name == "-h") {
      result_.args.command = Command::Help;
      result_.ok = true;
      return result_;
    }
    if (name == "show") {
      a().command = Command::Show;
    } else if (name == "import") {
      a().command = Command::Import;
    } else if (name == "compose") {
      a().command = Command::Compose;
    } else if (name == "print") {
      a().command = Command::Print;
    } else if (name == "profile") {
      a().command = Command::Profile;
      if (!readProfileCommand()) return result_;
    } else if (name == "export") {
      a().command = Command::Export;
    } else if (name == "check") {
      a().command = Command::Check;
    } else if (name == "mark") {
      a().command = Command::Mark;
    } else if (name == "select") {
      a().command = Command::Select;
    } else if (name == "calibration") {
      a().command = Command::Calibration;
    } else {
      return fail(QStringLiteral("unknown command %1").arg(inQuotes(name)));
    }
    if (!readTokens() || !checkPositionals()) return result_;
    result_.ok = true;
    return result_;
  }

 private:
  Arguments& a() { return result_.args; }

  ParsedArguments fail(const QString& problem) {
    result_.ok = false;
    result_.problem = problem;
    return result_;
  }

  bool readProfileCommand() {
    static constexpr std::pair<std::string_view, ProfileCommand> kCommands[] = {
        {"show", ProfileCommand::Show},
        {"add", ProfileCommand::Add},
        {"set", ProfileCommand::Set},
        {"use", ProfileCommand::Use}};
    if (args_.size() < 2) {
      fail(QStringLiteral("\"profile\" needs one of show, add, set and use"));
      return false;
    }
    for (const auto& [word, command] : kCommands) {
      if (args_[1] == word) {
        a().profile = command;
        firstToken_ = 2;
        return true;
      }
    }
    fail(QStringLiteral("unknown command %1 for \"profile\"").arg(inQuotes(args_[1])));
    return false;
  }

  QString commandName() const {
    return firstToken_ == 2 ? inQuotes(args_[0] + ' ' + args_[1]) : inQuotes(args_[0]);
  }

  bool readTokens() {
    bool optionsEnded = false;
    for (std::size_t i = firstToken_; i < args_.size(); ++i) {
      const std::string_view token = args_[i];
      if (!optionsEnded && token == "--") {
        optionsEnded = true;
        continue;
      }
      // "-1" is a row, not an option.
      const bool looksLikeOption =
          token.size() > 1 && token[0] == '-' && !(token[1] >= '0' && token[1] <= '9');
      if (optionsEnded || !looksLikeOption) {
        positionals_.emplace_back(token);
        continue;
      }
      const std::size_t equals = token.find('=');
      const std::string_view name = token.substr(0, equals);
      const OptionSpec* spec =
          token.starts_with("--") ? findOption(a().command, a().profile, name) : nullptr;
      if (!spec) {
        fail(QStringLiteral("unknown option %1 for %2").arg(inQuotes(name), commandName()));
        return false;
      }
      std::string value;
      if (!spec->takesValue) {
        if (equals != std::string_view::npos) {
          fail(QStringLiteral("%1 takes no value").arg(inQuotes(name)));
          return false;
        }
      } else if (equals != std::string_view::npos) {
        value = token.substr(equals + 1);
      } else if (i + 1 < args_.size()) {
        value = args_[++i];
      } else {
        fail(QStringLiteral("%1 needs a value").arg(inQuotes(name)));
        return false;
      }
      if (spec->option != Option::Offset && spec->option != Option::SenderJoint &&
          !seen_.insert(spec->option).second) {
        fail(QStringLiteral("%1 is given twice").arg(inQuotes(name)));
        return false;
      }
      if (!apply(*spec, value)) return false;
    }
    return notBoth(Option::Own, Option::NoOwn, "--own", "--no-own") &&
           notBoth(Option::KanjiDigits, Option::NoKanjiDigits, "--kanji-digits",
                   "--no-kanji-digits") &&
           notBoth(Option::User, Option::NoProfile, "--user", "--no-profile");
  }

  bool notBoth(Option one, Option other, const char* oneName, const char* otherName) {
    if (!seen_.contains(one) || !seen_.contains(other)) return true;
    fail(QStringLiteral("give either \"%1\" or \"%2\", not both")
             .arg(QLatin1String(oneName), QLatin1String(otherName)));
    return false;
  }

  bool readUser(std::string_view text) {
    int user = 0;
    if (!parseInt(text, &user)) {
      fail(QStringLiteral("the user must be a whole number, not %1").arg(inQuotes(text)));
      return false;
    }
    a().user = user;
    return true;
  }

  bool encode(std::string_view option, const std::string& value, std::optional<std::string>* out) {
    const QString text = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    QString bad;
    std::string bytes;
    if (codec::fromQString(text, &bytes, &bad)) {
      *out = std::move(bytes);
      return true;
    }
    fail(QStringLiteral("%1: the character \"%2\" (%3) cannot be written in code page 932")
             .arg(inQuotes(option), bad, codePoint(bad)));
    return false;
  }

  bool needsText(const OptionSpec& spec, const std::string& value) {
    if (!value.empty()) return true;
    fail(QStringLiteral("%1 needs a value").arg(inQuotes(spec.name)));
    return false;
  }

  bool setSelection(Selection::Kind kind) {
    if (a().selection.kind != Selection::Kind::None) {
      fail(
          QStringLiteral("choose the rows with only one of \"--all\", \"--category\" and "
                         "\"--rows\""));
      return false;
    }
    a().selection.kind = kind;
    return true;
  }

  bool apply(const OptionSpec& spec, const std::string& value) {
    switch (spec.option) {
      case Option::Out:
        a().out = PathFromUtf8(value);
        return needsText(spec, value);
      case Option::Map:
        a().columnMap = value;
        return needsText(spec, value);
      case Option::Into:
        a().book = PathFromUtf8(value);
        a().hasInto = true;
        return needsText(spec, value);
      case Option::SenderName:
        return encode(spec.name, value, &a().sender.name);
      case Option::SenderZip:
        return encode(spec.name, value, &a().sender.zip_code);
      case Option::SenderAddress:
        return encode(spec.name, value, &a().sender.address);
      case Option::SenderJoint: {
        if (!a().sender.joints) a().sender.joints.emplace();
        std::vector<std::string>& joints = *a().sender.joints;
        if (joints.size() == static_cast<std::size_t>(kMaxJoints)) {
          fail(QStringLiteral("\"--sender-joint\" can be given at most %1 times").arg(kMaxJoints));
          return false;
        }
        std::optional<std::string> joint;
        if (!needsText(spec, value) || !encode(spec.name, value, &joint)) return false;
        joints.push_back(*joint);
        return true;
      }
      case Option::Own:
        a().sender.print_own_address = true;
        return true;
      case Option::NoOwn:
        a().sender.print_own_address = false;
        return true;
      case Option::KanjiDigits:
        a().sender.kanji_digits = true;
        return true;
      case Option::NoKanjiDigits:
        a().sender.kanji_digits = false;
        return true;
      case Option::User:
        return readUser(value);
      case Option::NoProfile:
        a().noProfile = true;
        return true;
      case Option::Offset: {
        const std::size_t equals = value.find('=');
        int k = 0, v = 0;
        if (equals == std::string::npos ||
            !parseInt(std::string_view(value).substr(0, equals), &k) ||
            !parseInt(std::string_view(value).substr(equals + 1), &v) || k < 1 ||
            k > kOffsetCount || v < 0 || v > 100) {
          fail(QStringLiteral("\"--offset\" takes K=V with K from 1 to 12 and V from 0 to 100, "
                              "not %1")
                   .arg(inQuotes(value)));
          return false;
        }
        a().sender.offsets[static_cast<std::size_t>(k - 1)] = v;
        return true;
      }
      case Option::All:
        return setSelection(Selection::Kind::All);
      case Option::Category: {
        int k = 0;
        if (!parseInt(value, &k) || k < 1 || k > 6) {
          fail(QStringLiteral("\"--category\" takes a number from 1 to 6, not %1")
                   .arg(inQuotes(value)));
          return false;
        }
        a().selection.category = k;
        return setSelection(Selection::Kind::Category);
      }
      case Option::Rows: {
        std::string_view rest = value;
        while (true) {
          const std::size_t comma = rest.find(',');
          int row = 0;
          if (!parseInt(rest.substr(0, comma), &row) || row < 0) {
            fail(QStringLiteral("\"--rows\" takes row numbers from 0 separated by commas, not %1")
                     .arg(inQuotes(value)));
            return false;
          }
          a().selection.rows.push_back(row);
          if (comma == std::string_view::npos) break;
          rest = rest.substr(comma + 1);
        }
        return setSelection(Selection::Kind::Rows);
      }
      case Option::Sent:
        return setMark(MarkAction::Sent);
      case Option::Received:
        return setMark(MarkAction::Received);
      case Option::Clear:
        return setMark(MarkAction::Clear);
      case Option::Mourning:
        if (a().command == Command::Select) return setSeasonSelection(SeasonSelection::Mourning);
        return setMark(MarkAction::Mourning);
      case Option::ToSend:
        return setSeasonSelection(SeasonSelection::ToSend);
      case Option::ToAnswer:
        return setSeasonSelection(SeasonSelection::ToAnswer);
      case Option::MarkSent:
        a().markSent = true;
        return true;
      case Option::Season: {
        int season = 0;
        if (!parseInt(value, &season) || season < kFirstSeason || season > kLastSeason) {
          fail(QStringLiteral("\"--season\" takes a year from %1 to %2, not %3")
                   .arg(kFirstSeason)
                   .arg(kLastSeason)
                   .arg(inQuotes(value)));
          return false;
        }
        a().season = season;
        return true;
      }
      case Option::Pdf:
        a().pdf = PathFromUtf8(value);
        return needsText(spec, value) && notBothDestinations();
      case Option::Printer:
        a().printer = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
        return needsText(spec, value) && notBothDestinations();
      case Option::Face:
        a().face = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
        return needsText(spec, value);
      case Option::Progress:
        a().progress = true;
        return true;
    }
    return false;
  }

  bool setMark(MarkAction mark) {
    if (a().mark != MarkAction::None) {
      fail(QStringLiteral(
          "give only one of \"--sent\", \"--received\", \"--mourning\" and \"--clear\""));
      return false;
    }
    a().mark = mark;
    return true;
  }

  bool setSeasonSelection(SeasonSelection selection) {
    if (a().seasonSelection) {
      fail(QStringLiteral("give only one of \"--to-send\", \"--to-answer\" and \"--mourning\""));
      return false;
    }
    a().seasonSelection = selection;
    return true;
  }

  bool notBothDestinations() {
    if (seen_.contains(Option::Pdf) && seen_.contains(Option::Printer)) {
      fail(QStringLiteral("give either \"--pdf\" or \"--printer\", not both"));
      return false;
    }
    return true;
  }

  bool wrongCount(std::size_t expected) {
    if (positionals_.size() == expected) return false;
    fail(positionals_.size() < expected
             ? QStringLiteral("%1 needs more arguments").arg(inQuotes(args_[0]))
             : QStringLiteral("unexpected argument %1").arg(inQuotes(positionals_[expected])));
    return true;
  }

  bool checkPositionals() {
    switch (a().command) {
      case Command::Export:
        if (a().out.empty()) {
          fail(QStringLiteral("\"export\" needs \"--out\" and the CSV file to write"));
          return false;
        }
        [[fallthrough]];
      case Command::Check:
      case Command::Show:
        if (wrongCount(1)) return false;
        a().book = PathFromUtf8(positionals_[0]);
        return true;
      case Command::Import:
        if (a().out.empty()) {
          fail(QStringLiteral("\"import\" needs \"--out\" and the file to save"));
          return false;
        }
        if (positionals_.empty()) {
          fail(QStringLiteral("\"import\" needs at least one CSV file"));
          return false;
        }
        for (const std::string& file : positionals_) a().csvFiles.push_back(PathFromUtf8(file));
        return true;
      case Command::Compose:
        if (wrongCount(2)) return false;
        a().book = PathFromUtf8(positionals_[0]);
        if (!parseInt(positionals_[1], &a().row)) {
          fail(QStringLiteral("the row must be a whole number, not %1")
                   .arg(inQuotes(positionals_[1])));
          return false;
        }
        return true;
      case Command::Print:
        if (wrongCount(1)) return false;
        a().book = PathFromUtf8(positionals_[0]);
        if (a().selection.kind == Selection::Kind::None) {
          fail(QStringLiteral(
              "\"print\" needs the rows to print: \"--all\", \"--category K\" or \"--rows LIST\""));
          return false;
        }
        if (a().season && !a().markSent) {
          fail(QStringLiteral("\"--season\" goes with \"--mark-sent\""));
          return false;
        }
        return true;
      case Command::Mark:
        if (wrongCount(1)) return false;
        a().book = PathFromUtf8(positionals_[0]);
        if (a().mark == MarkAction::None) {
          fail(
              QStringLiteral("\"mark\" needs one of \"--sent\", \"--received\", \"--mourning\" and "
                             "\"--clear\""));
          return false;
        }
        if (a().selection.kind == Selection::Kind::None) {
          fail(QStringLiteral(
              "\"mark\" needs the rows: \"--all\", \"--category K\" or \"--rows LIST\""));
          return false;
        }
        if (a().out.empty()) a().out = a().book;
        return true;
      case Command::Select:
        if (wrongCount(1)) return false;
        a().book = PathFromUtf8(positionals_[0]);
        if (!a().seasonSelection) {
          fail(QStringLiteral(
              "\"select\" needs one of \"--to-send\", \"--to-answer\" and \"--mourning\""));
          return false;
        }
        return true;
      case Command::Profile:
        return checkProfilePositionals();
      case Command::Calibration:
        return !wrongCount(0);
      case Command::Help:
        break;
    }
    return true;
  }

  bool checkProfilePositionals() {
    if (a().profile == ProfileCommand::Use) {
      if (wrongCount(1)) return false;
      return readUser(positionals_[0]);
    }
    if (wrongCount(0)) return false;
    if (a().profile == ProfileCommand::Add && (!a().sender.name || a().sender.name->empty())) {
      fail(QStringLiteral("\"profile add\" needs \"--sender-name\" with the sender's name"));
      return false;
    }
    if (a().profile == ProfileCommand::Set && !a().sender.fields().any()) {
      fail(QStringLiteral("\"profile set\" needs at least one field to change"));
      return false;
    }
    return true;
  }

  const std::vector<std::string>& args_;
  std::size_t firstToken_ = 1;
  std::vector<std::string> positionals_;
  std::set<Option> seen_;
  ParsedArguments result_;
};

}  // namespace

void SenderOptions::applyTo(usertype& sender) const {
  if (name) sender.name = *name;
  if (zip_code) sender.zip_code = *zip_code;
  if (address) sender.address = *address;
  if (print_own_address) sender.print_own_address = *print_own_address;
  for (std::size_t j = 0; j < offsets.size(); ++j)
    if (offsets[j]) sender.offsets[j] = *offsets[j];
  if (kanji_digits) sender.kanji_digits = *kanji_digits;
  if (joints) sender.joints = *joints;
}

ProfileFields SenderOptions::fields() const {
  ProfileFields f;
  f.name = name.has_value();
  f.zip_code = zip_code.has_value();
  f.address = address.has_value();
  f.print_own_address = print_own_address.has_value();
  for (std::size_t j = 0; j < offsets.size(); ++j) f.offsets[j] = offsets[j].has_value();
  f.kanji_digits = kanji_digits.has_value();
  f.joints = joints.has_value();
  return f;
}

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  return Parser(args).run();
}

QString UsageText() {
  return QStringLiteral(
      "usage: orivel-cli show BOOK.orv\n"
      "       orivel-cli --version\n"
      "       orivel-cli import --out OUT.orv [--into BOOK.orv] [--map 'COLUMN=MEANING,...']\n"
      "                  FILE.csv|FILE.vcf...\n"
      "       orivel-cli export BOOK.orv --out FILE.csv|FILE.vcf\n"
      "       orivel-cli check BOOK.orv\n"
      "       orivel-cli mark BOOK.orv (--sent | --received | --mourning | --clear)\n"
      "                  (--all | --category K | --rows R,R,...) [--season YYYY] [--out OUT.orv]\n"
      "       orivel-cli select BOOK.orv (--to-send | --to-answer | --mourning) [--season YYYY]\n"
      "       orivel-cli compose BOOK.orv ROW [--face FAMILY] [profile] [sender options]\n"
      "       orivel-cli print BOOK.orv (--all | --category K | --rows R,R,...)\n"
      "                  [--pdf OUT.pdf | --printer NAME] [--progress] [--face FAMILY]\n"
      "                  [--mark-sent [--season YYYY]]\n"
      "                  [profile] [sender options]\n"
      "       orivel-cli calibration [--pdf OUT.pdf | --printer NAME]\n"
      "       orivel-cli profile show [--user K]\n"
      "       orivel-cli profile add --sender-name TEXT [sender options]\n"
      "       orivel-cli profile set [--user K] [sender options]\n"
      "       orivel-cli profile use K\n"
      "profile (compose, print): the current user's profile unless\n"
      "  --user K       user K's profile\n"
      "  --no-profile   no profile: no sender, every offset at 50\n"
      "sender options (over the profile for this run; into it for profile add and set):\n"
      "  --sender-name TEXT, --sender-zip TEXT, --sender-address TEXT\n"
      "  --sender-joint NAME                a given name of the sender's family (up to 5)\n"
      "  --own, --no-own                    print the sender's name, address and postal code\n"
      "  --offset K=V                       print offset K (1 to 12) at V (0 to 100, 50 is no "
      "shift)\n"
      "  --kanji-digits, --no-kanji-digits  the addresses' digits in kanji numerals\n"
      "import reads this program's CSV, はがきデザインキット's and Google's CSV, vCard, and any\n"
      "  CSV with a header; --map gives such a file's columns (by header or number from 1)\n"
      "  a meaning: 名前 姓 名 郵便番号 住所 住所1 住所2 建物 敬称 連名 会社 部署 役職 使わない\n"
      "the season (mark, select, --mark-sent) is the year of the New Year a card greets;\n"
      "  from October on that is next year. Without --season, today's season.\n"
      "select prints the rows it takes as one line, \"0,3,7\", for print --rows.\n"
      "--face FAMILY prints in an installed Japanese face (any of its family names) instead of\n"
      "  the profile's; --progress tells each printed card on standard error\n"
      "calibration prints the card that shows how far the printer shifts a postcard.\n"
      "compose lists each block's composed lines and, for the two addresses and for a name\n"
      "with joint names or a title, the columns as printed (printed_lines).\n");
}

}  // namespace orivel::cli
