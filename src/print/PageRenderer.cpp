#include "print/PageRenderer.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "common/Codec.h"
#include "print/VerticalTypesetter.h"

namespace orivel {
namespace {

constexpr double kDesignDpi = 96.0;

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

}  // namespace

VerticalBlock PageRenderer::blockOf(const Postcard& card, std::size_t i) {
  const PostcardBlock& b = *card.blocks()[i];
  VerticalBlock block;
  block.rect = QRectF(b.Left, b.Top, b.Width, b.Height);
  block.text = codec::toQString(card.printedText(i));
  block.pixelSize = b.FontPixels;
  // A name stands in one column; the sender's address, composed as one line, breaks at its
  // full-width spaces.
  if (i == Postcard::kNameBlock || i == Postcard::kSenderNameBlock) block.maxColumns = 1;
  block.breakAtSpaces = i == Postcard::kSenderAddressBlock;
  return block;
}

QStringList PageRenderer::printedColumns(const Postcard& card, std::size_t i) {
  QStringList columns;
  if (card.blocks()[i]->text.empty()) return columns;
  for (const PlacedRun& run : typesetter_->layout(blockOf(card, i))) {
    while (columns.size() <= run.column) columns.append(QString());
    columns[run.column] += run.text;
  }
  return columns;
}

PageRenderer::PageRenderer() : typesetter_(std::make_unique<VerticalTypesetter>()) {}

PageRenderer::~PageRenderer() = default;

QPageLayout PageRenderer::pageLayout() {
  const PageSetup& p = kPostcardPage;
  const QPageSize size(QSizeF(p.widthMm, p.lengthMm), QPageSize::Millimeter,
                       QStringLiteral("Postcard 148x110mm"), QPageSize::ExactMatch);
  QPageLayout layout(size, QPageLayout::Portrait,
                     QMarginsF(p.leftMarginMm, p.topMarginMm, p.rightMarginMm, p.bottomMarginMm),
                     QPageLayout::Millimeter);
  // The blocks are placed from the paper's corner; the margins do not move them.
  layout.setMode(QPageLayout::FullPageMode);
  return layout;
}

void PageRenderer::render(QPainter& painter, const QPaintDevice& device, const Postcard& card) {
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
  for (std::size_t i = 0; i < card.blocks().size(); ++i)
    if (!card.blocks()[i]->text.empty()) typesetter_->draw(painter, blockOf(card, i));
  painter.restore();
}

bool PrintPageOn(const QPrinterInfo& info, const QPageLayout& layout, const PaintPage& paint) {
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

}  // namespace orivel
