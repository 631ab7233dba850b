// orivel-cli's sender profiles: each command a process of its own on a user store in a
// folder of the test, as the windows of another run would find it.
#include <QSettings>

#include "cli/CliRun.h"

namespace orivel::test {
namespace {

const QString kBook = dataFile("cli-book.orv");

QString initialProfile(int user) {
  return QStringLiteral(
             "{\"user\": %1, \"name\": \"\", \"zip_code\": \"\", \"address\": \"\", "
             "\"print_own_address\": false, \"offsets\": [50, 50, 50, 50, 50, 50, 50, 50, 50, "
             "50, 50, 50], \"kanji_digits\": false, \"joints\": []}\n")
      .arg(user);
}

class CliProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_ = headlessEnvironment();
    env_.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.path());
  }

  CliRun run(const QStringList& args) const { return runCli(args, env_); }
  CliRun profile(const QStringList& args) const {
    return run(QStringList{QStringLiteral("profile")} + args);
  }
  // The same command with no file allowed to grow: every write of the store fails.
  CliRun runFull(const QStringList& args) const {
    QStringList shell = {QStringLiteral("-c"),
                         QStringLiteral("trap '' XFSZ; ulimit -f 0; exec \"$0\" \"$@\""),
                         QStringLiteral(ORIVEL_CLI)};
    return runCli(shell + args, env_, QStringLiteral("/bin/sh"));
  }

  QString storeFile() const { return dir_.filePath(QStringLiteral("Quillmere/ORIVEL.conf")); }
  QVariant stored(const char* name) const {
    return QSettings(storeFile(), QSettings::IniFormat).value(QLatin1String(name));
  }
  void writeStored(const char* name, const QVariant& value) const {
    QSettings s(storeFile(), QSettings::IniFormat);
    s.setValue(QLatin1String(name), value);
  }

  QTemporaryDir dir_;
  QProcessEnvironment env_;
};

TEST_F(CliProfileTest, TheFirstRunInstallsTheInitialStore) {
  const CliRun show = profile({QStringLiteral("show")});
  EXPECT_EQ(show.exitCode, 0);
  EXPECT_TRUE(show.err.isEmpty()) << show.err.toStdString();
  EXPECT_EQ(show.outText(), initialProfile(-1));
  EXPECT_EQ(stored("user_count"), QVariant(QStringLiteral("0")));
  EXPECT_EQ(stored("max_user_count"), QVariant(QStringLiteral("5")));
  EXPECT_EQ(stored("now_user"), QVariant(QStringLiteral("-1")));
}

TEST_F(CliProfileTest, AProfileIsKeptFromOneProcessToTheNext) {
  const CliRun add = profile({QStringLiteral("add"), QStringLiteral("--sender-name"),
                              QStringLiteral("大野\"ソ\\表　〜"), QStringLiteral("--sender-zip"),
                              QStringLiteral("060-0042"), QStringLiteral("--sender-address"),
                              QStringLiteral("札幌市中央区大通西１−２"), QStringLiteral("--own"),
                              QStringLiteral("--offset"), QStringLiteral("3=0"),
                              QStringLiteral("--offset=12=100")});
  EXPECT_EQ(add.exitCode, 0) << add.err.toStdString();
  EXPECT_TRUE(add.out.isEmpty());
  const QString first = QStringLiteral(
      "{\"user\": 1, \"name\": \"大野\\\"ソ\\\\表　～\", \"zip_code\": \"060-0042\", "
      "\"address\": \"札幌市中央区大通西１－２\", \"print_own_address\": true, "
      "\"offsets\": [50, 50, 0, 50, 50, 50, 50, 50, 50, 50, 50, 100], \"kanji_digits\": false, "
      "\"joints\": []}\n");
  EXPECT_EQ(profile({QStringLiteral("show")}).outText(), first);
  EXPECT_EQ(
      profile({QStringLiteral("show"), QStringLiteral("--user"), QStringLiteral("1")}).outText(),
      first);
  EXPECT_EQ(stored("user_count"), QVariant(QStringLiteral("1")));
  EXPECT_EQ(stored("now_user"), QVariant(QStringLiteral("1")));

  // A second user; set changes only the fields it is given.
  EXPECT_EQ(profile({QStringLiteral("add"), QStringLiteral("--sender-name"), QStringLiteral("B")})
                .exitCode,
            0);
  EXPECT_EQ(profile({QStringLiteral("show")}).outText(),
            initialProfile(2).replace(QStringLiteral("\"name\": \"\""),
                                      QStringLiteral("\"name\": \"B\"")));
  const CliRun set = profile({QStringLiteral("set"), QStringLiteral("--user"), QStringLiteral("1"),
                              QStringLiteral("--no-own"), QStringLiteral("--kanji-digits"),
                              QStringLiteral("--offset"), QStringLiteral("3=7")});
  EXPECT_EQ(set.exitCode, 0) << set.err.toStdString();
  EXPECT_TRUE(set.out.isEmpty());
  QString changed = first;
  changed.replace(QStringLiteral("true, \"offsets\": [50, 50, 0,"),
                  QStringLiteral("false, \"offsets\": [50, 50, 7,"));
  changed.replace(QStringLiteral("\"kanji_digits\": false"),
                  QStringLiteral("\"kanji_digits\": true"));
  EXPECT_EQ(profile({QStringLiteral("show"), QStringLiteral("--user=1")}).outText(), changed);
  EXPECT_EQ(stored("now_user"), QVariant(QStringLiteral("2"))) << "set does not switch";

  EXPECT_EQ(profile({QStringLiteral("use"), QStringLiteral("1")}).exitCode, 0);
  EXPECT_EQ(stored("now_user"), QVariant(QStringLiteral("1")));
  EXPECT_EQ(profile({QStringLiteral("show")}).outText(), changed);
}

