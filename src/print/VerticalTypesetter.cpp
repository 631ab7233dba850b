#include "print/VerticalTypesetter.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>

#include "common/Fonts.h"

namespace orivel {

// A plain first version: upright glyphs stacked one under another, without shaping.
struct VerticalTypesetter::Impl {};

VerticalTypesetter::VerticalTypesetter() : impl_(std::make_unique<Impl>()) {}
VerticalTypesetter::~VerticalTypesetter() = default;

QString VerticalTypesetter::faceFamily() const {
  return QFontInfo(fonts::proportionalMincho(12)).family();
}

void VerticalTypesetter::draw(QPainter& painter, const VerticalBlock& block) {
  const QFont font = fonts::proportionalMincho(block.pixelSize);
  const QFontMetricsF metrics(font, painter.device());
  painter.save();
  painter.setFont(font);
  // Card space: x to the card's right is the page's -y, y down the card is the page's x.
  const double advance = block.pixelSize;
  double column = 0;  // columns from the block's top edge on the page
  for (const QString& line : block.text.split(QStringLiteral("\r\n"))) {
    double along = 0;
    for (const QChar c : line) {
      if (along + advance > block.rect.width() && along > 0) {
        along = 0;
        column += 1;
      }
      painter.save();
      painter.translate(block.rect.left() + along, block.rect.top() + column * advance);
      painter.rotate(90);
      painter.drawText(QPointF(0, -metrics.descent()), QString(c));
      painter.restore();
      along += advance;
    }
    column += 1;
  }
  painter.restore();
}

}  // namespace orivel
