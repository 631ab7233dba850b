#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <functional>
#include <vector>

#include "app/TForm1.h"
#include "common/Codec.h"
#include "print/TPrevwin.h"
#include "print/TQRFM.h"
#include "settings/CalibrationDialog.h"
#include "settings/TForm5.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

// Takes every job instead of a printer: the card as composed and the page as painted.
class RecordingPrinter final : public PrintSink {
 public:
  struct Job {
    Postcard card;
    QImage page;
    QPageLayout layout;
  };

  bool printPage(const QPageLayout& layout, const PaintPage& paint) override {
    if (static_cast<int>(jobs.size()) == refuseFrom) return false;
    if (static_cast<int>(jobs.size()) + 1 == stopDuring) pressStop();
    // The page at one pixel a design pixel (96 dpi), as the preview shows the card.
    const QSizeF mm = layout.fullRect(QPageLayout::Millimeter).size();
    QImage page(qRound(mm.width() / 25.4 * 96), qRound(mm.height() / 25.4 * 96),
                QImage::Format_ARGB32_Premultiplied);
    page.setDotsPerMeterX(3780);
    page.setDotsPerMeterY(3780);
    page.fill(Qt::white);
    QPainter painter(&page);
    paint(painter, page);
    painter.end();
    jobs.push_back({report->Card, page, layout});
    return true;
  }

  QString failureReason() const override { return reason; }

  // Presses 中止 in the progress window that is up, as a user would while a job goes out.
  static void pressStop() {
    auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    QPushButton* stop = nullptr;
    for (QPushButton* b : progress->findChildren<QPushButton*>())
      if (b->text() == QStringLiteral("中止")) stop = b;
    ASSERT_NE(stop, nullptr);
    stop->click();
  }

  TQRFM* report = nullptr;  // the report form whose card is printed
  std::vector<Job> jobs;
  int refuseFrom = -1;  // the number of jobs after which every job is refused
  int stopDuring = -1;  // the job (from 1) during which 中止 is pressed
  QString reason;       // why a refused job was refused
};

class PrintCommandsTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    printer.report = QRFM;
    forms->setPrinter(&printer);
  }

  // Entries "name0", "name1", ... with postal codes 100-000i.
  void addEntries(int n) {
    for (int i = 0; i < n; ++i) {
      datatype e;
      e.name = "name" + std::to_string(i);
      e.address = "address" + std::to_string(i);
      e.zip_code = "100-000" + std::to_string(i);
      e.sama = codec::encodeKnown(QStringLiteral("様"));
      Form1->Book.append(e);
    }
  }
  void check(std::initializer_list<int> rows) {
    for (int r : rows) Form1->Book.setChecked(r, true);
  }
  static std::string nameText(int i) {
    return "name" + std::to_string(i) + codec::encodeKnown(QStringLiteral("　様"));
  }
  std::string shownName() const { return QRFM->QRname.text; }

  RecordingPrinter printer;
};

int darkPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 128;
  return n;
}

// The preview shows the card upright, 100 x 148 mm: 378 x 559 design pixels.
constexpr QSize kCardSize(378, 559);

// Whether the preview `shown` (upright, at one pixel a design pixel) carries the ink of the
// printed `page` (the card upright, as the preview shows it). The screen adds only light
// colours: the outline and the red boxes.
void expectShowsTheInkOf(const QImage& shown, const QImage& upright) {
  ASSERT_EQ(shown.size(), upright.size());
  // Pixels drawn at another ratio and scaled afterwards differ at their edges: compare which
  // cells of 4 x 4 pixels carry ink.
  constexpr int kCell = 4;
  auto inked = [](const QImage& image, int cx, int cy) {
    for (int y = cy * kCell; y < std::min(image.height(), (cy + 1) * kCell); ++y)
      for (int x = cx * kCell; x < std::min(image.width(), (cx + 1) * kCell); ++x)
        if (qGray(image.pixel(x, y)) < 96) return true;
    return false;
  };
  int ink = 0;
  int differ = 0;
  for (int cy = 0; cy * kCell < shown.height(); ++cy) {
    for (int cx = 0; cx * kCell < shown.width(); ++cx) {
      const bool printed = inked(upright, cx, cy);
      ink += printed;
      differ += printed != inked(shown, cx, cy);
    }
  }
  EXPECT_GT(ink, 50);
  EXPECT_LT(differ, ink / 10) << differ << " of " << ink;
}

