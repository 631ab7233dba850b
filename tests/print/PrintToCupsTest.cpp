// Printing through a real CUPS server to a PDF printer. scripts/test.sh starts the server
// (scripts/cups-test-printer.sh) and sets CUPS_SERVER and ORIVEL_PRINT_OUT; without them
// these tests are skipped, unless ORIVEL_REQUIRE_CUPS says they must run.
#include <dlfcn.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include "app/TForm1.h"
#include "common/Codec.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

// libcups reads CUPS_SERVER once per thread; point the library that Qt uses at `server`.
void useCupsServer(const QByteArray& server) {
  qputenv("CUPS_SERVER", server);
  void* cups = dlopen("libcups.so.2", RTLD_NOW);
  ASSERT_NE(cups, nullptr) << dlerror();
  using SetServer = void (*)(const char*);
  const auto setServer = reinterpret_cast<SetServer>(dlsym(cups, "cupsSetServer"));
  ASSERT_NE(setServer, nullptr);
  setServer(server.constData());
  // The library stays loaded: Qt's printing plugin uses the same instance.
}

QString run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(30000)) return QStringLiteral("<%1 did not finish>").arg(program);
  return QString::fromUtf8(p.readAllStandardOutput());
}

class PrintToCupsTest : public FormsTest {
 protected:
  void SetUp() override {
    server_ = qgetenv("CUPS_SERVER");
    out_ = qEnvironmentVariable("ORIVEL_PRINT_OUT");
    if (server_.isEmpty() || out_.isEmpty()) {
      if (qEnvironmentVariableIsSet("ORIVEL_REQUIRE_CUPS"))
        FAIL() << "CUPS_SERVER and ORIVEL_PRINT_OUT are not set: run scripts/test.sh";
      GTEST_SKIP() << "no test printer: scripts/test.sh starts one";
    }
    FormsTest::SetUp();
    useCupsServer(server_);
    serverSet_ = true;
    for (const char* name : {"\x8D\x62\x96\xEC", "\x89\xB3\x96\xEC", "\x95\xB8\x96\xEC"}) {
      datatype e;  // 甲野, 乙野, 丙野
      e.name = name;
      e.address = codec::encodeKnown(QStringLiteral("東京都千代田区千代田１－１"));
      e.zip_code = "100-0001";
      e.sama = codec::encodeKnown(QStringLiteral("様"));
      Form1->Book.append(e);
    }
  }

  // A test that pointed the library elsewhere and stopped early leaves the next test the
  // test printer all the same.
  void TearDown() override {
    if (serverSet_) useCupsServer(server_);
    FormsTest::TearDown();
  }

  QStringList jobFiles() const {
    return QDir(out_).entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name);
  }

  // Waits until `count` more job files than `before` have arrived, then a little longer to
  // see that no more come.
  QStringList newJobs(const QStringList& before, int count) const {
    QElapsedTimer timer;
    timer.start();
    QStringList fresh;
    while (timer.elapsed() < 60000) {
      fresh.clear();
      for (const QString& f : jobFiles())
        if (!before.contains(f)) fresh << f;
      if (fresh.size() >= count) break;
      QThread::msleep(100);
    }
    QThread::msleep(1500);
    fresh.clear();
    for (const QString& f : jobFiles())
      if (!before.contains(f)) fresh << f;
    return fresh;
  }

  QByteArray server_;
  bool serverSet_ = false;
  QString out_;
};

TEST_F(PrintToCupsTest, PrintCommandSendsOneOnePagePdfJobPerCheckedRowInOrder) {
  Form1->Book.setChecked(0, true);
  Form1->Book.setChecked(2, true);
  const QStringList before = jobFiles();
  Form1->Button2Click();
  // Only the question whether to record the cards as sent.
  ASSERT_EQ(dialogs.shown.size(), 1u) << dialogs.texts().join(u'\n').toStdString();
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Question);

  const QStringList jobs = newJobs(before, 2);
  ASSERT_EQ(jobs.size(), 2) << jobs.join(u' ').toStdString();
  const QString expectedName[] = {QStringLiteral("甲"), QStringLiteral("丙")};
  for (int i = 0; i < 2; ++i) {
    const QString path = QDir(out_).filePath(jobs[i]);
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
        << info.toStdString();
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    // 148 x 110 mm is 419.53 x 311.81 points; Qt rounds page sizes to whole points.
    EXPECT_NEAR(size.captured(1).toDouble(), 148.0 / 25.4 * 72.0, 1.0);
    EXPECT_NEAR(size.captured(2).toDouble(), 110.0 / 25.4 * 72.0, 1.0);
    // The card's own text is in the document, so the jobs came in the rows' order.
    const QString text = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(expectedName[i])) << i << ": " << text.toStdString();
    EXPECT_FALSE(text.contains(expectedName[1 - i])) << i << ": " << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("乙"))) << i << ": " << text.toStdString();
  }
}

TEST_F(PrintToCupsTest, PrinterThatRefusesJobsShowsTheMessage) {
  const QString printer =
      run(QStringLiteral("lpstat"), {QStringLiteral("-d")}).section(u':', 1).trimmed();
  ASSERT_FALSE(printer.isEmpty());
  run(QStringLiteral("cupsreject"), {printer});
  Form1->Book.setChecked(1, true);
  Form1->Book.setChecked(2, true);
  const QStringList before = jobFiles();
  Form1->Button2Click();
  run(QStringLiteral("cupsaccept"), {printer});
  // CUPS's own words follow.
  EXPECT_EQ(dialogs.texts(),
            QStringList{
                QStringLiteral("印刷できませんでした。\nDestination \"%1\" is not accepting jobs.")
                    .arg(printer)});
  EXPECT_EQ(dialogs.shown.at(0).title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_TRUE(newJobs(before, 0).isEmpty());
}

TEST_F(PrintToCupsTest, NoPrinterAtAllShowsTheMessage) {
  useCupsServer(QFile::encodeName(QDir(out_).filePath(QStringLiteral("no-such-server.sock"))));
  Form1->Book.setChecked(0, true);
  Form1->Button2Click();
  EXPECT_EQ(dialogs.texts(),
            QStringList{QStringLiteral("印刷できませんでした。\n既定のプリンターがありません。")});
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
}

}  // namespace
}  // namespace orivel::test
