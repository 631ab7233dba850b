#include "cli/CliArguments.h"

#include <CLI/CLI.hpp>
#include <QList>
#include <charconv>
#include <functional>
#include <limits>
#include <string_view>

#include "common/Codec.h"
#include "files/FilePaths.h"

// The command line is read by CLI11: its commands, options, exclusions and help. What is ours
// is what each option means, below: the values it takes (its validator) and where it goes in
// Arguments (its callback).
namespace orivel::cli {
namespace {

// A decimal integer and nothing else ("+1", " 1", "1x" are not).
bool parseInt(std::string_view text, int* value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return ec == std::errc() && ptr == end;
}

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string inQuotes(std::string_view text) {
  return '"' + std::string(text) + '"';
}

// An option whose meaning is its callbacks (each()): no variable of CLI11's own.
CLI::Option* option(CLI::App* c, const std::string& name, const std::string& description) {
  return c->add_option(name, CLI::callback_t{}, description);
}

// A validator from a check that says what is wrong with a value, or nothing.
CLI::Validator validator(std::function<std::string(const std::string&)> check) {
  return CLI::Validator([check = std::move(check)](std::string& value) { return check(value); },
                        std::string());
}

// A whole number from `min` to `max`; `what` says what it is for the message.
CLI::Validator wholeNumber(int min, int max, const std::string& what) {
  return validator([=](const std::string& value) {
    int n = 0;
    if (parseInt(value, &n) && n >= min && n <= max) return std::string();
    return "takes " + what + ", not " + inQuotes(value);
  });
}

constexpr std::pair<int, int> kAnyInt = {std::numeric_limits<int>::min(),
                                         std::numeric_limits<int>::max()};

const CLI::Validator kNotEmpty = validator([](const std::string& value) {
  return value.empty() ? std::string("needs a value") : std::string();
});

// A sender's text: code page 932 must hold every character of it.
const CLI::Validator kCp932Text = validator([](const std::string& value) {
  QString bad;
  std::string bytes;
  if (codec::fromQString(fromUtf8(value), &bytes, &bad)) return std::string();
  const QList<uint> ucs4 = bad.toUcs4();
  const QString point =
      QStringLiteral("%1").arg(ucs4.isEmpty() ? 0u : ucs4.front(), 4, 16, QLatin1Char('0'));
  return QStringLiteral("the character \"%1\" (U+%2) cannot be written in code page 932")
      .arg(bad, point.toUpper())
      .toStdString();
});

std::string encode(const std::string& utf8) {
  std::string bytes;
  codec::fromQString(fromUtf8(utf8), &bytes);  // kCp932Text has checked it
  return bytes;
}

// K=V, print offset K at V.
bool parseOffset(std::string_view text, int* k, int* v) {
  const std::size_t equals = text.find('=');
  return equals != std::string_view::npos && parseInt(text.substr(0, equals), k) &&
         parseInt(text.substr(equals + 1), v) && *k >= 1 && *k <= kOffsetCount && *v >= 0 &&
         *v <= 100;
}

const CLI::Validator kOffset = validator([](const std::string& value) {
  int k = 0, v = 0;
  if (parseOffset(value, &k, &v)) return std::string();
  return "takes K=V with K from 1 to 12 and V from 0 to 100, not " + inQuotes(value);
});

// Row numbers from 0, separated by commas.
bool parseRows(std::string_view text, std::vector<int>* rows) {
  while (true) {
    const std::size_t comma = text.find(',');
    int row = 0;
    if (!parseInt(text.substr(0, comma), &row) || row < 0) return false;
    rows->push_back(row);
    if (comma == std::string_view::npos) return true;
    text = text.substr(comma + 1);
  }
}

const CLI::Validator kRows = validator([](const std::string& value) {
  std::vector<int> rows;
  if (parseRows(value, &rows)) return std::string();
  return "takes row numbers from 0 separated by commas, not " + inQuotes(value);
});

// The help as the man page words it: each command's name, its usage, its options with the
// values they take, and an example.
class HelpFormatter final : public CLI::Formatter {
 public:
  HelpFormatter() {
    column_width(32);
    label("Usage", "usage");
    label("Options", "options");
    label("Positionals", "arguments");
    label("Subcommands", "commands");
    label("SUBCOMMAND", "COMMAND");
  }
  std::string make_option_opts(const CLI::Option* option) const override {
    if (option->get_type_size() == 0) return {};
    return " " + option->get_type_name();
  }
  // An argument in the usage line: "FILE...", "[COMMAND...]".
  std::string make_option_usage(const CLI::Option* option) const override {
    std::string usage = make_option_name(option, true);
    if (option->get_expected_max() > 1) usage += "...";
    return option->get_required() ? usage : '[' + usage + ']';
  }
};

// What each option of orivel-cli means, bound to one Arguments record.
class Reader {
 public:
  explicit Reader(const std::string& version)
      : app_("orivel-cli prints addresses on Japanese postcards, without windows.", "orivel-cli") {
    app_.formatter(std::make_shared<HelpFormatter>());
    app_.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::Throw)->group("options");
    app_.set_help_flag("-h,--help", "tell how the command is used");
    app_.set_version_flag("--version", version, "tell the program's version");
    app_.require_subcommand(1);
    app_.footer("orivel-cli COMMAND --help tells how a command is used.");
    addHelp();
    addShow();
    addImport();
    addExport();
    addCheck();
    addMark();
    addSelect();
    addCompose();
    addPrint();
    addCalibration();
    addProfile();
  }

