#include "cli/CliArguments.h"

#include <QList>
#include <charconv>
#include <set>
#include <string_view>

#include "common/Codec.h"

namespace orivel::cli {
namespace {

enum class Option {
  Out,
  Into,
  SenderName,
  SenderZip,
  SenderAddress,
  Own,
  Offset,
  All,
  Category,
  Rows,
  Pdf,
  Printer,
};

struct OptionSpec {
  std::string_view name;
  Option option;
  bool takesValue;
};

constexpr OptionSpec kImportOptions[] = {
    {"--out", Option::Out, true},
    {"--into", Option::Into, true},
};
constexpr OptionSpec kExportOptions[] = {
    {"--out", Option::Out, true},
};
constexpr OptionSpec kSenderOptions[] = {
    {"--sender-name", Option::SenderName, true},
    {"--sender-zip", Option::SenderZip, true},
    {"--sender-address", Option::SenderAddress, true},
    {"--own", Option::Own, false},
    {"--offset", Option::Offset, true},
};
constexpr OptionSpec kPrintOptions[] = {
    {"--all", Option::All, false},        {"--category", Option::Category, true},
    {"--rows", Option::Rows, true},       {"--pdf", Option::Pdf, true},
    {"--printer", Option::Printer, true},
};

const OptionSpec* findOption(Command command, std::string_view name) {
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
    case Command::Print:
      if (const OptionSpec* spec = search(kPrintOptions)) return spec;
      [[fallthrough]];
    case Command::Compose:
      return search(kSenderOptions);
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

QString quoted(std::string_view text) {
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
    } else if (name == "export") {
      a().command = Command::Export;
    } else if (name == "check") {
      a().command = Command::Check;
    } else {
      return fail(QStringLiteral("unknown command %1").arg(quoted(name)));
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

  bool readTokens() {
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args_.size(); ++i) {
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
      const OptionSpec* spec = token.starts_with("--") ? findOption(a().command, name) : nullptr;
      if (!spec) {
        fail(QStringLiteral("unknown option %1 for %2").arg(quoted(name), quoted(args_[0])));
        return false;
      }
      std::string value;
      if (!spec->takesValue) {
        if (equals != std::string_view::npos) {
          fail(QStringLiteral("%1 takes no value").arg(quoted(name)));
          return false;
        }
      } else if (equals != std::string_view::npos) {
        value = token.substr(equals + 1);
      } else if (i + 1 < args_.size()) {
        value = args_[++i];
      } else {
        fail(QStringLiteral("%1 needs a value").arg(quoted(name)));
        return false;
      }
      if (spec->option != Option::Offset && !seen_.insert(spec->option).second) {
        fail(QStringLiteral("%1 is given twice").arg(quoted(name)));
        return false;
      }
      if (!apply(*spec, value)) return false;
    }
    return true;
  }

  bool encode(std::string_view option, const std::string& value, std::string* out) {
    const QString text = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    QString bad;
    if (codec::fromQString(text, out, &bad)) return true;
    fail(QStringLiteral("%1: the character \"%2\" (%3) cannot be written in code page 932")
             .arg(quoted(option), bad, codePoint(bad)));
    return false;
  }

  bool needsText(const OptionSpec& spec, const std::string& value) {
    if (!value.empty()) return true;
    fail(QStringLiteral("%1 needs a value").arg(quoted(spec.name)));
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
        a().out = value;
        return needsText(spec, value);
      case Option::Into:
        a().book = value;
        a().hasInto = true;
        return needsText(spec, value);
      case Option::SenderName:
        return encode(spec.name, value, &a().sender.name);
      case Option::SenderZip:
        return encode(spec.name, value, &a().sender.zip_code);
      case Option::SenderAddress:
        return encode(spec.name, value, &a().sender.address);
      case Option::Own:
        a().sender.print_own_address = true;
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
                   .arg(quoted(value)));
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
                   .arg(quoted(value)));
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
                     .arg(quoted(value)));
            return false;
          }
          a().selection.rows.push_back(row);
          if (comma == std::string_view::npos) break;
          rest = rest.substr(comma + 1);
        }
        return setSelection(Selection::Kind::Rows);
      }
      case Option::Pdf:
        a().pdf = value;
        return needsText(spec, value) && notBothDestinations();
      case Option::Printer:
        a().printer = QString::fromLocal8Bit(value.data(), static_cast<qsizetype>(value.size()));
        return needsText(spec, value) && notBothDestinations();
    }
    return false;
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
             ? QStringLiteral("%1 needs more arguments").arg(quoted(args_[0]))
             : QStringLiteral("unexpected argument %1").arg(quoted(positionals_[expected])));
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
        a().book = positionals_[0];
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
        a().csvFiles = positionals_;
        return true;
      case Command::Compose:
        if (wrongCount(2)) return false;
        a().book = positionals_[0];
        if (!parseInt(positionals_[1], &a().row)) {
          fail(QStringLiteral("the row must be a whole number, not %1")
                   .arg(quoted(positionals_[1])));
          return false;
        }
        return true;
      case Command::Print:
        if (wrongCount(1)) return false;
        a().book = positionals_[0];
        if (a().selection.kind == Selection::Kind::None) {
          fail(QStringLiteral(
              "\"print\" needs the rows to print: \"--all\", \"--category K\" or \"--rows LIST\""));
          return false;
        }
        return true;
      case Command::Help:
        break;
    }
    return true;
  }

  const std::vector<std::string>& args_;
  std::vector<std::string> positionals_;
  std::set<Option> seen_;
  ParsedArguments result_;
};

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  return Parser(args).run();
}

QString UsageText() {
  return QStringLiteral(
      "usage: orivel-cli show BOOK.orv\n"
      "       orivel-cli import --out OUT.orv [--into BOOK.orv] FILE.csv...\n"
      "       orivel-cli export BOOK.orv --out FILE.csv\n"
      "       orivel-cli check BOOK.orv\n"
      "       orivel-cli compose BOOK.orv ROW [sender options]\n"
      "       orivel-cli print BOOK.orv (--all | --category K | --rows R,R,...)\n"
      "                  [--pdf OUT.pdf | --printer NAME] [sender options]\n"
      "sender options:\n"
      "  --sender-name TEXT, --sender-zip TEXT, --sender-address TEXT\n"
      "  --own          print the sender's name, address and postal code\n"
      "  --offset K=V   print offset K (1 to 12) at V (0 to 100, 50 is no shift)\n");
}

}  // namespace orivel::cli
