#pragma once

#include <hb.h>

class QRawFont;

namespace orivel {

// The HarfBuzz face of the font file Qt draws `raw` from, so that glyph indices agree with
// Qt's. Never null: without the file, the tables come from Qt (as copies).
hb_face_t* harfBuzzFaceOf(const QRawFont& raw);

// A font of the face at a scale of one font unit, ready to shape. Where the face reads the
// outlines of a glyph table on demand, the font reads each glyph in before HarfBuzz looks
// at it.
hb_font_t* harfBuzzFontOf(hb_face_t* face);

}  // namespace orivel
