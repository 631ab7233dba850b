// Printing through a real CUPS server, from the windows and from orivel-cli. scripts/test.sh
// starts the server (scripts/cups-test-printer.sh): a raw queue that keeps each document as
// it was sent, and queues made from a real driver's PPD (Debian's printer-driver-escpr,
// Epson EP-804A) with CUPS's own filters in front, which keep the document as the driver
// would get it. Without the server these tests are skipped, unless ORIVEL_REQUIRE_CUPS says
// they must run.
#include <dlfcn.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "app/TForm1.h"
#include "cli/CliRun.h"
#include "common/Codec.h"
#include "files/BookFile.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

constexpr double kMmPerPoint = 25.4 / 72;
constexpr double kMmPerDesignPixel = 25.4 / 96;

// libcups reads CUPS_SERVER once per thread; point the library that the program loads at
// `server`.
void useCupsServer(const QByteArray& server) {
  qputenv("CUPS_SERVER", server);
  void* cups = dlopen("libcups.so.2", RTLD_NOW);
  ASSERT_NE(cups, nullptr) << dlerror();
  using SetServer = void (*)(const char*);
  const auto setServer = reinterpret_cast<SetServer>(dlsym(cups, "cupsSetServer"));
  ASSERT_NE(setServer, nullptr);
  setServer(server.constData());
  // The library stays loaded: the printer sink uses the same instance.
}

// A word of `pdftotext -bbox`: one character of the card here, with its em box in mm.
struct Glyph {
  QString text;
  QRectF mm;
};

std::vector<Glyph> glyphsOf(const QString& pdf) {
  const QString xml =
      runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  static const QRegularExpression word(
      QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                     "yMax=\"([\\d.]+)\">([^<]*)<"));
  std::vector<Glyph> glyphs;
  for (const QRegularExpressionMatch& m : word.globalMatch(xml)) {
    const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
    const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
    glyphs.push_back({m.captured(5), QRectF(topLeft * kMmPerPoint, bottomRight * kMmPerPoint)});
  }
  return glyphs;
}

// Where a block's first character stands on the card held upright: the top-right corner of
// its em box is the block's top-right corner, from the block's Left (down from the card's
// top edge) and Top (leftward from its right edge) in design pixels.
QPointF blockCornerOnCard(int left, int top) {
  return {100.0 - top * kMmPerDesignPixel, left * kMmPerDesignPixel};
}

// A kept document is one upright page of 100 x 148 mm, with the name's and the address's
// first characters where the composition puts them (at every offset's 50), within 0.5 mm.
void expectCardAsComposed(const QString& pdf, const QString& firstOfName) {
  SCOPED_TRACE(pdf.toStdString());
  const PdfInfo info = pdfInfo(pdf);
  EXPECT_EQ(info.pages, 1);
  EXPECT_NEAR(info.width * kMmPerPoint, 100.0, 0.5);
  EXPECT_NEAR(info.height * kMmPerPoint, 148.0, 0.5);
  const std::vector<Glyph> glyphs = glyphsOf(pdf);
  struct Known {
    QString text;
    QPointF corner;
  };
  const Known known[] = {{firstOfName, blockCornerOnCard(112, 144)},
                         {QStringLiteral("東"), blockCornerOnCard(104, 64)}};
  for (const Known& k : known) {
    const auto found = std::find_if(glyphs.begin(), glyphs.end(),
                                    [&](const Glyph& g) { return g.text == k.text; });
    ASSERT_NE(found, glyphs.end()) << k.text.toStdString() << " is not on the page";
    EXPECT_NEAR(found->mm.right(), k.corner.x(), 0.5) << k.text.toStdString();
    EXPECT_NEAR(found->mm.top(), k.corner.y(), 0.5) << k.text.toStdString();
  }
}

enum class FrontEnd { Windows, Cli };

const char* nameOf(FrontEnd f) {
  return f == FrontEnd::Windows ? "the windows" : "orivel-cli";
}