  ParsedArguments read(const std::vector<std::string>& args) {
    ParsedArguments result;
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
      app_.parse(reversed);
    } catch (const CLI::CallForHelp&) {
      result.output = QString::fromStdString(app_.help());
      return result;
    } catch (const CLI::CallForVersion& version) {
      result.output = QString::fromStdString(version.what()) + u'\n';
      return result;
    } catch (const CLI::ParseError& error) {
      return wrong(args, QString::fromStdString(error.what()));
    }
    if (help_) return showHelp(args);
    if (const QString problem = afterParse(); !problem.isEmpty()) return wrong(args, problem);
    result.ok = true;
    result.args = std::move(a_);
    return result;
  }

 private:
  // --- the commands ---

  void addHelp() {
    CLI::App* help = command("help", "tell how a command is used, or list the commands", "",
                             "orivel-cli help print");
    help->add_option("COMMAND", helpTopic_, "the command, and the profile command")
        ->type_name("")
        ->expected(0, 2);
    help->callback([this] { help_ = true; });
  }

  void addShow() {
    CLI::App* show = command("show", "list a book, one JSON object a line",
                             "Each line holds index, name, zip_code, address, sama and "
                             "categories.",
                             "orivel-cli show examples/sample.orv");
    book(show, Command::Show);
  }

  void addImport() {
    CLI::App* importing = command(
        "import", "import address files into a book and save it",
        "Reads this program's CSV, はがきデザインキット's and Google's CSV, vCard, and any CSV "
        "with a header,\ninto an empty book or the one given with --into.",
        "orivel-cli import --into examples/sample.orv --out my-book.orv examples/sample.csv");
    importing->callback([this] { a_.command = Command::Import; });
    importing->add_option("FILE", importFiles_, "the CSV or vCard files, read in turn")
        ->required()
        ->type_name("FILE.csv|FILE.vcf");
    path(importing, "--out", a_.out, "the book to save", "OUT.orv")->required();
    path(importing, "--into", a_.book, "import into this book instead of an empty one", "BOOK.orv")
        ->each([this](const std::string&) { a_.hasInto = true; });
    importing
        ->add_option("--map", a_.columnMap,
                     "the meaning of a CSV file's columns, by header or number from 1: 名前 姓 名 "
                     "郵便番号 住所 住所1 住所2 建物 敬称 連名 会社 部署 役職 使わない")
        ->check(kNotEmpty)
        ->type_name("'COLUMN=MEANING,...'");
  }

  void addExport() {
    CLI::App* exporting =
        command("export", "write a book as a CSV or vCard file",
                "A file name ending in .vcf is written as vCard 3.0, any other as CSV.",
                "orivel-cli export examples/sample.orv --out sample.csv");
    book(exporting, Command::Export);
    path(exporting, "--out", a_.out, "the file to write", "FILE.csv|FILE.vcf")->required();
  }

  void addCheck() {
    CLI::App* check = command("check", "check a book's postal codes",
                              "One JSON object a line for each finding; exit 0 when the check "
                              "ran.",
                              "orivel-cli check examples/sample.orv");
    book(check, Command::Check);
  }

  void addMark() {
    CLI::App* mark = command("mark", "record rows as sent, received or in mourning",
                             "Records the chosen rows in a season's record, or clears it, and "
                             "saves the book.",
                             "orivel-cli mark book.orv --sent --rows 0,3 --season 2027");
    book(mark, Command::Mark);
    CLI::App* what = mark->add_option_group("mark", "what to record");
    flag(what, "--sent", "a card was sent", [this] { a_.mark = MarkAction::Sent; });
    flag(what, "--received", "a card came", [this] { a_.mark = MarkAction::Received; });
    flag(what, "--mourning", "the house is in mourning",
         [this] { a_.mark = MarkAction::Mourning; });
    flag(what, "--clear", "clear the season's record", [this] { a_.mark = MarkAction::Clear; });
    what->require_option(1);
    rows(mark);
    season(mark);
    path(mark, "--out", a_.out, "save there instead of over the book", "OUT.orv");
  }