TEST_F(PrintCommandsTest, PrintMakesOneJobPerCheckedRowInListOrder) {
  addEntries(5);
  check({3, 0});
  Form1->PreviewIndex = 2;
  Form1->Button2->click();
  ASSERT_EQ(printer.jobs.size(), 2u);
  EXPECT_EQ(printer.jobs[0].card.QRname.text, nameText(0));
  EXPECT_EQ(printer.jobs[1].card.QRname.text, nameText(3));
  EXPECT_EQ(printer.jobs[1].card.QRaddress.text, "address3");
  // Asked whether to record the cards as sent; No (the script's default) records nothing.
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Question);
  EXPECT_EQ(dialogs.shown[0].text,
            QStringLiteral("印刷した2件を%1年の「送」に記録しますか？").arg(ThisSeason()));
  EXPECT_TRUE(Form1->Book.entry(0).history.empty());
  EXPECT_FALSE(Form1->Modified);
  EXPECT_EQ(Form1->PreviewIndex, 2);
  EXPECT_EQ(shownName(), nameText(3));  // the report keeps the last printed card
  EXPECT_GT(darkPixels(printer.jobs[0].page), 200);
}

TEST_F(PrintCommandsTest, YesRecordsThePrintedCardsAsSentInThisSeason) {
  addEntries(3);
  Form1->Book.setSeasonMark(2, ThisSeason() - 1, SeasonMark::Received, true);
  check({0, 2});
  dialogs.answers = {Answer::Yes};
  Form1->Button2->click();
  const std::string s = std::to_string(ThisSeason());
  EXPECT_EQ(Form1->Book.entry(0).history.text(), s + "S");
  EXPECT_TRUE(Form1->Book.entry(1).history.empty());
  EXPECT_EQ(Form1->Book.entry(2).history.text(), std::to_string(ThisSeason() - 1) + "R," + s + "S");
  EXPECT_TRUE(Form1->Modified);

  // A refused job: nothing is asked and nothing recorded.
  Form1->Modified = false;
  Form1->Book.clearSeason(0, ThisSeason());
  printer.refuseFrom = printer.jobs.size() + 1;
  dialogs.answers = {Answer::Yes};
  Form1->Button2->click();
  EXPECT_EQ(dialogs.shown.back().kind, MessageKind::Error);
  EXPECT_TRUE(Form1->Book.entry(0).history.empty());
  EXPECT_FALSE(Form1->Modified);
}

// 中止 stops after the job in progress; a notice says how many cards were printed, and
// nothing is recorded as sent.
TEST_F(PrintCommandsTest, StopEndsThePrintAfterTheJobInProgress) {
  struct Case {
    int stopDuring;
    std::size_t printed;
    QString notice;
  };
  const Case cases[] = {
      {1, 1, QStringLiteral("印刷を中止しました。5枚のうち1枚を印刷しました。")},
      {3, 3, QStringLiteral("印刷を中止しました。5枚のうち3枚を印刷しました。")},
  };
  addEntries(5);
  check({0, 1, 2, 3, 4});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stopDuring);
    printer.jobs.clear();
    dialogs.shown.clear();
    printer.stopDuring = c.stopDuring;
    dialogs.answers = {Answer::Yes};
    Form1->Button2->click();
    EXPECT_EQ(printer.jobs.size(), c.printed);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Information);
    EXPECT_EQ(dialogs.shown[0].text, c.notice);
    EXPECT_TRUE(Form1->Book.entry(0).history.empty());
    EXPECT_FALSE(Form1->Modified);
    // The progress window is gone with the command.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(Form1->findChildren<QProgressDialog*>().isEmpty());
  }
}