class PrintToCupsTest : public FormsTest {
 protected:
  void SetUp() override {
    server_ = qgetenv("CUPS_SERVER");
    out_ = qEnvironmentVariable("ORIVEL_PRINT_OUT");
    queues_ = qEnvironmentVariable("ORIVEL_CUPS_QUEUES");
    if (server_.isEmpty() || out_.isEmpty() || queues_.isEmpty()) {
      if (qEnvironmentVariableIsSet("ORIVEL_REQUIRE_CUPS"))
        FAIL() << "CUPS_SERVER, ORIVEL_PRINT_OUT and ORIVEL_CUPS_QUEUES are not set: run "
                  "scripts/test.sh";
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
  // test server all the same.
  void TearDown() override {
    if (serverSet_) useCupsServer(server_);
    qunsetenv("LPDEST");
    FormsTest::TearDown();
  }

  // Where a queue keeps its documents: the raw default queue's folder, or a driver queue's.
  QString folderOf(const QString& queue) const {
    return queue == QStringLiteral("orivel-pdf") ? out_ : QDir(queues_).filePath(queue);
  }

  // Every document kept so far, by every queue.
  QStringList allJobs() const {
    QStringList folders{out_};
    for (const QString& queue : QDir(queues_).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
      folders << QDir(queues_).filePath(queue);
    QStringList files;
    for (const QString& folder : folders)
      for (const QString& f : QDir(folder).entryList({QStringLiteral("job-*.pdf")}, QDir::Files))
        files << QDir(folder).filePath(f);
    return files;
  }

  // The documents that `queue` keeps after `before`: waits for `count`, then a little longer
  // to see that no more come.
  QStringList newJobs(const QString& queue, const QStringList& before, int count) const {
    const QDir folder(folderOf(queue));
    auto fresh = [&] {
      QStringList files;
      for (const QString& f :
           folder.entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name))
        if (!before.contains(folder.filePath(f))) files << folder.filePath(f);
      return files;
    };
    QElapsedTimer timer;
    timer.start();
    while (fresh().size() < count && timer.elapsed() < 60000) QThread::msleep(100);
    QThread::msleep(count == 0 ? 1500 : 300);
    return fresh();
  }

  // Prints rows 0 and 2 on `queue`: from the windows as the system's default printer (the
  // user's own choice of default, LPDEST), from orivel-cli by name. What was said to the
  // user, empty when nothing was.
  QString printRows02(FrontEnd frontEnd, const QString& queue) {
    if (frontEnd == FrontEnd::Windows) {
      qputenv("LPDEST", queue.toUtf8());
      Form1->Book.setChecked(0, true);
      Form1->Book.setChecked(2, true);
      dialogs.shown.clear();
      Form1->Button2Click();
      qunsetenv("LPDEST");
      Form1->Book.setChecked(0, false);
      Form1->Book.setChecked(2, false);
      // When every card went out, only the question whether to record them as sent.
      if (dialogs.shown.size() == 1 && dialogs.shown[0].kind == MessageKind::Question) return {};
      return dialogs.texts().join(u'\n');
    }
    const QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("book.orv"));
    EXPECT_TRUE(SaveBook(Form1->Book, QFile::encodeName(book).toStdString()));
    const CliRun run =
        runCli({QStringLiteral("print"), book, QStringLiteral("--rows"), QStringLiteral("0,2"),
                QStringLiteral("--printer"), queue, QStringLiteral("--no-profile")});
    EXPECT_EQ(run.exitCode, run.err.isEmpty() ? 0 : 1) << run.err.toStdString();
    return run.errText().trimmed();
  }

  QByteArray server_;
  bool serverSet_ = false;
  QString out_;
  QString queues_;
};

// The raw queue: the document as the program made it.
TEST_F(PrintToCupsTest, PrintCommandSendsOneOnePagePdfJobPerCheckedRowInOrder) {
  const QStringList before = allJobs();
  EXPECT_EQ(printRows02(FrontEnd::Windows, QStringLiteral("orivel-pdf")), QString());
  const QStringList jobs = newJobs(QStringLiteral("orivel-pdf"), before, 2);
  ASSERT_EQ(jobs.size(), 2) << jobs.join(u' ').toStdString();
  const QString expectedName[] = {QStringLiteral("甲"), QStringLiteral("丙")};
  for (int i = 0; i < 2; ++i) {
    expectCardAsComposed(jobs[i], expectedName[i]);
    // Each job holds its own card, so the jobs came in the rows' order.
    const QString text = pdfPageText(jobs[i], 1);
    EXPECT_FALSE(text.contains(expectedName[1 - i])) << i << ": " << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("乙"))) << i << ": " << text.toStdString();
  }
}

