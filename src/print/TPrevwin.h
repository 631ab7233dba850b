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

// The report preview control: shows the report's page at 100 %, scrolling when it does not fit.
class QRPreview final : public QScrollArea {
  Q_OBJECT
 public:
  explicit QRPreview(QWidget* parent = nullptr);
  // Shows the page just built.
  void SetQRPrinter(const QImage& page);
  const QImage& page() const { return page_; }

 private:
  QLabel* view_;
  QImage page_;
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

  orivel::QRPreview* QRPreview1;
  QPushButton* Button3;
  QPushButton* Button4;
  QPushButton* Button1;
  QPushButton* Button6;
  QPushButton* Button2;

 private:
  void showRow(int row);

  orivel::PostcardReport& report_;
  Links links_;
};