TEST_F(PrintCommandsTest, ARefusedJobSaysWhyTheCardsDidNotPrint) {
  addEntries(2);
  check({0, 1});
  printer.refuseFrom = 1;
  printer.reason = QStringLiteral("The printer or class is not accepting jobs.");
  Form1->Button2->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
  EXPECT_EQ(dialogs.shown[0].text,
            QStringLiteral("印刷できませんでした。\nThe printer or class is not accepting jobs."));
}

// The page is the card, upright: what reaches the printer is what the preview shows.
TEST_F(PrintCommandsTest, EveryJobIsTheCardItselfUprightAsThePreviewShowsIt) {
  addEntries(2);
  check({1});
  Form1->Button2Click();
  ASSERT_EQ(printer.jobs.size(), 1u);
  const QPageLayout& layout = printer.jobs[0].layout;
  EXPECT_EQ(layout.orientation(), QPageLayout::Portrait);
  EXPECT_EQ(layout.mode(), QPageLayout::FullPageMode);
  EXPECT_EQ(layout.pageSize().id(), QPageSize::Postcard);
  EXPECT_EQ(layout.fullRect(QPageLayout::Millimeter).size(), QSizeF(100, 148));
  Form1->Button1Click();
  expectShowsTheInkOf(Prevwin->QRPreview1->page(), printer.jobs[0].page);
}

TEST_F(PrintCommandsTest, PrintWithNothingCheckedShowsItsMessage) {
  addEntries(3);
  Form1->Button2->click();
  Form1->N6->trigger();
  EXPECT_TRUE(printer.jobs.empty());
  ASSERT_EQ(dialogs.shown.size(), 2u);
  for (const auto& s : dialogs.shown) {
    EXPECT_EQ(s.kind, MessageKind::Error);
    EXPECT_EQ(s.title, QStringLiteral("ＥＲＲＯＲ"));
    EXPECT_EQ(s.text, QStringLiteral("印刷する項目が未設定です"));
  }
}

TEST_F(PrintCommandsTest, MenuPrintAllIsThePrintCommand) {
  addEntries(4);
  check({1, 2});
  Form1->N6->trigger();
  ASSERT_EQ(printer.jobs.size(), 2u);
  EXPECT_EQ(printer.jobs[0].card.QRname.text, nameText(1));
  EXPECT_EQ(printer.jobs[1].card.QRname.text, nameText(2));
}

TEST_F(PrintCommandsTest, RefusedJobStopsThePrintWithAMessageAndKeepsTheJobsBefore) {
  addEntries(4);
  check({0, 1, 3});
  printer.refuseFrom = 1;
  Form1->Button2->click();
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(printer.jobs[0].card.QRname.text, nameText(0));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("印刷できませんでした。"));
  EXPECT_EQ(shownName(), nameText(1));  // stopped at the refused card, not after it
}

TEST_F(PrintCommandsTest, PreviewWithNothingCheckedShowsItsMessage) {
  addEntries(2);
  Form1->Button1->click();
  EXPECT_FALSE(Prevwin->isVisible());
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("プレビューする項目が未設定です"));
}