// Through the driver's queue, whatever paper the queue is set to, each card comes out on
// ハガキ, upright and at full size, from either front end.
TEST_F(PrintToCupsTest, ADriversQueueGetsEachCardUprightOnHagakiAtFullSize) {
  for (const FrontEnd frontEnd : {FrontEnd::Windows, FrontEnd::Cli}) {
    for (const QString& queue : {QStringLiteral("ep804a"), QStringLiteral("ep804a-hagaki")}) {
      SCOPED_TRACE(testing::Message() << nameOf(frontEnd) << " on " << queue.toStdString());
      const QStringList before = allJobs();
      EXPECT_EQ(printRows02(frontEnd, queue), QString());
      const QStringList jobs = newJobs(queue, before, 2);
      ASSERT_EQ(jobs.size(), 2) << jobs.join(u' ').toStdString();
      expectCardAsComposed(jobs[0], QStringLiteral("甲"));
      expectCardAsComposed(jobs[1], QStringLiteral("丙"));
    }
  }
}

// A printer that cannot take the cards is refused before the first one, in the same words
// from either front end, and nothing reaches any queue.
TEST_F(PrintToCupsTest, APrinterThatCannotTakeTheCardsIsRefusedBeforeTheFirstCard) {
  struct Case {
    const char* queue;
    const char* setUp;  // a CUPS command run on the queue first, undone after
    const char* undo;
    const char* reason;
  };
  const Case cases[] = {
      {"no-hagaki", nullptr, nullptr, "「A4 only」ははがきの用紙に対応していません。"},
      {"ep804a", "cupsdisable", "cupsenable", "「EP-804A」は停止しています。"},
      {"ep804a", "cupsreject", "cupsaccept", "「EP-804A」は印刷を受け付けていません。"},
  };
  for (const FrontEnd frontEnd : {FrontEnd::Windows, FrontEnd::Cli}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message()
                   << nameOf(frontEnd) << " on " << c.queue << " " << (c.setUp ? c.setUp : ""));
      const QString queue = QString::fromUtf8(c.queue);
      if (c.setUp) runTool(QString::fromUtf8(c.setUp), {queue});
      const QStringList before = allJobs();
      const QString said = printRows02(frontEnd, queue);
      if (c.undo) runTool(QString::fromUtf8(c.undo), {queue});
      EXPECT_EQ(said, QStringLiteral("印刷できませんでした。\n") + QString::fromUtf8(c.reason));
      EXPECT_EQ(newJobs(queue, before, 0), QStringList());
    }
  }
}

TEST_F(PrintToCupsTest, APrinterOrAServerThatIsNotThereIsSaidSo) {
  EXPECT_EQ(
      printRows02(FrontEnd::Cli, QStringLiteral("no-such-queue")),
      QStringLiteral("印刷できませんでした。\nプリンター「no-such-queue」が見つかりません。"));
  const QByteArray nowhere = QFile::encodeName(QDir(out_).filePath("no-such-server.sock"));
  useCupsServer(nowhere);
  const QString unreachable =
      QStringLiteral("印刷できませんでした。\n印刷システム（CUPS）に接続できませんでした。");
  Form1->Book.setChecked(0, true);
  Form1->Button2Click();
  EXPECT_EQ(dialogs.texts(), QStringList{unreachable});
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));

  QProcessEnvironment env = headlessEnvironment();
  env.insert(QStringLiteral("CUPS_SERVER"), QString::fromUtf8(nowhere));
  const CliRun calibration = runCli({QStringLiteral("calibration")}, env);
  EXPECT_EQ(calibration.exitCode, 1);
  EXPECT_EQ(calibration.errText(), unreachable + u'\n');
}

TEST_F(PrintToCupsTest, TheCalibrationCardIsOneHagakiPageOnTheDriversQueue) {
  const QStringList before = allJobs();
  const CliRun run = runCli(
      {QStringLiteral("calibration"), QStringLiteral("--printer"), QStringLiteral("ep804a")});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList jobs = newJobs(QStringLiteral("ep804a"), before, 1);
  ASSERT_EQ(jobs.size(), 1);
  const PdfInfo info = pdfInfo(jobs[0]);
  EXPECT_EQ(info.pages, 1);
  EXPECT_NEAR(info.width * kMmPerPoint, 100.0, 0.5);
  EXPECT_NEAR(info.height * kMmPerPoint, 148.0, 0.5);
}

}  // namespace
}  // namespace orivel::test
