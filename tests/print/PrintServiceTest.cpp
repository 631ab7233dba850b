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
  EXPECT_TRUE(out.contains(QStringLiteral("420 x 312 pts"))) << out.toStdString();

  // A file whose cards never finished leaves the one that was there.
  const QByteArray before = [&] {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();
  {
    PdfFileSink sink(path);
    EXPECT_TRUE(service.printCard(Postcard::design(), sink));
  }
  QFile after(path);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), before);
}

}  // namespace
}  // namespace orivel::test
