#pragma once

#include <QStringList>
#include <vector>

#include "print/Postcard.h"
#include "print/VerticalTypesetter.h"

namespace orivel {

// Where a name block's group of columns may stand: the block itself, and the band across
// the page (page y, design pixels) that the group must keep within so that it stays clear
// of the address, the company and the sender's blocks and inside the card.
struct NameGroupFrame {
  QRectF block;       // the name block as composed
  int pixelSize = 0;  // its face height
  double low = 0;     // the band's top on the page: the card's right side
  double high = 0;    // the band's bottom: the card's left side
  bool honorifics = false;
};

// Sets a name block that names more than one person, or a title: the main name and each
// joint in a column of its own, to the left of the one before on the card. A given-name
// joint starts level with the main name's given name, a full-name joint level with the main
// name; every honorific starts one full-width space after the end of the longest name; a
// title stands before the main name at half its size. The group is centred where the one
// column stands, kept within the frame's band, and set smaller (down to 60 %) and then
// closer when it does not fit. Gives one block to draw for each name, honorific and title,
// and, when asked, each column's text as it reads.
std::vector<VerticalBlock> LayoutNameGroup(VerticalTypesetter& typesetter, const NameGroup& group,
                                           const NameGroupFrame& frame,
                                           QStringList* columns = nullptr);

}  // namespace orivel
