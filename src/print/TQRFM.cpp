#include "print/TQRFM.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "common/Codec.h"
#include "print/TPrevwin.h"
#include "print/VerticalTypesetter.h"

TQRFM* QRFM = nullptr;

namespace {
constexpr double kDesignDpi = 96.0;
constexpr double kMmPerInch = 25.4;
}  // namespace

namespace orivel {
namespace {

// Qt hands the finished document to CUPS and ignores the answer, so a queue that refuses
// jobs would look like a success. Ask the CUPS library Qt has loaded for the status of its
// last request on this thread, which is the job just submitted. Without CUPS there is
// nothing to ask.
bool cupsRefusedLastRequest() {
#ifdef _WIN32
  return false;  // the Windows spooler reports failures through QPrinter itself
#else
  void* cups = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
  if (!cups) return false;
  using LastError = int (*)();
  const auto lastError = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
  const bool refused = lastError && lastError() >= 0x0400;  // IPP client and server errors
  dlclose(cups);
  return refused;
#endif
}

// One job on the default printer, no dialog.
class DefaultPagePrinter final : public PagePrinter {
 public:
  bool printPage(const QPageLayout& layout, const PaintPage& paint) override {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return false;
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid()) return false;
    printer.setDocName(QStringLiteral("Orivel"));
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setFullPage(true);
    if (!printer.setPageLayout(layout)) return false;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    paint(painter, printer);
    if (!painter.end()) return false;
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
      return false;
    return !cupsRefusedLastRequest();
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
    : QWidget(parent), typesetter_(std::make_unique<orivel::VerticalTypesetter>()) {
  setObjectName(QStringLiteral("QRFM"));
  setWindowTitle(QStringLiteral("QRFM"));
}

TQRFM::~TQRFM() = default;

QPageLayout TQRFM::pageLayout() {
  const orivel::PageSetup& p = orivel::kPostcardPage;
  const QPageSize size(QSizeF(p.widthMm, p.lengthMm), QPageSize::Millimeter,
                       QStringLiteral("Postcard 148x110mm"), QPageSize::ExactMatch);
  QPageLayout layout(size, QPageLayout::Portrait,
                     QMarginsF(p.leftMarginMm, p.topMarginMm, p.rightMarginMm, p.bottomMarginMm),
                     QPageLayout::Millimeter);
  // The blocks are placed from the paper's corner; the margins do not move them.
  layout.setMode(QPageLayout::FullPageMode);
  return layout;
}

void TQRFM::renderPage(QPainter& painter, const QPaintDevice& device) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  // A paged device may put its origin at the margins; move it back to the paper's corner.
  if (auto* paged = dynamic_cast<const QPagedPaintDevice*>(&device)) {
    const QRect paint = paged->pageLayout().paintRectPixels(device.logicalDpiX());
    painter.translate(-paint.topLeft());
  }
  painter.scale(device.logicalDpiX() / kDesignDpi, device.logicalDpiY() / kDesignDpi);
  painter.setPen(Qt::black);
  for (const orivel::PostcardBlock* b : Card.blocks()) {
    if (b->text.empty()) continue;
    orivel::VerticalBlock block;
    block.rect = QRectF(b->Left, b->Top, b->Width, b->Height);
    block.text = orivel::codec::toQString(b->text);
    block.pixelSize = b->FontPixels;
    typesetter_->draw(painter, block);
  }
  painter.restore();
}

QImage TQRFM::pageImage(qreal devicePixelRatio) {
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
  renderPage(painter, image);
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
  Prevwin->QRPreview1->SetQRPrinter(page);
  Prevwin->show();
}
