#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "print/PageTarget.h"
#include "print/Postcard.h"

class QPainter;
class QPaintDevice;

namespace orivel {

class VerticalTypesetter;
struct VerticalBlock;
struct NameGroupFrame;

// Draws a composed postcard on any paint device: an image, a PDF writer, a printer. It needs
// no widget, so a process without a display can print too.
class PageRenderer {
 public:
  PageRenderer();
  ~PageRenderer();
  PageRenderer(const PageRenderer&) = delete;
  PageRenderer& operator=(const PageRenderer&) = delete;

  // The card, 100 x 148 mm, portrait, no margins; painted in full-page coordinates.
  static QPageLayout pageLayout();

  // Draws the card's six blocks with a painter begun on `device`, whose page is the card
  // upright: the design page turned onto it, design pixels scaled to the device's resolution.
  void render(QPainter& painter, const QPaintDevice& device, const Postcard& card,
              PageTarget target = PageTarget::Paper);

  // Draws the calibration card on a painter begun on `device`, as render() draws a card: the
  // postal code frame's boxes, a cross at each block's neutral corner and millimetre scales
  // along the card's top and right edges.
  void renderCalibration(QPainter& painter, const QPaintDevice& device);

  // Box i of the postal code frame on the design page, in design pixels.
  static QRectF frameBoxOnPage(std::size_t i);
  // The card on the design page, in design pixels.
  static QRectF cardOnPage();

  // The seven digits of the addressee's postal code, each a block that centres it on its box
  // of the frame, moved with the block by offsets 5 and 6 and set small enough that its ink
  // stays inside the block; empty unless the code prints as exactly seven digits.
  std::vector<VerticalBlock> boxedDigits(const Postcard& card);

  // The columns that block i of the card's blocks() prints, first (rightmost) first, as set
  // on the card: with kanji numerals when the card asks for them, broken where they break;
  // a name block that names several people, one column for each.
  QStringList printedColumns(const Postcard& card, std::size_t i);

  // What block i of blocks() draws: the block itself or, for a name block that names
  // several people or makes room for a company, a block for each name, honorific and title.
  // Empty when the block prints nothing.
  std::vector<VerticalBlock> blocksToDraw(const Postcard& card, std::size_t i,
                                          QStringList* columns = nullptr);
  // The company and the department, each a column left of the address's last one.
  std::vector<VerticalBlock> businessColumns(const Postcard& card);

 private:
  // Sets the card's blocks in the card's face from now on.
  void useFaceOf(const Postcard& card);
  // The digit as a block of its own centred at `centre`, moved the least that keeps its ink
  // inside `area`; `nudged` is how far (kNoFit when no move does).
  VerticalBlock digitInBox(QChar digit, int size, QPointF centre, const QRectF& area,
                           double* nudged);
  // The face height of the boxed digits for a postal code block of this size.
  int boxedDigitSize(const PostcardBlock& zip);
  // Sets up the painter for design pixels on the page of `device`.
  static void beginPage(QPainter& painter, const QPaintDevice& device);
  static VerticalBlock blockOf(const Postcard& card, std::size_t i);
  // Where the page's last column of block i ends across the page; nullopt when it is empty.
  std::optional<double> lastColumnEnd(const Postcard& card, std::size_t i);
  NameGroupFrame addresseeFrame(const Postcard& card);
  NameGroupFrame senderFrame(const Postcard& card);

  // One typesetter for every page, so that its shaped lines are reused.
  std::unique_ptr<VerticalTypesetter> typesetter_;
  std::map<std::pair<QString, int>, int> digitSizes_;  // boxedDigitSize() by face and size
};

}  // namespace orivel