  void addSelect() {
    CLI::App* select = command("select", "give the rows a season's selection takes",
                               "Prints them as one line, \"0,3,7\", for print --rows.",
                               "orivel-cli select book.orv --to-send");
    book(select, Command::Select);
    CLI::App* which = select->add_option_group("selection", "which rows");
    flag(which, "--to-send", "the New Year cards to send: no mourning mark this season",
         [this] { a_.seasonSelection = SeasonSelection::ToSend; });
    flag(which, "--to-answer", "a card came and none went",
         [this] { a_.seasonSelection = SeasonSelection::ToAnswer; });
    flag(which, "--mourning", "the houses in mourning",
         [this] { a_.seasonSelection = SeasonSelection::Mourning; });
    which->require_option(1);
    season(select);
  }

  void addCompose() {
    CLI::App* compose = command(
        "compose", "show where a card's text blocks land, as JSON",
        "Each of the six blocks with its place and composed lines; the two addresses and a "
        "name with\njoint names or a title also as printed (printed_lines).",
        "orivel-cli compose examples/sample.orv 0 --own --sender-name 差出人 --offset 1=40");
    book(compose, Command::Compose);
    option(compose, "ROW", "the row, from 0")
        ->required()
        ->check(wholeNumber(kAnyInt.first, kAnyInt.second, "a whole number"))
        ->each([this](const std::string& v) { parseInt(v, &a_.row); });
    face(compose);
    profileChoice(compose);
    senderOptions(compose);
  }

  void addPrint() {
    CLI::App* print = command(
        "print", "print cards, one job a card, or all into one PDF file",
        "Prints on the default printer, or the one named. Each job asks the printer for ハガキ "
        "at full size;\na printer without it, missing or stopped is refused before the first "
        "card.",
        "orivel-cli print examples/sample.orv --category 1 --printer EP-804A");
    book(print, Command::Print);
    rows(print);
    destination(print);
    flag(print, "--progress", "tell each printed card on standard error",
         [this] { a_.progress = true; });
    face(print);
    CLI::Option* markSent =
        flag(print, "--mark-sent", "record the printed cards as sent in the season's record",
             [this] { a_.markSent = true; });
    season(print)->needs(markSent);
    profileChoice(print);
    senderOptions(print);
  }

  void addCalibration() {
    CLI::App* calibration =
        command("calibration", "print the card that shows how far the printer shifts a card",
                "Prints the postal code frame's boxes, a cross at each block's place and "
                "millimetre scales.",
                "orivel-cli calibration --printer EP-804A");
    calibration->callback([this] { a_.command = Command::Calibration; });
    destination(calibration);
  }

  void addProfile() {
    CLI::App* profile = command("profile", "show, add, change or choose the sender profiles", "",
                                "orivel-cli profile set --sender-name 山田　太郎 --own");
    profile->require_subcommand(1);
    const auto sub = [this, profile](const char* name, const char* description, const char* example,
                                     ProfileCommand which) {
      CLI::App* c = profile->add_subcommand(name, description);
      c->group("commands");
      c->get_help_ptr()->group("options");
      c->footer(std::string("example:\n  ") + example);
      c->callback([this, which] {
        a_.command = Command::Profile;
        a_.profile = which;
      });
      return c;
    };
    CLI::App* show = sub("show", "show a user's profile as JSON", "orivel-cli profile show",
                         ProfileCommand::Show);
    user(show);
    CLI::App* add = sub("add", "add a user with a profile of its own and make it the current one",
                        "orivel-cli profile add --sender-name 山田　花子", ProfileCommand::Add);
    senderOptions(add);
    add->get_option("--sender-name")->required()->check(kNotEmpty);
    CLI::App* set = sub("set", "change fields of a user's profile",
                        "orivel-cli profile set --offset 1=46 --offset 2=59", ProfileCommand::Set);
    user(set);
    senderOptions(set);
    CLI::App* use =
        sub("use", "make user K the current user", "orivel-cli profile use 2", ProfileCommand::Use);
    option(use, "K", "the user's number")
        ->required()
        ->check(wholeNumber(kAnyInt.first, kAnyInt.second, "a whole number"))
        ->each([this](const std::string& v) { parseInt(v, &a_.user.emplace()); });
  }

  // --- what several commands share ---

