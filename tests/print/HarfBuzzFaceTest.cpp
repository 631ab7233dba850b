#include "print/HarfBuzzFace.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QRawFont>
#include <string>

namespace orivel {
namespace {

// HarfBuzz's own face of the whole font file fontconfig gives for the family.
hb_face_t* wholeFileFace(const char* family) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return nullptr;
  FcChar8* file = nullptr;
  int index = 0;
  hb_face_t* face = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    hb_blob_t* blob = hb_blob_create_from_file(reinterpret_cast<const char*>(file));
    face = hb_face_create(blob, static_cast<unsigned>(index));
    hb_blob_destroy(blob);
  }
  FcPatternDestroy(match);
  return face;
}

// The card face's glyph outlines are read one at a time, as HarfBuzz asks for them: every
// glyph must measure as in the whole file, those composed of others too (DejaVu has
// them).
TEST(HarfBuzzFaceTest, GlyphsReadOnDemandMeasureAsInTheWholeFile) {
  for (const char* family : {"IPAPMincho", "KouzanBrushFont", "DejaVu Sans"}) {
    SCOPED_TRACE(family);
    QFont qfont(QString::fromLatin1(family));
    qfont.setStyleHint(QFont::Serif, QFont::NoFontMerging);
    const QRawFont raw = QRawFont::fromFont(qfont, QFontDatabase::Japanese);
    ASSERT_TRUE(raw.isValid());
    ASSERT_EQ(raw.familyName(), QString::fromLatin1(family)) << "the face is not installed";
    hb_face_t* whole = wholeFileFace(family);
    ASSERT_NE(whole, nullptr);
    hb_font_t* expected = hb_font_create(whole);
    const auto upem = static_cast<int>(hb_face_get_upem(whole));
    hb_font_set_scale(expected, upem, upem);
    hb_face_t* face = harfBuzzFaceOf(raw);
    hb_font_t* font = harfBuzzFontOf(face);

    const unsigned count = hb_face_get_glyph_count(whole);
    ASSERT_EQ(hb_face_get_glyph_count(face), count);
    ASSERT_GT(count, 1000u);
    int differing = 0;
    // From the last glyph down, so that a composed one comes before those it is made of.
    for (hb_codepoint_t glyph = count; glyph-- > 0;) {
      hb_position_t x = 0, y = 0, ex = 0, ey = 0;
      hb_glyph_extents_t extents{}, expectedExtents{};
      hb_font_get_glyph_v_origin(font, glyph, &x, &y);
      hb_font_get_glyph_v_origin(expected, glyph, &ex, &ey);
      hb_font_get_glyph_extents(font, glyph, &extents);
      hb_font_get_glyph_extents(expected, glyph, &expectedExtents);
      if (x != ex || y != ey || extents.x_bearing != expectedExtents.x_bearing ||
          extents.y_bearing != expectedExtents.y_bearing ||
          extents.width != expectedExtents.width || extents.height != expectedExtents.height)
        ++differing;
    }
    EXPECT_EQ(differing, 0);
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_font_destroy(expected);
    hb_face_destroy(whole);
  }
}

}  // namespace
}  // namespace orivel