TEST_F(PrintCommandsTest, PreviewShowsTheFirstCheckedRowModelessly) {
  addEntries(10);
  check({5, 2, 9});
  Form1->Button1->click();
  EXPECT_TRUE(Prevwin->isVisible());
  EXPECT_EQ(Prevwin->windowModality(), Qt::NonModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(Form1->isEnabled());
  EXPECT_EQ(Form1->PreviewIndex, 2);
  EXPECT_EQ(shownName(), nameText(2));
  const QImage& page = Prevwin->QRPreview1->page();
  EXPECT_EQ(page.size() / page.devicePixelRatio(), kCardSize);
  EXPECT_GT(darkPixels(page), 200);
  EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(PrintCommandsTest, PageButtonsStepRoundTheCheckedRows) {
  addEntries(10);
  check({2, 5, 9});
  Form1->Button1Click();
  std::vector<int> seen;
  for (int i = 0; i < 3; ++i) {
    Prevwin->Button2->click();
    seen.push_back(Form1->PreviewIndex);
    EXPECT_EQ(shownName(), nameText(Form1->PreviewIndex));
  }
  EXPECT_EQ(seen, (std::vector<int>{5, 9, 2}));
  Prevwin->Button1->click();
  EXPECT_EQ(Form1->PreviewIndex, 9);
  EXPECT_EQ(shownName(), nameText(9));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PrintCommandsTest, PageButtonsWithOneCheckedRowChangeNothing) {
  addEntries(4);
  check({1});
  Form1->Button1Click();
  const QImage before = Prevwin->QRPreview1->page();
  QRFM->QRname.text = "marker";  // a new composition would overwrite it
  Prevwin->Button2->click();
  Prevwin->Button1->click();
  EXPECT_EQ(Form1->PreviewIndex, 1);
  EXPECT_EQ(shownName(), "marker");
  EXPECT_EQ(Prevwin->QRPreview1->page(), before);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PrintCommandsTest, UntickingTheRowOnShowThenNextMovesOn) {
  addEntries(10);
  check({2, 5, 9});
  Form1->Button1Click();
  Prevwin->Button2Click();
  ASSERT_EQ(Form1->PreviewIndex, 5);
  Form1->Book.setChecked(5, false);
  Prevwin->Button2->click();
  EXPECT_EQ(Form1->PreviewIndex, 9);

  Form1->Book.SelectChecks(8);  // none
  Prevwin->Button2->click();
  Prevwin->Button1->click();
  EXPECT_EQ(Form1->PreviewIndex, 9);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PrintCommandsTest, PrintAllInThePreviewIsTheMainPrintCommand) {
  addEntries(4);
  check({0, 3});
  Form1->Button1Click();
  Prevwin->Button4->click();
  ASSERT_EQ(printer.jobs.size(), 2u);
  EXPECT_EQ(printer.jobs[0].card.QRname.text, nameText(0));
  EXPECT_EQ(printer.jobs[1].card.QRname.text, nameText(3));

  Form1->Book.SelectChecks(8);
  Prevwin->Button4->click();
  EXPECT_EQ(printer.jobs.size(), 2u);
  EXPECT_EQ(
      dialogs.texts(),
      (QStringList{QStringLiteral("印刷した2件を%1年の「送」に記録しますか？").arg(ThisSeason()),
                   QStringLiteral("印刷する項目が未設定です")}));
}

TEST_F(PrintCommandsTest, PrintInThePreviewPrintsTheCardOnShow) {
  addEntries(4);
  check({1, 3});
  Form1->Button1Click();  // shows row 1
  Form1->Button2Click();  // the report now holds row 3
  ASSERT_EQ(shownName(), nameText(3));
  Prevwin->Button6->click();
  ASSERT_EQ(printer.jobs.size(), 3u);
  EXPECT_EQ(printer.jobs[2].card.QRname.text, nameText(1));
  // What prints is what the preview shows.
  expectShowsTheInkOf(Prevwin->QRPreview1->page(), printer.jobs[2].page);
}

TEST_F(PrintCommandsTest, PrintInThePreviewPrintsTheShownCardAfterTheBookChanged) {
  addEntries(4);
  check({1, 3});
  Form1->Button1Click();  // shows row 1
  Form1->Book.remove(0);  // row 1 now holds the entry that was row 2
  Prevwin->Button6->click();
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(printer.jobs[0].card.QRname.text, nameText(1));
}

TEST_F(PrintCommandsTest, PrintInThePreviewReportsARefusedJob) {
  addEntries(2);
  check({0});
  Form1->Button1Click();
  printer.refuseFrom = 0;
  Prevwin->Button6->click();
  EXPECT_TRUE(printer.jobs.empty());
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("印刷できませんでした。")});
}