  // A command: its line in the list of commands, what more its help says, and an example.
  CLI::App* command(const char* name, const char* summary, const std::string& details,
                    const std::string& example) {
    CLI::App* c = app_.add_subcommand(name, summary);
    c->group("commands");
    c->get_help_ptr()->group("options");
    c->footer((details.empty() ? std::string() : details + "\n\n") + "example:\n  " + example);
    return c;
  }

  // The book a command reads, its first argument.
  void book(CLI::App* c, Command which) {
    c->callback([this, which] { a_.command = which; });
    option(c, "BOOK", "the address book")
        ->required()
        ->type_name("BOOK.orv")
        ->check(kNotEmpty)
        ->each([this](const std::string& v) { a_.book = PathFromUtf8(v); });
  }

  CLI::Option* path(CLI::App* c, const char* name, std::filesystem::path& target,
                    const char* description, const char* type) {
    return option(c, name, description)
        ->type_name(type)
        ->check(kNotEmpty)
        ->each([&target](const std::string& v) { target = PathFromUtf8(v); });
  }

  CLI::Option* flag(CLI::App* c, const char* name, const char* description,
                    std::function<void()> meaning) {
    return c->add_flag_callback(name, std::move(meaning), description)
        ->disable_flag_override()
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
  }

  CLI::Option* text(CLI::App* c, const char* name, const char* description, QString& target) {
    return option(c, name, description)
        ->type_name("TEXT")
        ->check(kNotEmpty)
        ->each([&target](const std::string& v) { target = fromUtf8(v); });
  }

  // The rows to act on: exactly one of all, a category and a list.
  void rows(CLI::App* c) {
    CLI::App* rows = c->add_option_group("rows", "the rows");
    flag(rows, "--all", "every line", [this] { a_.selection.kind = Selection::Kind::All; });
    option(rows, "--category",
           "the lines of category K: 1 年賀状, 2 暑中見舞い, 3 "
           "バースデー, 4 クリスマス, 5 その他１, 6 その他２")
        ->type_name("K")
        ->check(wholeNumber(1, 6, "a number from 1 to 6"))
        ->each([this](const std::string& v) {
          a_.selection.kind = Selection::Kind::Category;
          parseInt(v, &a_.selection.category);
        });
    option(rows, "--rows", "the lines numbered, from 0")
        ->type_name("R,R,...")
        ->check(kRows)
        ->each([this](const std::string& v) {
          a_.selection.kind = Selection::Kind::Rows;
          parseRows(v, &a_.selection.rows);
        });
    rows->require_option(1);
  }

  CLI::Option* season(CLI::App* c) {
    return option(c, "--season",
                  "the New Year the cards greet, from October on next year's; today's season "
                  "without it")
        ->type_name("YYYY")
        ->check(wholeNumber(
            kFirstSeason, kLastSeason,
            "a year from " + std::to_string(kFirstSeason) + " to " + std::to_string(kLastSeason)))
        ->each([this](const std::string& v) { parseInt(v, &a_.season.emplace()); });
  }

  // A PDF file or a printer, not both.
  void destination(CLI::App* c) {
    CLI::Option* pdf = path(c, "--pdf", a_.pdf, "write into this PDF file instead", "OUT.pdf");
    CLI::Option* printer =
        text(c, "--printer", "print on this printer instead of the default one", a_.printer)
            ->type_name("NAME");
    pdf->excludes(printer);
  }

  void face(CLI::App* c) {
    text(c, "--face",
         "print in this installed Japanese face (any of its family names) instead of the "
         "profile's",
         a_.face)
        ->type_name("FAMILY");
  }

  CLI::Option* user(CLI::App* c) {
    return option(c, "--user", "user K's profile instead of the current user's")
        ->type_name("K")
        ->check(wholeNumber(kAnyInt.first, kAnyInt.second, "a whole number"))
        ->each([this](const std::string& v) { parseInt(v, &a_.user.emplace()); });
  }

  void profileChoice(CLI::App* c) {
    CLI::Option* noProfile = flag(c, "--no-profile", "no profile: no sender, every offset at 50",
                                  [this] { a_.noProfile = true; });
    user(c)->excludes(noProfile);
  }

