// orivel-cli printing through a CUPS server of its own (scripts/cups-test-printer.sh, started
// by scripts/test.sh): skipped without one, unless ORIVEL_REQUIRE_CUPS says it must run.
#include <QElapsedTimer>
#include <QThread>

#include "cli/CliRun.h"

namespace orivel::test {
namespace {

class CliPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    out_ = qEnvironmentVariable("ORIVEL_PRINT_OUT");
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER") || out_.isEmpty()) {
      if (qEnvironmentVariableIsSet("ORIVEL_REQUIRE_CUPS"))
        FAIL() << "CUPS_SERVER and ORIVEL_PRINT_OUT are not set: run scripts/test.sh";
      GTEST_SKIP() << "no test printer: scripts/test.sh starts one";
    }
    printer_ = runTool(QStringLiteral("lpstat"), {QStringLiteral("-d")}).section(u':', 1).trimmed();
    ASSERT_FALSE(printer_.isEmpty());
  }

  QStringList jobFiles() const {
    return QDir(out_).entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name);
  }

  // The job files that arrive after `before`: waits for `count`, then a little longer to
  // see that no more come.
  QStringList newJobs(const QStringList& before, int count) const {
    auto fresh = [&] {
      QStringList files;
      for (const QString& f : jobFiles())
        if (!before.contains(f)) files << QDir(out_).filePath(f);
      return files;
    };
    QElapsedTimer timer;
    timer.start();
    while (fresh().size() < count && timer.elapsed() < 60000) QThread::msleep(100);
    QThread::msleep(1500);
    return fresh();
  }

  QString out_;
  QString printer_;
};

TEST_F(CliPrinterTest, PrintSendsOneOnePageJobPerCardInBookOrder) {
  const QStringList before = jobFiles();
  const CliRun run = runCli({QStringLiteral("print"), dataFile("cli-book.orv"),
                             QStringLiteral("--rows"), QStringLiteral("3,0")});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  const QStringList jobs = newJobs(before, 2);
  ASSERT_EQ(jobs.size(), 2) << jobs.join(u' ').toStdString();
  for (const QString& job : jobs) {
    const PdfInfo info = pdfInfo(job);
    EXPECT_EQ(info.pages, 1);
    // The card upright, 100 x 148 mm.
    EXPECT_NEAR(info.width, 283.46, 1.0);
    EXPECT_NEAR(info.height, 419.53, 1.0);
  }
  EXPECT_TRUE(pdfPageText(jobs[0], 1).contains(QStringLiteral("宛")));
  EXPECT_TRUE(pdfPageText(jobs[1], 1).contains(QStringLiteral("幌")));
}

TEST_F(CliPrinterTest, PrintGoesToTheNamedPrinter) {
  const QStringList before = jobFiles();
  const CliRun run =
      runCli({QStringLiteral("print"), dataFile("cli-book.orv"), QStringLiteral("--category"),
              QStringLiteral("2"), QStringLiteral("--printer"), printer_});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(newJobs(before, 2).size(), 2);
}

// Refused before the first card: nothing is sent.
TEST_F(CliPrinterTest, APrinterThatRefusesJobsFailsThePrint) {
  runTool(QStringLiteral("cupsreject"), {printer_});
  const QStringList before = jobFiles();
  const CliRun run =
      runCli({QStringLiteral("print"), dataFile("cli-book.orv"), QStringLiteral("--all")});
  runTool(QStringLiteral("cupsaccept"), {printer_});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(
      run.errText(),
      QStringLiteral("印刷できませんでした。\n「%1」は印刷を受け付けていません。\n").arg(printer_));
  EXPECT_TRUE(newJobs(before, 0).isEmpty());
}

}  // namespace
}  // namespace orivel::test