TEST_F(PrintCommandsTest, ExitHidesThePreviewAndKeepsPreviewIndex) {
  addEntries(4);
  check({3});
  Form1->Button1Click();
  ASSERT_TRUE(Prevwin->isVisible());
  const QPointer<TPrevwin> preview = Prevwin;
  Prevwin->Button3->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(preview.isNull()) << "hidden, not destroyed";
  EXPECT_FALSE(preview->isVisible());
  EXPECT_EQ(Form1->PreviewIndex, 3);
}

TEST_F(PrintCommandsTest, PreviewWindowLayout) {
  EXPECT_EQ(Prevwin->windowTitle(), QStringLiteral("Prevwin"));
  EXPECT_EQ(Prevwin->QRPreview1->geometry(), QRect(8, 40, 481, 321));
  struct Expected {
    QPushButton* button;
    QString caption;
    QRect geometry;
  };
  const Expected expected[] = {
      {Prevwin->Button3, QStringLiteral("ＥＸＩＴ"), QRect(8, 8, 75, 25)},
      {Prevwin->Button4, QStringLiteral("全て印刷"), QRect(96, 8, 75, 25)},
      {Prevwin->Button1, QStringLiteral("前ページ"), QRect(272, 8, 75, 25)},
      {Prevwin->Button6, QStringLiteral("印刷"), QRect(360, 8, 43, 25)},
      {Prevwin->Button2, QStringLiteral("次ページ"), QRect(416, 8, 75, 25)},
  };
  for (const Expected& e : expected) {
    EXPECT_EQ(e.button->text(), e.caption);
    EXPECT_EQ(e.button->geometry(), e.geometry) << e.caption.toStdString();
  }
  // Everything fits inside the window with the same 8-pixel edge on the right.
  EXPECT_GE(Prevwin->width(), 489 + 8);
  EXPECT_GE(Prevwin->height(), 361 + 7);
}

// The whole card shows in the control, in proportion, filling it in one direction.
void expectFits(QRPreview* preview) {
  const QSize shown = preview->widget()->size();
  const QSize room = preview->maximumViewportSize();
  EXPECT_LE(shown.width(), room.width());
  EXPECT_LE(shown.height(), room.height());
  EXPECT_NEAR(double(shown.width()) / shown.height(),
              double(kCardSize.width()) / kCardSize.height(), 0.01);
  EXPECT_TRUE(shown.width() > room.width() - 12 || shown.height() > room.height() - 12)
      << shown.width() << "x" << shown.height() << " in " << room.width() << "x" << room.height();
}

void sendKey(QWidget* w, int key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(w, &press);
}

void sendWheel(QWidget* w, int angle, Qt::KeyboardModifiers modifiers) {
  QWheelEvent wheel(QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, angle),
                    Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &wheel);
}

TEST_F(PrintCommandsTest, PreviewFitsTheWholeCardAndFollowsTheWindowsSize) {
  addEntries(1);
  check({0});
  Form1->Button1Click();
  QRPreview* preview = Prevwin->QRPreview1;
  EXPECT_EQ(preview->geometry(), QRect(8, 40, 481, 321));
  expectFits(preview);
  const QSize small = preview->widget()->size();
  for (const QSize window : {QSize(1000, 800), QSize(600, 250)}) {
    Prevwin->resize(window);
    EXPECT_EQ(preview->geometry(), QRect(8, 40, window.width() - 18, window.height() - 47));
    expectFits(preview);
  }
  Prevwin->resize(1000, 800);
  EXPECT_GT(preview->widget()->width(), small.width());
}

