#include "print/TPrevwin.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "common/Dialogs.h"
#include "common/EnterKey.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "print/PreviewRing.h"

namespace orivel {

namespace {

constexpr qreal kZoomStep = 1.25;
constexpr qreal kMinScale = 0.1;
constexpr qreal kMaxScale = 4.0;
constexpr int kFitMargin = 4;  // grey around a fitted page

}  // namespace

// The page at the control's scale, drawn at the screen's resolution.
class PageView final : public QWidget {
 public:
  using QWidget::QWidget;
  void setImage(QImage image) {
    image_ = std::move(image);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!image_.isNull()) painter.drawImage(rect(), image_);
  }

 private:
  QImage image_;
};

QRPreview::QRPreview(QWidget* parent) : QScrollArea(parent), view_(new PageView) {
  view_->setObjectName(QStringLiteral("page"));
  setWidget(view_);
  setWidgetResizable(false);
  setAlignment(Qt::AlignCenter);
  setBackgroundRole(QPalette::Dark);
}

void QRPreview::SetQRPrinter(const QImage& page, PageSource source) {
  page_ = page;
  source_ = std::move(source);
  layoutPage();
}

QSizeF QRPreview::designSize() const {
  return page_.isNull() ? QSizeF() : QSizeF(page_.size()) / page_.devicePixelRatio();
}

void QRPreview::zoomIn() {
  zoomTo(scale_ * kZoomStep);
}
void QRPreview::zoomOut() {
  zoomTo(scale_ / kZoomStep);
}

void QRPreview::zoomTo(qreal scale) {
  fit_ = false;
  const QPointF centre(horizontalScrollBar()->value() + viewport()->width() / 2.0,
                       verticalScrollBar()->value() + viewport()->height() / 2.0);
  const qreal old = scale_;
  scale_ = std::clamp(scale, kMinScale, kMaxScale);
  layoutPage();
  // The point in the middle of the view stays there.
  const qreal f = scale_ / old;
  horizontalScrollBar()->setValue(qRound(centre.x() * f - viewport()->width() / 2.0));
  verticalScrollBar()->setValue(qRound(centre.y() * f - viewport()->height() / 2.0));
}

void QRPreview::fitToWindow() {
  fit_ = true;
  layoutPage();
}

void QRPreview::layoutPage() {
  const QSizeF design = designSize();
  if (design.isEmpty()) return;
  if (fit_) {
    const QSize room = maximumViewportSize() - QSize(2 * kFitMargin, 2 * kFitMargin);
    scale_ = std::clamp(std::min(room.width() / design.width(), room.height() / design.height()),
                        kMinScale, kMaxScale);
  }
  const QSize shown = (design * scale_).toSize();
  const qreal ratio = devicePixelRatioF();
  QImage image;
  if (source_) {
    image = source_(scale_ * ratio);
  } else {
    image = page_.scaled(shown * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  image.setDevicePixelRatio(ratio);
  view_->resize(shown);
  view_->setImage(std::move(image));
}

void QRPreview::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  if (fit_) layoutPage();
}

void QRPreview::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    QScrollArea::wheelEvent(event);
    return;
  }
  const qreal steps = event->angleDelta().y() / 120.0;
  if (steps != 0) zoomTo(scale_ * std::pow(kZoomStep, steps));
  event->accept();
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
  PageCount = new QLabel(this);
  PageCount->setObjectName(QStringLiteral("PageCount"));
  PageCount->setGeometry(180, 8, 84, 25);
  PageCount->setAlignment(Qt::AlignCenter);
  connect(Button1, &QPushButton::clicked, this, &TPrevwin::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TPrevwin::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TPrevwin::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TPrevwin::Button4Click);
  connect(Button6, &QPushButton::clicked, this, &TPrevwin::Button6Click);
  orivel::pressFocusedButtonOnEnter(this);
  // The buttons stay whole; the preview control takes what the window gives beyond that.
  setMinimumSize(499, 160);
}

void TPrevwin::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The control keeps its place and its distance from the right and bottom edges.
  QRPreview1->setGeometry(8, 40, width() - 18, height() - 47);
}

void TPrevwin::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Button3Click();
    return;
  }
  if (event->modifiers() & Qt::ControlModifier) {
    switch (event->key()) {
      case Qt::Key_Plus:
      case Qt::Key_Equal:  // "+" without Shift on many keyboards
        QRPreview1->zoomIn();
        return;
      case Qt::Key_Minus:
        QRPreview1->zoomOut();
        return;
      case Qt::Key_0:
        QRPreview1->fitToWindow();
        return;
      default:
        break;
    }
  }
  QWidget::keyPressEvent(event);
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

void TPrevwin::ShowPage(const QImage& page, orivel::QRPreview::PageSource source) {
  QRPreview1->SetQRPrinter(page, std::move(source));
  ShowCount();
  show();
}

void TPrevwin::ShowCount() {
  if (!links_.book || !links_.previewIndex) return;
  const orivel::CheckedPosition at =
      orivel::PositionAmongChecked(*links_.book, *links_.previewIndex);
  PageCount->setText(at.position > 0 ? QStringLiteral("%1 / %2").arg(at.position).arg(at.count)
                                     : QStringLiteral("- / %1").arg(at.count));
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

// Prints the postcard on show, as it is shown: a print command run since, or a change to
// the book or the settings, cannot put another card on paper.
void TPrevwin::Button6Click() {
  if (!report_.PrintShown())
    orivel::ShowError(this, orivel::messages::printFailed(report_.printFailure()));
}