  // The sender's fields, over the profile for this run (compose, print) or into it (profile
  // add and set).
  void senderOptions(CLI::App* c) {
    SenderOptions& s = a_.sender;
    const auto senderText = [c](const char* name, const char* description,
                                std::optional<std::string>& target) {
      option(c, name, description)
          ->type_name("TEXT")
          ->check(kCp932Text)
          ->each([&target](const std::string& v) { target = encode(v); });
    };
    senderText("--sender-name", "the sender's name", s.name);
    senderText("--sender-zip", "the sender's postal code", s.zip_code);
    senderText("--sender-address", "the sender's address", s.address);
    option(c, "--sender-joint", "a given name of the sender's family, up to 5 in order")
        ->type_name("NAME")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->check(kNotEmpty)
        ->check(kCp932Text)
        ->each([&s](const std::string& v) {
          if (!s.joints) s.joints.emplace();
          s.joints->push_back(encode(v));
        });
    CLI::Option* own = flag(c, "--own", "print the sender's name, address and postal code",
                            [&s] { s.print_own_address = true; });
    flag(c, "--no-own", "print nothing of the sender", [&s] {
      s.print_own_address = false;
    })->excludes(own);
    option(c, "--offset",
           "print offset K (1 to 12) at V (0 to 100, 50 is no shift); as "
           "many as needed")
        ->type_name("K=V")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->check(kOffset)
        ->each([&s](const std::string& v) {
          int k = 0, value = 0;
          parseOffset(v, &k, &value);
          s.offsets[static_cast<std::size_t>(k - 1)] = value;
        });
    CLI::Option* kanji = flag(c, "--kanji-digits", "print the addresses' digits as kanji numerals",
                              [&s] { s.kanji_digits = true; });
    flag(c, "--no-kanji-digits", "print the addresses' digits as written", [&s] {
      s.kanji_digits = false;
    })->excludes(kanji);
  }

  // --- after the parse ---

  // The rules CLI11 cannot say: what is wrong, or nothing.
  QString afterParse() {
    if (a_.sender.joints && a_.sender.joints->size() > static_cast<std::size_t>(kMaxJoints))
      return QStringLiteral("--sender-joint can be given at most %1 times").arg(kMaxJoints);
    if (a_.command == Command::Import)
      for (const std::string& file : importFiles_) a_.csvFiles.push_back(PathFromUtf8(file));
    if (a_.command == Command::Mark && a_.out.empty()) a_.out = a_.book;
    if (a_.command == Command::Profile && a_.profile == ProfileCommand::Set &&
        !a_.sender.fields().any())
      return QStringLiteral("needs at least one field to change");
    return {};
  }

  ParsedArguments showHelp(const std::vector<std::string>& args) {
    ParsedArguments result;
    const CLI::App* topic = &app_;
    std::string prefix;
    for (const std::string& name : helpTopic_) {
      const CLI::App* sub = subcommand(*topic, name);
      if (!sub) return wrong(args, QStringLiteral("no command \"%1\"").arg(fromUtf8(name)));
      prefix = prefix.empty() ? topic->get_name() : prefix + ' ' + topic->get_name();
      topic = sub;
    }
    // The topic's own help: App::help() would tell of the help command itself.
    result.output = QString::fromStdString(topic->get_formatter()->make_help(
        topic, prefix.empty() ? topic->get_name() : prefix + ' ' + topic->get_name(),
        CLI::AppFormatMode::Normal));
    return result;
  }

  static const CLI::App* subcommand(const CLI::App& app, const std::string& name) {
    for (const CLI::App* sub : app.get_subcommands({}))
      if (sub->get_name() == name) return sub;
    return nullptr;
  }

  // The two lines of a wrong command line: what is wrong, said by the command it was meant
  // for, and where its usage is told.
  ParsedArguments wrong(const std::vector<std::string>& args, QString problem) {
    std::string name = app_.get_name();
    const CLI::App* at = &app_;
    for (const std::string& arg : args) {
      const CLI::App* sub = subcommand(*at, arg);
      if (!sub) {
        // Where a command is due, a word that names none is the mistake, whatever else is.
        if (at->get_require_subcommand_min() > 0)
          problem = (arg.starts_with('-') ? QStringLiteral("unknown option \"%1\"")
                                          : QStringLiteral("unknown command \"%1\""))
                        .arg(fromUtf8(arg));
        break;
      }
      if (sub->get_name() == "help") break;
      name += ' ' + arg;
      at = sub;
    }
    if (args.empty()) problem = QStringLiteral("no command given");
    ParsedArguments result;
    const QString command = fromUtf8(name);
    result.problem = command + QStringLiteral(": ") + problem + u'\n' + command +
                     QStringLiteral(" --help で使い方を表示します。");
    return result;
  }

  CLI::App app_;
  Arguments a_;
  std::vector<std::string> importFiles_;
  std::vector<std::string> helpTopic_;
  bool help_ = false;
};  // namespace

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

ParsedArguments ParseArguments(const std::vector<std::string>& args, const std::string& version) {
  return Reader(version).read(args);
}

}  // namespace orivel::cli
