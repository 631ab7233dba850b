#include "print/TPrevwin.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <utility>

#include "common/Dialogs.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "print/PreviewRing.h"

namespace orivel {

QRPreview::QRPreview(QWidget* parent) : QScrollArea(parent), view_(new QLabel) {
  view_->setObjectName(QStringLiteral("page"));
  view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  view_->setStyleSheet(QStringLiteral("background: white"));
  setWidget(view_);
  setWidgetResizable(false);
  setBackgroundRole(QPalette::Dark);
}

void QRPreview::SetQRPrinter(const QImage& page) {
  page_ = page;
  view_->setPixmap(QPixmap::fromImage(page));
  view_->adjustSize();
}

}  // namespace orivel

TPrevwin::TPrevwin(orivel::PostcardReport& report, QWidget* parent)
    : QWidget(parent, Qt::Window), report_(report) {
  setObjectName(QStringLiteral("Prevwin"));
  setWindowTitle(QStringLiteral("Prevwin"));
  setFont(orivel::fonts::proportionalGothic(12));
  // Outer size 507 x 395 with a sizeable Windows frame (4 px each side, 23 px caption).
  resize(499, 368);

  QRPreview1 = new orivel::QRPreview(this);
  QRPreview1->setObjectName(QStringLiteral("QRPreview1"));
  QRPreview1->setGeometry(8, 40, 481, 321);

  auto button = [this](const char* name, const QString& caption, int x, int w) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, 8, w, 25);
    return b;
  };
  Button3 = button("Button3", QStringLiteral("ＥＸＩＴ"), 8, 75);
  Button4 = button("Button4", QStringLiteral("全て印刷"), 96, 75);
  Button1 = button("Button1", QStringLiteral("前ページ"), 272, 75);
  Button6 = button("Button6", QStringLiteral("印刷"), 360, 43);
  Button2 = button("Button2", QStringLiteral("次ページ"), 416, 75);
  connect(Button1, &QPushButton::clicked, this, &TPrevwin::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TPrevwin::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TPrevwin::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TPrevwin::Button4Click);
  connect(Button6, &QPushButton::clicked, this, &TPrevwin::Button6Click);
}

void TPrevwin::setLinks(Links links) {
  links_ = std::move(links);
}

void TPrevwin::showRow(int row) {
  if (row < 0) return;
  *links_.previewIndex = row;
  links_.setupPostcard(row);
  report_.Preview();
}

void TPrevwin::Button1Click() {
  showRow(orivel::PreviousCheckedLine(*links_.book, *links_.previewIndex));
}

void TPrevwin::Button2Click() {
  showRow(orivel::NextCheckedLine(*links_.book, *links_.previewIndex));
}

void TPrevwin::Button3Click() {
  close();
}

void TPrevwin::Button4Click() {
  links_.printAll();
}

// Prints the postcard on show: composed again, so that a print command run since, or a
// change to the book or the settings, cannot put another card on paper than the one shown.
void TPrevwin::Button6Click() {
  const int row = *links_.previewIndex;
  if (row >= 0 && row < links_.book->count()) links_.setupPostcard(row);
  if (!report_.Print()) orivel::ShowError(this, orivel::messages::printFailed());
}
