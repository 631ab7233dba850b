#include "print/TQRFM.h"

#include <QGuiApplication>
#include <QPainter>
#include <utility>

#include "print/PageRenderer.h"
#include "print/PostalCodeFrame.h"

namespace {
constexpr double kDesignDpi = orivel::kDesignPixelsPerInch;
using orivel::kMmPerInch;
}  // namespace

TQRFM::TQRFM(orivel::PrintService& printing, QWidget* parent)
    : QWidget(parent), printing_(printing) {
  setObjectName(QStringLiteral("QRFM"));
  setWindowTitle(QStringLiteral("QRFM"));
}

TQRFM::~TQRFM() = default;

void TQRFM::setPreview(QWidget* window, PreviewHook hook) {
  previewWindow_ = window;
  previewHook_ = std::move(hook);
}

QImage TQRFM::cardImage(const orivel::Postcard& card, qreal devicePixelRatio) {
  namespace frame = orivel::postal_frame;
  const QSize design(qRound(frame::kCardWidthMm / kMmPerInch * kDesignDpi),
                     qRound(frame::kCardHeightMm / kMmPerInch * kDesignDpi));
  QImage image(design * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
  const int dotsPerMeter = qRound(kDesignDpi * devicePixelRatio / kMmPerInch * 1000.0);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(Qt::white);
  QPainter painter(&image);
  printing_.renderer().render(painter, image, card, orivel::PageTarget::Screen);
  painter.end();
  image.setDevicePixelRatio(devicePixelRatio);
  return image;
}

void TQRFM::Preview() {
  const qreal ratio =
      previewWindow_ ? previewWindow_->devicePixelRatioF() : qGuiApp->devicePixelRatio();
  QuickRep1Preview(cardImage(Card, ratio));
}

bool TQRFM::Print() {
  return printer_ && printing_.printCard(Card, *printer_);
}

bool TQRFM::PrintShown() {
  if (!shown_) return false;
  Card = *shown_;  // the report holds the card it prints, as after any print
  return Print();
}

QString TQRFM::printFailure() const {
  return printer_ ? printer_->failureReason() : QString();
}

void TQRFM::QuickRep1Preview(const QImage& page) {
  shown_ = Card;
  // Zooming draws this very card again, whatever is composed in the meantime.
  if (previewHook_)
    previewHook_(page, [this, card = Card](qreal ratio) { return cardImage(card, ratio); });
}
