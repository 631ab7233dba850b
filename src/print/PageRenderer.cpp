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
  for (const PostcardBlock* b : card.blocks()) {
    if (b->text.empty()) continue;
    VerticalBlock block;
    block.rect = QRectF(b->Left, b->Top, b->Width, b->Height);
    block.text = codec::toQString(b->text);
    block.pixelSize = b->FontPixels;
    typesetter_->draw(painter, block);
  }
  painter.restore();
}

}  // namespace orivel
