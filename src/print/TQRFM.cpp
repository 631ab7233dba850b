#include "print/TQRFM.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPrinterInfo>

#include "print/PageRenderer.h"
#include "print/TPrevwin.h"

TQRFM* QRFM = nullptr;

namespace {
constexpr double kDesignDpi = 96.0;
constexpr double kMmPerInch = 25.4;
}  // namespace

namespace orivel {
namespace {

// One job on the default printer, no dialog.
class DefaultPagePrinter final : public PagePrinter {
 public:
  bool printPage(const QPageLayout& layout, const PaintPage& paint) override {
    return PrintPageOn(QPrinterInfo::defaultPrinter(), layout, paint);
  }
};

DefaultPagePrinter defaultPrinter;
PagePrinter* currentPrinter = nullptr;

}  // namespace

PagePrinter& pagePrinter() {
  return currentPrinter ? *currentPrinter : defaultPrinter;
}
void setPagePrinter(PagePrinter* printer) {
  currentPrinter = printer;
}

}  // namespace orivel

TQRFM::TQRFM(QWidget* parent)
    : QWidget(parent), renderer_(std::make_unique<orivel::PageRenderer>()) {
  setObjectName(QStringLiteral("QRFM"));
  setWindowTitle(QStringLiteral("QRFM"));
}

TQRFM::~TQRFM() = default;

QPageLayout TQRFM::pageLayout() {
  return orivel::PageRenderer::pageLayout();
}

void TQRFM::renderPage(QPainter& painter, const QPaintDevice& device) {
  renderer_->render(painter, device, Card);
}

QImage TQRFM::pageImage(qreal devicePixelRatio) {
  return pageImage(Card, devicePixelRatio);
}

QImage TQRFM::pageImage(const orivel::Postcard& card, qreal devicePixelRatio) {
  const orivel::PageSetup& p = orivel::kPostcardPage;
  const QSize design(qRound(p.widthMm / kMmPerInch * kDesignDpi),
                     qRound(p.lengthMm / kMmPerInch * kDesignDpi));
  QImage image(design * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
  // Dots per metre at 96 dpi times the ratio, so that one design pixel is `ratio` pixels.
  const int dotsPerMeter = qRound(kDesignDpi * devicePixelRatio / kMmPerInch * 1000.0);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(Qt::white);
  QPainter painter(&image);
  renderer_->render(painter, image, card);
  painter.end();
  image.setDevicePixelRatio(devicePixelRatio);
  return image;
}

void TQRFM::Preview() {
  const qreal ratio = Prevwin ? Prevwin->devicePixelRatioF() : qGuiApp->devicePixelRatio();
  QuickRep1Preview(pageImage(ratio));
}

bool TQRFM::Print() {
  return orivel::pagePrinter().printPage(
      pageLayout(),
      [this](QPainter& painter, const QPaintDevice& device) { renderPage(painter, device); });
}

void TQRFM::QuickRep1Preview(const QImage& page) {
  if (!Prevwin) return;
  // Zooming draws this very card again, whatever is composed in the meantime.
  Prevwin->QRPreview1->SetQRPrinter(
      page, [this, card = Card](qreal ratio) { return pageImage(card, ratio); });
  Prevwin->show();
}