TEST_F(CliProfileTest, ComposeAndPrintUseTheCurrentProfile) {
  ASSERT_EQ(profile({QStringLiteral("add"), QStringLiteral("--sender-name"), QStringLiteral("鶴亀"),
                     QStringLiteral("--sender-zip"), QStringLiteral("123-4567"),
                     QStringLiteral("--own"), QStringLiteral("--offset"), QStringLiteral("7=40"),
                     QStringLiteral("--offset"), QStringLiteral("1=60")})
                .exitCode,
            0);
  // Offsets 1 and 7 move the names' blocks across the card.
  const QString name = QStringLiteral("\"QRname\": {\"left\": 112, \"top\": 154,");
  const QString sender =
      QStringLiteral("\"QRu_name\": {\"left\": 296, \"top\": 294, \"lines\": [\"鶴亀\"]}");
  const CliRun compose = run({QStringLiteral("compose"), kBook, QStringLiteral("0")});
  EXPECT_EQ(compose.exitCode, 0) << compose.err.toStdString();
  EXPECT_TRUE(compose.outText().contains(name)) << compose.out.toStdString();
  EXPECT_TRUE(compose.outText().contains(sender)) << compose.out.toStdString();

  // Options change single fields for the run only.
  const CliRun over =
      run({QStringLiteral("compose"), kBook, QStringLiteral("0"), QStringLiteral("--sender-name"),
           QStringLiteral("松竹"), QStringLiteral("--offset"), QStringLiteral("7=50")});
  EXPECT_TRUE(over.outText().contains(name));
  EXPECT_TRUE(over.outText().contains(
      QStringLiteral("\"QRu_name\": {\"left\": 296, \"top\": 304, \"lines\": [\"松竹\"]}")))
      << over.out.toStdString();
  const CliRun off =
      run({QStringLiteral("compose"), kBook, QStringLiteral("0"), QStringLiteral("--no-own")});
  EXPECT_TRUE(off.outText().contains(
      QStringLiteral("\"QRu_name\": {\"left\": 296, \"top\": 304, \"lines\": []}")))
      << off.out.toStdString();
  EXPECT_EQ(run({QStringLiteral("compose"), kBook, QStringLiteral("0")}).out, compose.out);

  // --no-profile: the initial settings; --user: another profile.
  const CliRun none =
      run({QStringLiteral("compose"), kBook, QStringLiteral("0"), QStringLiteral("--no-profile")});
  EXPECT_TRUE(none.outText().contains(QStringLiteral("\"QRname\": {\"left\": 112, \"top\": 144,")));
  EXPECT_TRUE(none.outText().contains(
      QStringLiteral("\"QRu_name\": {\"left\": 296, \"top\": 304, \"lines\": []}")));
  ASSERT_EQ(profile({QStringLiteral("add"), QStringLiteral("--sender-name"), QStringLiteral("X")})
                .exitCode,
            0);
  const CliRun second = run({QStringLiteral("compose"), kBook, QStringLiteral("0")});
  EXPECT_TRUE(
      second.outText().contains(QStringLiteral("\"QRname\": {\"left\": 112, \"top\": 144,")));
  EXPECT_EQ(run({QStringLiteral("compose"), kBook, QStringLiteral("0"), QStringLiteral("--user"),
                 QStringLiteral("1")})
                .out,
            compose.out);

  const QString pdf = dir_.filePath(QStringLiteral("cards.pdf"));
  const CliRun print =
      run({QStringLiteral("print"), kBook, QStringLiteral("--rows"), QStringLiteral("0"),
           QStringLiteral("--user"), QStringLiteral("1"), QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(print.exitCode, 0) << print.err.toStdString();
  EXPECT_TRUE(pdfPageText(pdf, 1).contains(QStringLiteral("鶴")));
}

TEST_F(CliProfileTest, AUserNeverAddedIsRefused) {
  ASSERT_EQ(profile({QStringLiteral("add"), QStringLiteral("--sender-name"), QStringLiteral("A")})
                .exitCode,
            0);
  const QByteArray before = readBytes(storeFile());
  const QString pdf = dir_.filePath(QStringLiteral("cards.pdf"));
  const struct {
    QStringList args;
    QString message;
  } cases[] = {
      {{QStringLiteral("profile"), QStringLiteral("use"), QStringLiteral("2")},
       QStringLiteral("ユーザー2は登録されていません。\n")},
      {{QStringLiteral("profile"), QStringLiteral("use"), QStringLiteral("0")},
       QStringLiteral("ユーザー0は登録されていません。\n")},
      {{QStringLiteral("profile"), QStringLiteral("use"), QStringLiteral("-1")},
       QStringLiteral("ユーザー-1は登録されていません。\n")},
      {{QStringLiteral("profile"), QStringLiteral("show"), QStringLiteral("--user"),
        QStringLiteral("12")},
       QStringLiteral("ユーザー12は登録されていません。\n")},
      {{QStringLiteral("profile"), QStringLiteral("set"), QStringLiteral("--user"),
        QStringLiteral("3"), QStringLiteral("--own")},
       QStringLiteral("ユーザー3は登録されていません。\n")},
      {{QStringLiteral("compose"), kBook, QStringLiteral("0"), QStringLiteral("--user"),
        QStringLiteral("2")},
       QStringLiteral("ユーザー2は登録されていません。\n")},
      {{QStringLiteral("print"), kBook, QStringLiteral("--all"), QStringLiteral("--user"),
        QStringLiteral("5"), QStringLiteral("--pdf"), pdf},
       QStringLiteral("ユーザー5は登録されていません。\n")},
  };
  for (const auto& c : cases) {
    const CliRun r = run(c.args);
    EXPECT_EQ(r.exitCode, 1) << c.args.join(u' ').toStdString();
    EXPECT_EQ(r.errText(), c.message);
    EXPECT_TRUE(r.out.isEmpty());
  }
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_EQ(readBytes(storeFile()), before);
}

TEST_F(CliProfileTest, AddingStopsAtTheLimit) {
  for (int i = 1; i <= 5; ++i)
    ASSERT_EQ(profile({QStringLiteral("add"), QStringLiteral("--sender-name"), QString::number(i)})
                  .exitCode,
              0);
  const QByteArray before = readBytes(storeFile());
  const CliRun sixth =
      profile({QStringLiteral("add"), QStringLiteral("--sender-name"), QStringLiteral("6")});
  EXPECT_EQ(sixth.exitCode, 1);
  EXPECT_EQ(sixth.errText(),
            QStringLiteral("ユーザーの最大数を越えました\n新しい追加は出来ません\n"));
  EXPECT_EQ(readBytes(storeFile()), before);

  writeStored("max_user_count", 6);
  EXPECT_EQ(profile({QStringLiteral("add"), QStringLiteral("--sender-name"), QStringLiteral("6")})
                .exitCode,
            0);
  EXPECT_EQ(stored("user_count"), QVariant(QStringLiteral("6")));
  writeStored("user_count", QStringLiteral("many"));
  const CliRun unreadable =
      profile({QStringLiteral("add"), QStringLiteral("--sender-name"), QStringLiteral("7")});
  EXPECT_EQ(unreadable.exitCode, 1);
  EXPECT_EQ(unreadable.errText(), QStringLiteral("ユーザー情報を読み込めませんでした。\n"));
}

TEST_F(CliProfileTest, BadValuesReadAsInitialAndAreNamed) {
  ASSERT_EQ(profile({QStringLiteral("show")}).exitCode, 0);
  writeStored("offset_0_3", 150);
  writeStored("sender_name_0", QStringLiteral("not bytes"));
  writeStored("offset_0_4", 20);
  const QByteArray before = readBytes(storeFile());
  const CliRun show = profile({QStringLiteral("show")});
  EXPECT_EQ(show.exitCode, 0);
  EXPECT_EQ(show.errText(),
            QStringLiteral(
                "設定値「sender_name_0」「offset_0_3」が正しくないため、初期値を使います。\n"));
  EXPECT_EQ(
      show.outText(),
      QStringLiteral("{\"user\": -1, \"name\": \"\", \"zip_code\": \"\", \"address\": \"\", "
                     "\"print_own_address\": false, \"offsets\": [50, 50, 50, 20, 50, 50, 50, "
                     "50, 50, 50, 50, 50], \"kanji_digits\": false, \"joints\": []}\n"));
  const CliRun compose = run({QStringLiteral("compose"), kBook, QStringLiteral("0")});
  EXPECT_EQ(compose.exitCode, 0);
  EXPECT_EQ(compose.errText(), show.errText());
  EXPECT_EQ(readBytes(storeFile()), before) << "the values stay until changed";

  EXPECT_EQ(
      profile({QStringLiteral("set"), QStringLiteral("--offset"), QStringLiteral("3=50")}).exitCode,
      0);
  EXPECT_EQ(stored("offset_0_3"), QVariant(QStringLiteral("50")));
  EXPECT_EQ(stored("sender_name_0"), QVariant(QStringLiteral("not bytes")));
}

TEST_F(CliProfileTest, AStoreThatCannotBeWrittenIsSaid) {
  ASSERT_EQ(profile({QStringLiteral("add"), QStringLiteral("--sender-name"), QStringLiteral("A")})
                .exitCode,
            0);
  const QByteArray before = readBytes(storeFile());
  for (const QStringList& args :
       {QStringList{QStringLiteral("profile"), QStringLiteral("set"), QStringLiteral("--own")},
        QStringList{QStringLiteral("profile"), QStringLiteral("use"), QStringLiteral("1")},
        QStringList{QStringLiteral("profile"), QStringLiteral("add"),
                    QStringLiteral("--sender-name"), QStringLiteral("B")}}) {
    const CliRun r = runFull(args);
    EXPECT_EQ(r.exitCode, 1) << args.join(u' ').toStdString();
    EXPECT_EQ(r.errText(), QStringLiteral("設定を保存できませんでした。\n"));
  }
  EXPECT_EQ(readBytes(storeFile()), before);
}

TEST_F(CliProfileTest, UnclearProfileCommandsAreUsageErrors) {
  for (const QStringList& args : {
           QStringList{QStringLiteral("profile")},
           QStringList{QStringLiteral("profile"), QStringLiteral("delete")},
           QStringList{QStringLiteral("profile"), QStringLiteral("add")},
           QStringList{QStringLiteral("profile"), QStringLiteral("add"),
                       QStringLiteral("--sender-name"), QString()},
           QStringList{QStringLiteral("profile"), QStringLiteral("add"),
                       QStringLiteral("--sender-name"), QStringLiteral("A"),
                       QStringLiteral("--user"), QStringLiteral("1")},
           QStringList{QStringLiteral("profile"), QStringLiteral("set")},
           QStringList{QStringLiteral("profile"), QStringLiteral("set"), QStringLiteral("--own"),
                       QStringLiteral("--no-own")},
           QStringList{QStringLiteral("profile"), QStringLiteral("use")},
           QStringList{QStringLiteral("profile"), QStringLiteral("use"), QStringLiteral("one")},
           QStringList{QStringLiteral("profile"), QStringLiteral("show"), QStringLiteral("--own")},
           QStringList{QStringLiteral("profile"), QStringLiteral("show"), QStringLiteral("x")},
           QStringList{QStringLiteral("compose"), kBook, QStringLiteral("0"),
                       QStringLiteral("--user"), QStringLiteral("1"),
                       QStringLiteral("--no-profile")},
           QStringList{QStringLiteral("compose"), kBook, QStringLiteral("0"),
                       QStringLiteral("--user"), QStringLiteral("x")},
       }) {
    // The command said: "orivel-cli profile add", or "orivel-cli profile" when none is named.
    const bool named = args.size() > 1 && args[1] != QStringLiteral("delete") &&
                       args[0] == QStringLiteral("profile");
    const QString command =
        args[0] == QStringLiteral("compose")
            ? QStringLiteral("orivel-cli compose")
            : QStringLiteral("orivel-cli profile") + (named ? u' ' + args[1] : QString());
    expectUsageError(run(args), command, args.join(u' '));
  }
  EXPECT_FALSE(QFile::exists(storeFile())) << "a refused command line touches nothing";
}

}  // namespace
}  // namespace orivel::test