TEST_F(PrintCommandsTest, CtrlWithWheelOrKeysZoomsAndCtrlZeroFitsAgain) {
  addEntries(1);
  check({0});
  Form1->Button1Click();
  QRPreview* preview = Prevwin->QRPreview1;
  const qreal fit = preview->scale();
  QWidget* focus = Prevwin->Button3;  // keys reach the window through the focused control
  struct Step {
    std::function<void()> act;
    qreal factor;  // of the fitting scale
  };
  const Step steps[] = {
      {[&] { sendKey(focus, Qt::Key_Plus, Qt::ControlModifier); }, 1.25},
      {[&] { sendKey(focus, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier); }, 1.5625},
      {[&] { sendKey(focus, Qt::Key_Minus, Qt::ControlModifier); }, 1.25},
      {[&] { sendKey(focus, Qt::Key_0, Qt::ControlModifier); }, 1.0},
      {[&] { sendWheel(preview->viewport(), 120, Qt::ControlModifier); }, 1.25},
      {[&] { sendWheel(preview->viewport(), -240, Qt::ControlModifier); }, 0.8},
      {[&] { sendWheel(preview->viewport(), 120, Qt::NoModifier); }, 0.8},  // scrolls only
      {[&] { sendKey(focus, Qt::Key_0, Qt::ControlModifier); }, 1.0},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i].act();
    EXPECT_NEAR(preview->scale(), fit * steps[i].factor, 1e-6) << "step " << i;
    EXPECT_NEAR(preview->widget()->height(), kCardSize.height() * preview->scale(), 1.0)
        << "step " << i;
  }
  EXPECT_TRUE(preview->fitsWindow());
  sendKey(focus, Qt::Key_Plus, Qt::ControlModifier);
  sendKey(focus, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_GT(preview->widget()->height(), preview->viewport()->height());  // it scrolls now
}

TEST_F(PrintCommandsTest, TheCountGivesTheShownCardsPlaceAmongTheTickedOnes) {
  addEntries(20);
  check({1, 4, 6, 7, 9, 10, 12, 13, 15, 16, 18, 19});
  struct Step {
    std::function<void()> act;
    QString count;
  };
  const Step steps[] = {
      {[] { Form1->Button1->click(); }, QStringLiteral("1 / 12")},
      {[] { Prevwin->Button2->click(); }, QStringLiteral("2 / 12")},
      {[] { Prevwin->Button2->click(); }, QStringLiteral("3 / 12")},
      {[] { Prevwin->Button1->click(); }, QStringLiteral("2 / 12")},
      {[] { Prevwin->Button1->click(); }, QStringLiteral("1 / 12")},
      {[] { Prevwin->Button1->click(); }, QStringLiteral("12 / 12")},  // round to the last
      {[] {
         Form1->Book.setChecked(2, true);
         Prevwin->Button2->click();
       },
       QStringLiteral("1 / 13")},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i].act();
    EXPECT_EQ(Prevwin->PageCount->text(), steps[i].count) << "step " << i;
  }
  EXPECT_TRUE(Prevwin->PageCount->isVisible());
}

TEST_F(PrintCommandsTest, EscClosesThePreviewLikeExit) {
  addEntries(3);
  check({2});
  Form1->Button1Click();
  ASSERT_TRUE(Prevwin->isVisible());
  sendKey(Prevwin->Button2, Qt::Key_Escape, Qt::NoModifier);  // through the focused control
  EXPECT_FALSE(Prevwin->isVisible());
  EXPECT_EQ(Form1->PreviewIndex, 2);
}

// Pixels of a clearly red hue, as the screen draws the postal code frame.
int redPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      n += qRed(p) > qGreen(p) + 40;
    }
  }
  return n;
}

TEST_F(PrintCommandsTest, TheFramesBoxesAreOnTheScreenOnlyNeverOnPaper) {
  addEntries(2);
  check({1});
  Form1->Button1Click();
  Form1->Button2Click();
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_GT(redPixels(Prevwin->QRPreview1->page()), 300);
  EXPECT_EQ(redPixels(printer.jobs[0].page), 0);
}

