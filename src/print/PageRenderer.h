#pragma once

#include <QPageLayout>
#include <QStringList>
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

  // 148 x 110 mm, portrait, with the report's margins; painted in full-page coordinates.
  static QPageLayout pageLayout();

  // Draws the card's six blocks with a painter begun on `device`, from the page's top-left
  // corner, design pixels scaled to the device's resolution.
  void render(QPainter& painter, const QPaintDevice& device, const Postcard& card,
              PageTarget target = PageTarget::Paper);

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
  static VerticalBlock blockOf(const Postcard& card, std::size_t i);
  // Where the page's last column of block i ends across the page; nullopt when it is empty.
  std::optional<double> lastColumnEnd(const Postcard& card, std::size_t i);
  NameGroupFrame addresseeFrame(const Postcard& card);
  NameGroupFrame senderFrame(const Postcard& card);

  // One typesetter for every page, so that its shaped lines are reused.
  std::unique_ptr<VerticalTypesetter> typesetter_;
};

}  // namespace orivel
