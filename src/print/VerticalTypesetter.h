#pragma once

#include <QRectF>
#include <QString>
#include <memory>

class QPainter;

namespace orivel {

// One text block of the postcard page, in design pixels (1/96 inch) on the page as the
// printer sees it. The card is read with the page turned a quarter turn clockwise: the
// page's top edge is the card's right edge, the page's left edge the card's top edge.
struct VerticalBlock {
  QRectF rect;      // the block on the page: left, top, width (column length), height
  QString text;     // lines separated by "\r\n"
  int pixelSize = 0;  // the face's height in design pixels
};

// Sets text in vertical Japanese writing. Each line of a block is a column read top to
// bottom on the card (left to right on the page); the first line is the rightmost column
// on the card (the top of the block on the page), each later line stands to its left. A
// line longer than the block continues in the next column. Text that overflows the
// block's thickness is drawn, not cut.
class VerticalTypesetter {
 public:
  VerticalTypesetter();
  ~VerticalTypesetter();
  VerticalTypesetter(const VerticalTypesetter&) = delete;
  VerticalTypesetter& operator=(const VerticalTypesetter&) = delete;

  // Draws the block with the painter, whose coordinates are design pixels on the page.
  void draw(QPainter& painter, const VerticalBlock& block);

  // The family of the card face in use (IPAPMincho, or the first fallback found).
  QString faceFamily() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orivel
