// How orivel-cli explains itself: each command's --help, the list of commands, and the one
// form of a wrong command line.
#include "cli/CliRun.h"

namespace orivel::test {
namespace {

const QString kBook = dataFile("cli-book.orv");

QStringList words(const char* text) {
  return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
}

const char* const kSender =
    "--sender-name --sender-zip --sender-address --sender-joint --own --no-own --offset "
    "--kanji-digits --no-kanji-digits";

TEST(CliHelpTest, EveryCommandTellsItsOptionsAndAnExample) {
  struct Case {
    const char* command;
    QString options;
  };
  const QString sender = QString::fromUtf8(kSender);
  const Case cases[] = {
      {"show", {}},
      {"import", QStringLiteral("--out --into --map")},
      {"export", QStringLiteral("--out")},
      {"check", {}},
      {"mark",
       QStringLiteral("--sent --received --mourning --clear --all --category --rows --season "
                      "--out")},
      {"select", QStringLiteral("--to-send --to-answer --mourning --season")},
      {"compose", QStringLiteral("--face --user --no-profile ") + sender},
      {"print",
       QStringLiteral("--all --category --rows --pdf --printer --progress --face --mark-sent "
                      "--season --user --no-profile ") +
           sender},
      {"calibration", QStringLiteral("--pdf --printer")},
      {"profile show", QStringLiteral("--user")},
      {"profile add", sender},
      {"profile set", QStringLiteral("--user ") + sender},
      {"profile use", {}},
      {"help", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    const QStringList command = words(c.command);
    const CliRun run = runCli(command + QStringList{QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QString help = run.outText();
    const QString name = QStringLiteral("orivel-cli ") + command.join(u' ');
    EXPECT_TRUE(help.contains(QStringLiteral("usage: ") + name)) << help.toStdString();
    EXPECT_TRUE(help.contains(QStringLiteral("example:\n  orivel-cli "))) << help.toStdString();
    for (const QString& option : c.options.split(u' ', Qt::SkipEmptyParts))
      EXPECT_TRUE(help.contains(QStringLiteral("  ") + option + u' ')) << option.toStdString();
    // The same help, asked the other way.
    const CliRun asked = runCli(QStringList{QStringLiteral("help")} + command);
    EXPECT_EQ(asked.exitCode, 0);
    EXPECT_EQ(asked.outText(), help);
  }
}

TEST(CliHelpTest, TheProgramsHelpListsEveryCommandOnALineOfItsOwn) {
  const CliRun run = runCli({QStringLiteral("--help")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(runCli({QStringLiteral("help")}).outText(), run.outText());
  const QStringList lines = run.outText().split(u'\n');
  for (const QString& command :
       words("help show import export check mark select compose print calibration profile")) {
    const auto line = std::find_if(lines.begin(), lines.end(), [&](const QString& l) {
      return l.startsWith(QStringLiteral("  ") + command + u' ') && l.size() > command.size() + 10;
    });
    EXPECT_NE(line, lines.end()) << command.toStdString();
  }
  const CliRun profile = runCli({QStringLiteral("help"), QStringLiteral("profile")});
  for (const QString& command : words("show add set use"))
    EXPECT_TRUE(profile.outText().contains(QStringLiteral("\n  ") + command + u' '))
        << command.toStdString();
}

// Each rule of the command line, broken once: the same two lines, the command named.
TEST(CliHelpTest, EveryUsageErrorIsOneLineThatNamesTheCommand) {
  struct Case {
    QStringList args;
    const char* command;
    const char* says;  // a part of what is wrong
  };
  const QString pdf = QStringLiteral("/nonexistent/x.pdf");
  const Case cases[] = {
      {{}, "orivel-cli", "no command given"},
      {{QStringLiteral("shwo")}, "orivel-cli", "unknown command \"shwo\""},
      {{QStringLiteral("--bogus")}, "orivel-cli", "unknown option \"--bogus\""},
      {{QStringLiteral("help"), QStringLiteral("shwo")}, "orivel-cli", "no command \"shwo\""},
      {{QStringLiteral("show")}, "orivel-cli show", "BOOK"},
      {{QStringLiteral("show"), kBook, QStringLiteral("--own")}, "orivel-cli show", "--own"},
      {{QStringLiteral("import"), kBook}, "orivel-cli import", "--out"},
      {{QStringLiteral("export"), kBook, QStringLiteral("--out"), QString()},
       "orivel-cli export",
       "--out: needs a value"},
      {{QStringLiteral("check"), kBook, kBook}, "orivel-cli check", "not expected"},
      {{QStringLiteral("mark"), kBook, QStringLiteral("--sent"), QStringLiteral("--clear"),
        QStringLiteral("--all")},
       "orivel-cli mark",
       "--sent"},
      {{QStringLiteral("select"), kBook}, "orivel-cli select", "--to-send"},
      {{QStringLiteral("select"), kBook, QStringLiteral("--to-send"), QStringLiteral("--season"),
        QStringLiteral("1899")},
       "orivel-cli select",
       "--season: takes a year from 1900 to 2100, not \"1899\""},
      {{QStringLiteral("compose"), kBook, QStringLiteral("1.5")},
       "orivel-cli compose",
       "ROW: takes a whole number"},
      {{QStringLiteral("compose"), kBook, QStringLiteral("0"), QStringLiteral("--offset"),
        QStringLiteral("1=101")},
       "orivel-cli compose",
       "--offset: takes K=V with K from 1 to 12 and V from 0 to 100, not \"1=101\""},
      {{QStringLiteral("compose"), kBook, QStringLiteral("0"), QStringLiteral("--own"),
        QStringLiteral("--no-own")},
       "orivel-cli compose",
       "excludes"},
      {{QStringLiteral("print"), kBook, QStringLiteral("--category"), QStringLiteral("0")},
       "orivel-cli print",
       "--category: takes a number from 1 to 6, not \"0\""},
      {{QStringLiteral("print"), kBook, QStringLiteral("--all"), QStringLiteral("--rows"),
        QStringLiteral("1")},
       "orivel-cli print",
       "--all"},
      {{QStringLiteral("print"), kBook, QStringLiteral("--all"), QStringLiteral("--pdf"), pdf,
        QStringLiteral("--printer"), QStringLiteral("p")},
       "orivel-cli print",
       "excludes"},
      {{QStringLiteral("print"), kBook, QStringLiteral("--all"), QStringLiteral("--season"),
        QStringLiteral("2027")},
       "orivel-cli print",
       "--mark-sent"},
      {{QStringLiteral("calibration"), kBook}, "orivel-cli calibration", "not expected"},
      {{QStringLiteral("profile"), QStringLiteral("delete")},
       "orivel-cli profile",
       "unknown command \"delete\""},
      {{QStringLiteral("profile"), QStringLiteral("add"), QStringLiteral("--sender-name"),
        QStringLiteral("A"), QStringLiteral("--sender-joint"), QStringLiteral("1"),
        QStringLiteral("--sender-joint"), QStringLiteral("2"), QStringLiteral("--sender-joint"),
        QStringLiteral("3"), QStringLiteral("--sender-joint"), QStringLiteral("4"),
        QStringLiteral("--sender-joint"), QStringLiteral("5"), QStringLiteral("--sender-joint"),
        QStringLiteral("6")},
       "orivel-cli profile add",
       "at most 5"},
      {{QStringLiteral("profile"), QStringLiteral("set")},
       "orivel-cli profile set",
       "needs at least one field"},
      {{QStringLiteral("profile"), QStringLiteral("use"), QStringLiteral("-")},
       "orivel-cli profile use",
       "K"},
  };
  for (const Case& c : cases) {
    const CliRun run = runCli(c.args);
    const QString trace = c.args.join(u' ');
    expectUsageError(run, QString::fromUtf8(c.command), trace);
    EXPECT_TRUE(run.errText().contains(QString::fromUtf8(c.says)))
        << trace.toStdString() << ": " << run.err.toStdString();
  }
}

}  // namespace
}  // namespace orivel::test
