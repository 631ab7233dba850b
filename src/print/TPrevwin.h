#pragma once

#include <QImage>
#include <QScrollArea>
#include <QWidget>
#include <functional>

#include "book/AddressBook.h"
#include "print/PostcardReport.h"

class QLabel;
class QPushButton;

namespace orivel {

class PageView;

// The report preview control. It shows the whole page, scaled to fit the control and
// kept in proportion, until the user zooms (Ctrl + wheel, Ctrl + "+" / "-"); then it
// scrolls. Ctrl + "0" fits the page again.
class QRPreview final : public QScrollArea {
  Q_OBJECT
 public:
  // Draws the shown page afresh with `pixelRatio` device pixels per design pixel, so that
  // a zoomed page stays sharp.
  using PageSource = std::function<QImage(qreal pixelRatio)>;

  explicit QRPreview(QWidget* parent = nullptr);
  // Shows the page just built; `source` draws the same page at other sizes (without it the
  // page is scaled as an image).
  void SetQRPrinter(const QImage& page, PageSource source = {});
  const QImage& page() const { return page_; }

  // Design pixels to screen pixels: the fitting scale, or the one the user zoomed to.
  qreal scale() const { return scale_; }
  bool fitsWindow() const { return fit_; }
  void zoomIn();
  void zoomOut();
  void zoomTo(qreal scale);
  void fitToWindow();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QSizeF designSize() const;
  void layoutPage();

  PageView* view_;
  QImage page_;
  PageSource source_;
  qreal scale_ = 1.0;
  bool fit_ = true;
};

}  // namespace orivel

// The preview window: one postcard at a time, stepping around the checked rows.
class TPrevwin final : public QWidget {
  Q_OBJECT
 public:
  // What the preview window works on, all of it the main window's: the book it steps
  // around, the line on show (PreviewIndex), how a line is composed into the report
  // (SetupPostcard) and the print command for all checked lines.
  struct Links {
    const orivel::AddressBook* book = nullptr;
    int* previewIndex = nullptr;
    std::function<void(int row)> setupPostcard;
    std::function<void()> printAll;
  };

  TPrevwin(orivel::PostcardReport& report, QWidget* parent = nullptr);
  void setLinks(Links links);

  void Button1Click();  // 前ページ
  void Button2Click();  // 次ページ
  void Button3Click();  // ＥＸＩＴ
  void Button4Click();  // 全て印刷
  void Button6Click();  // 印刷

  // Shows a page just built, with the place of its line among the checked ones.
  void ShowPage(const QImage& page, orivel::QRPreview::PageSource source);
  // "3 / 12": the shown line's place among the checked lines and their number.
  void ShowCount();

  orivel::QRPreview* QRPreview1;
  QPushButton* Button3;
  QPushButton* Button4;
  QPushButton* Button1;
  QPushButton* Button6;
  QPushButton* Button2;
  QLabel* PageCount;

 protected:
  // The preview control grows with the window; Ctrl + "+" / "-" / "0" zoom it.
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void showRow(int row);

  orivel::PostcardReport& report_;
  Links links_;
};
