#pragma once

#include <QPageLayout>
#include <memory>

#include "print/Postcard.h"

class QPainter;
class QPaintDevice;

namespace orivel {

class VerticalTypesetter;

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
  void render(QPainter& painter, const QPaintDevice& device, const Postcard& card);

 private:
  // One typesetter for every page, so that its shaped lines are reused.
  std::unique_ptr<VerticalTypesetter> typesetter_;
};

}  // namespace orivel
