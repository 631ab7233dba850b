#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "print/PdfFileSink.h"
#include "print/PrintService.h"

namespace orivel::test {
namespace {

// Entries "e0", "e1", ...; entry i is in category 1 when i is even, in category 2 otherwise.
void fill(AddressBook& book, int n) {
  for (int i = 0; i < n; ++i) {
    datatype e;
    e.name = "e" + std::to_string(i);
    e.ml[i % 2 == 0 ? 0 : 1] = 1;
    book.append(e);
  }
}

// Counts the cards it takes, refusing from the given one on.
class CountingSink final : public PrintSink {
 public:
  bool printPage(const QPageLayout&, const PaintPage& paint) override {
    if (cards == refuseFrom) return false;
    QImage page(10, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&page);
    paint(painter, page);
    ++cards;
    return true;
  }
  bool finish() override {
    ++finished;
    return finishes;
  }
  int cards = 0;
  int refuseFrom = -1;
  int finished = 0;
  bool finishes = true;
};

TEST(PrintSelectionTest, SelectsLinesInListOrder) {
  AddressBook book;
  fill(book, 6);
  book.setChecked(4, true);
  book.setChecked(1, true);
  struct Case {
    PrintSelection selection;
    std::vector<int> lines;
  };
  const Case cases[] = {
      {PrintSelection::checked(), {1, 4}},
      {PrintSelection::all(), {0, 1, 2, 3, 4, 5}},
      {PrintSelection::inCategory(1), {0, 2, 4}},
      {PrintSelection::inCategory(3), {}},
      {PrintSelection::row(3), {3}},
      {PrintSelection::row(6), {}},
      {PrintSelection::someRows({5, 0, 5, -1, 9}), {0, 5}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.selection.lines(book), c.lines);
}

TEST(PrintServiceTest, ComposesEachCardAndStopsAtTheFirstRefusedOne) {
  AddressBook book;
  fill(book, 4);
  PrintService service;
  CountingSink sink;
  Postcard card = Postcard::design();
  EXPECT_EQ(service.print(book, PrintSelection::all(), usertype{}, sink, card),
            PrintOutcome::Printed);
  EXPECT_EQ(sink.cards, 4);
  EXPECT_EQ(sink.finished, 1);
  EXPECT_EQ(card.QRname.text.substr(0, 2), "e3");

  sink.refuseFrom = 5;  // the second card of this run
  EXPECT_EQ(service.print(book, PrintSelection::inCategory(2), usertype{}, sink, card),
            PrintOutcome::Failed);
  EXPECT_EQ(sink.cards, 5);
  EXPECT_EQ(card.QRname.text.substr(0, 2), "e3");  // the refused card

  sink.refuseFrom = -1;
  sink.finishes = false;
  EXPECT_EQ(service.print(book, PrintSelection::row(0), usertype{}, sink), PrintOutcome::Failed);
  EXPECT_EQ(service.print(book, PrintSelection::checked(), usertype{}, sink),
            PrintOutcome::NothingToPrint);
}

TEST(PrintServiceTest, AProgressThatAsksToStopEndsThePrintAfterThatCard) {
  struct Case {
    int cards;      // in the selection
    int stopAfter;  // the card after which the progress asks to stop; 0: never
    PrintOutcome outcome;
    int printed;
  };
  const Case cases[] = {
      {5, 0, PrintOutcome::Printed, 5}, {5, 1, PrintOutcome::Stopped, 1},
      {5, 3, PrintOutcome::Stopped, 3}, {5, 5, PrintOutcome::Printed, 5},
      {1, 1, PrintOutcome::Printed, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cards << " cards, stop after " << c.stopAfter);
    AddressBook book;
    fill(book, c.cards);
    PrintService service;
    CountingSink sink;
    std::vector<std::pair<int, int>> told;
    const PrintOutcome outcome =
        service.print(book, PrintSelection::all(), usertype{}, sink, [&](int printed, int total) {
          told.emplace_back(printed, total);
          return printed != c.stopAfter;
        });
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(sink.cards, c.printed);
    EXPECT_EQ(service.printedCount(), c.printed);
    // The cards printed so far are completed (a PDF keeps its pages).
    EXPECT_EQ(sink.finished, 1);
    ASSERT_EQ(static_cast<int>(told.size()), c.printed);
    for (int i = 0; i < c.printed; ++i) EXPECT_EQ(told[i], std::make_pair(i + 1, c.cards));
  }
}

// A sink that cannot begin gets no card, and its reason stands.
TEST(PrintServiceTest, ASinkThatCannotBeginGetsNoCard) {
  class Refusing final : public PrintSink {
   public:
    bool begin() override { return false; }
    bool printPage(const QPageLayout&, const PaintPage&) override { return ++pages, true; }
    bool finish() override { return ++finished, true; }
    int pages = 0;
    int finished = 0;
  } sink;
  AddressBook book;
  fill(book, 2);
  PrintService service;
  EXPECT_EQ(service.print(book, PrintSelection::all(), usertype{}, sink), PrintOutcome::Failed);
  EXPECT_FALSE(service.printCard(Postcard::design(), sink));
  EXPECT_FALSE(service.printCalibration(sink));
  EXPECT_EQ(sink.pages, 0);
  EXPECT_EQ(sink.finished, 0);
  EXPECT_EQ(service.printedCount(), 0);
}

TEST(PdfFileSinkTest, PutsEveryCardIntoOneFileOnlyWhenComplete) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("cards.pdf"));
  AddressBook book;
  fill(book, 3);
  PrintService service;
  {
    PdfFileSink sink(path);
    EXPECT_EQ(service.print(book, PrintSelection::all(), usertype{}, sink), PrintOutcome::Printed);
  }
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {path});
  ASSERT_TRUE(info.waitForFinished(30000));
  const QString out = QString::fromUtf8(info.readAllStandardOutput());
  EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))))
      << out.toStdString();
  // The card upright, 100 x 148 mm, to the writer's pixel.
  const QRegularExpressionMatch size =
      QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(out);
  ASSERT_TRUE(size.hasMatch()) << out.toStdString();
  EXPECT_NEAR(size.captured(1).toDouble(), 100 / 25.4 * 72, 1.0);
  EXPECT_NEAR(size.captured(2).toDouble(), 148 / 25.4 * 72, 1.0);

  // A file whose cards never finished leaves the one that was there.
  const QByteArray before = [&] {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();
  {
    PdfFileSink sink(path);
    EXPECT_TRUE(sink.printPage(PageRenderer::pageLayout(), [](QPainter&, const QPaintDevice&) {}));
  }
  QFile after(path);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), before);
}

}  // namespace
}  // namespace orivel::test
