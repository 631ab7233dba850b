#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <span>
#include <vector>

#include "print/PageTarget.h"

class QPainter;

namespace orivel {

// One text block of the postcard page, in design pixels (1/96 inch) on the page as the
// printer sees it. The card is read with the page turned a quarter turn clockwise: the
// page's top edge is the card's right edge, the page's left edge the card's top edge.
struct VerticalBlock {
  QRectF rect;                 // the block on the page: left, top, width (column length), height
  QString text;                // lines separated by "\r\n"
  int pixelSize = 0;           // the face's height in design pixels
  int maxColumns = 0;          // how many columns the text may take; 0: as many as the block holds
  bool breakAtSpaces = false;  // a wrapped line breaks at its last full-width space that fits
};

// A run of glyphs of one column that share one orientation, placed on the page.
struct PlacedRun {
  int column = 0;       // 0 is the block's first column: its top on the page, rightmost on the card
  bool upright = true;  // upright on the card (drawn a quarter turn counter-clockwise on the
                        // page); false: lying sideways on the card, level on the page
  bool fallback = false;  // set in the default face, for the chosen face draws nothing for it
  double pixelSize = 0;   // the face's height in design pixels, as set (shrunk to fit)
  double bandTop = 0;     // the column's em box across the page: its top and bottom (page y)
  double bandBottom = 0;
  QString text;              // the characters the run sets, in reading order
  QList<quint32> glyphs;     // glyph indices of the card face (the default face's with fallback)
  QList<QPointF> positions;  // each glyph's origin (the start of its baseline) on the page
  QList<double> starts;      // where each glyph's advance begins down the column (page x)
  QList<double> advances;    // each glyph's advance down the column, in design pixels
};

// Sets text in vertical Japanese writing. Each line of a block is a column read top to
// bottom on the card (left to right on the page); the first line is the rightmost column
// on the card (the top of the block on the page), each later line stands to its left.
//
// A line longer than the block continues in the next column, broken where the Unicode line
// breaking rules allow it under strict Japanese rules (ICU, "ja@lb=strict"): no column
// starts with ー, a small kana, a closing bracket or punctuation, none ends with an opening
// bracket. A number with the hyphens or ー inside it stays in one column when it fits in
// one; with breakAtSpaces the break falls after the last full-width space that fits. Where
// nothing allows a break, the line breaks at the block's edge. A space that meets the edge
// ends the column and is not set at the start of the next.
//
// Every glyph stays inside the block and none is left out: a text that needs more columns
// than the block holds is set smaller, a pixel at a time, down to 60 % of the block's face
// height; if it still needs more, its columns are also set closer together.
//
// Characters stand upright or lie sideways by their Unicode vertical orientation; upright
// ones take the face's vertical alternates. A character that turns in vertical writing (ー,
// ～, brackets) stands upright in its vertical form where the face has one, and is turned
// here, lying sideways, where it has none. A character that a chosen face has no glyph
// for, or one that draws nothing, is set in the default face. One typesetter keeps its
// faces and bounded caches of shaped lines and laid-out blocks, so it is meant to live as
// long as the pages it sets.
class VerticalTypesetter {
 public:
  VerticalTypesetter();
  ~VerticalTypesetter();
  VerticalTypesetter(const VerticalTypesetter&) = delete;
  VerticalTypesetter& operator=(const VerticalTypesetter&) = delete;

  // Draws the block with the painter, whose coordinates are design pixels on the page.
  void draw(QPainter& painter, const VerticalBlock& block, PageTarget target = PageTarget::Paper);
  // Draws the blocks of one page together, in as few glyph runs as their faces allow.
  void draw(QPainter& painter, std::span<const VerticalBlock> blocks,
            PageTarget target = PageTarget::Paper);

  // Where every glyph of the block lands on the page, in drawing order.
  std::vector<PlacedRun> layout(const VerticalBlock& block);

  // The ink of glyph i of `run` on the page, in design pixels.
  QRectF inkRect(const PlacedRun& run, qsizetype i);

  // The distance between two columns at the given face height, in design pixels.
  double columnPitch(double pixelSize) const;

  // How far one line of text reaches down its column at the given face height, in design
  // pixels, set as draw() sets it.
  double lineLength(const QString& line, double pixelSize);

  // The smallest face height a block is shrunk to, as a share of its own.
  static constexpr double kSmallestScale = 0.6;

  // The family of the card face in use (IPAPMincho, or the first fallback found).
  QString faceFamily() const;

  // Sets text in the installed face of that family name from now on; empty for the default
  // face, which also stands in for a family that is not installed.
  void useFace(const QString& family);

  // How many distinct lines are held shaped; bounded by kShapedLineCapacity.
  int shapedLineCount() const;
  static constexpr int kShapedLineCapacity = 512;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orivel