TEST_F(PrintCommandsTest, CalibrationCardPrintsOnTheWindowsPrinterThenTheShiftSetsTheOffsets) {
  whenModal([](QWidget* dialog) {
    auto* calibration = qobject_cast<CalibrationDialog*>(dialog);
    ASSERT_NE(calibration, nullptr);
    EXPECT_EQ(calibration->windowTitle(), QStringLiteral("印刷位置の確認"));
    calibration->AddresseeLeft->setValue(1.0);   // 4 steps
    calibration->AddresseeDown->setValue(-2.5);  // 9 steps
    calibration->SenderLeft->setValue(-0.5);     // 2 steps
    calibration->SenderDown->setValue(0.0);
    calibration->accept();
  });
  dialogs.answers = {Answer::Yes};  // the card is in the printer
  Form5->N7->trigger();
  EXPECT_EQ(dialogs.texts(),
            QStringList{QStringLiteral(
                "はがきを1枚、宛名面を印刷する向きでセットしてください。印刷しますか？")});
  ASSERT_EQ(printer.jobs.size(), 1u);
  EXPECT_EQ(printer.jobs[0].layout.fullRect(QPageLayout::Millimeter).size(), QSizeF(100, 148));
  EXPECT_GT(darkPixels(printer.jobs[0].page), 1000);
  const int expected[] = {46, 59, 46, 59, 46, 59, 52, 50, 52, 50, 52, 50};
  for (int k = 1; k <= 12; ++k) {
    EXPECT_EQ(Form5->OffsetBar(k)->value(), expected[k - 1]) << "offset " << k;
    EXPECT_EQ(Form5->CurrentUser().offset(k), expected[k - 1]) << "offset " << k;
  }
  EXPECT_EQ(Form5->Label4->text(), QStringLiteral("横(-4)"));
  EXPECT_EQ(Form5->Label5->text(), QStringLiteral("縦(9)"));
  EXPECT_EQ(dialogs.shown.size(), 1u);  // only the question before the card
}

TEST_F(PrintCommandsTest, ACalibrationCardThatDoesNotPrintSaysSoAndAsksNothing) {
  printer.refuseFrom = 0;
  bool asked = false;
  whenModal([&asked](QWidget* dialog) {
    asked = true;
    qobject_cast<QDialog*>(dialog)->reject();
  });
  dialogs.answers = {Answer::Yes};
  Form5->N7->trigger();
  EXPECT_FALSE(asked);
  EXPECT_EQ(dialogs.texts().value(1), QStringLiteral("印刷できませんでした。"));
  EXPECT_EQ(Form5->OffsetBar(1)->value(), 50);
}

TEST_F(PrintCommandsTest, TheCalibrationCardWaitsForTheCardAndNoPrintsNothing) {
  bool asked = false;
  whenModal([&asked](QWidget* dialog) {
    asked = true;
    qobject_cast<QDialog*>(dialog)->reject();
  });
  Form5->N7->trigger();  // answered No
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Question);
  EXPECT_TRUE(printer.jobs.empty());
  EXPECT_FALSE(asked);
  cancelModalActions();
}

TEST_F(PrintCommandsTest, AZoomedPreviewIsStillThePrintedCard) {
  addEntries(4);
  check({1, 3});
  Form1->Button1Click();  // shows row 1
  Form1->Button2Click();  // the report now holds row 3
  QRPreview* preview = Prevwin->QRPreview1;
  preview->zoomTo(1.0);
  const QImage shown = preview->widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  Prevwin->Button6->click();  // prints the card on show
  ASSERT_EQ(printer.jobs.size(), 3u);
  EXPECT_EQ(printer.jobs[2].card.QRname.text, nameText(1));
  expectShowsTheInkOf(shown, printer.jobs[2].page);
}

}  // namespace
}  // namespace orivel::test
