#include "print/PageRenderer.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include "common/Codec.h"
#include "print/VerticalTypesetter.h"

namespace orivel {
namespace {

constexpr double kDesignDpi = kDesignPixelsPerInch;

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

void PageRenderer::render(QPainter& painter, const QPaintDevice& device, const Postcard& card,
                          PageTarget target) {
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
    if (!card.blocks()[i]->text.empty()) typesetter_->draw(painter, blockOf(card, i), target);
  painter.restore();
}

}  // namespace orivel
