#include "print/VerticalTypesetter.h"

#include <fontconfig/fontconfig.h>
#include <hb-ot.h>
#include <hb.h>
#include <unicode/uchar.h>

#include <QFontDatabase>
#include <QGlyphRun>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <list>

#include "common/Fonts.h"

namespace orivel {
namespace {

// One shaped glyph of a line, in font units. "Along" runs down the column, "across" to the
// card's right for upright glyphs and up the page for sideways ones (HarfBuzz's y axis).
struct ShapedGlyph {
  quint32 glyph = 0;
  quint32 nominal = 0;   // the character's own glyph when it is alone in its cluster, else 0
  int clusterStart = 0;  // the UTF-16 range of the line that the glyph's cluster sets
  int clusterEnd = 0;
  float advance = 0;
  float offsetAlong = 0;
  float offsetAcross = 0;
  bool upright = true;
};

using ShapedLine = std::vector<ShapedGlyph>;

// A bounded map from line text to its shaping, dropping the line used longest ago.
class ShapedLineCache {
 public:
  const ShapedLine* find(const QString& text) {
    const auto it = index_.constFind(text);
    if (it == index_.constEnd()) return nullptr;
    entries_.splice(entries_.begin(), entries_, it.value());
    return &it.value()->second;
  }

  const ShapedLine& insert(const QString& text, ShapedLine line) {
    if (index_.size() >= VerticalTypesetter::kShapedLineCapacity) {
      index_.remove(entries_.back().first);
      entries_.pop_back();
    }
    entries_.emplace_front(text, std::move(line));
    index_.insert(text, entries_.begin());
    return entries_.front().second;
  }

  int size() const { return static_cast<int>(index_.size()); }

 private:
  using Entries = std::list<std::pair<QString, ShapedLine>>;
  Entries entries_;
  QHash<QString, Entries::iterator> index_;
};

hb_blob_t* referenceTable(hb_face_t*, hb_tag_t tag, void* userData) {
  const auto* raw = static_cast<const QRawFont*>(userData);
  const char name[5] = {static_cast<char>(tag >> 24), static_cast<char>(tag >> 16),
                        static_cast<char>(tag >> 8), static_cast<char>(tag), 0};
  auto* table = new QByteArray(raw->fontTable(name));
  if (table->isEmpty()) {
    delete table;
    return hb_blob_get_empty();
  }
  return hb_blob_create(table->constData(), static_cast<unsigned>(table->size()),
                        HB_MEMORY_MODE_READONLY, table,
                        [](void* p) { delete static_cast<QByteArray*>(p); });
}

// The face of the font file that Qt draws `raw` from, mapped rather than read, or null. Qt
// hands out a table only as a copy, and HarfBuzz needs the glyph table for vertical origins:
// copied, the IPA faces' 7.5 MB cost every process a good part of its start. The file is
// taken only when its header table equals the one Qt reads, so glyph indices agree.
hb_face_t* mappedFaceOf(const QRawFont& raw) {
  const QByteArray head = raw.fontTable("head");
  if (head.isEmpty()) return nullptr;
  FcPattern* pattern = FcPatternCreate();
  const QByteArray family = raw.familyName().toUtf8();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  hb_face_t* found = nullptr;
  for (int i = 0; fonts && i < fonts->nfont && !found; ++i) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
    FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &index);
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(reinterpret_cast<const char*>(file));
    if (!blob) continue;
    hb_face_t* face = hb_face_create(blob, static_cast<unsigned>(index & 0xFFFF));
    hb_blob_destroy(blob);
    hb_blob_t* fileHead = hb_face_reference_table(face, HB_TAG('h', 'e', 'a', 'd'));
    unsigned length = 0;
    const char* data = hb_blob_get_data(fileHead, &length);
    if (QByteArrayView(data, length) == QByteArrayView(head))
      found = face;
    else
      hb_face_destroy(face);
    hb_blob_destroy(fileHead);
  }
  if (fonts) FcFontSetDestroy(fonts);
  return found;
}

bool isLineBreak(QChar c) {
  return c == u'\r' || c == u'\n';
}

// CR LF, a lone CR and a lone LF each end a line, as the report's text blocks read them.
QList<QStringView> splitLines(const QString& text) {
  QList<QStringView> lines;
  const QStringView all(text);
  qsizetype start = 0;
  for (qsizetype i = 0; i < all.size(); ++i) {
    if (!isLineBreak(all[i])) continue;
    lines.append(all.mid(start, i - start));
    if (all[i] == u'\r' && i + 1 < all.size() && all[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < all.size()) lines.append(all.mid(start));
  return lines;
}

// A character that leans on the one before it and so takes its orientation.
bool joinsPrevious(char32_t c) {
  if (c == 0x200D) return true;  // zero width joiner
  return (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_M_MASK) != 0;
}

}  // namespace

struct VerticalTypesetter::Impl {
  bool loaded = false;
  QRawFont face;  // the card face as resolved once; also feeds HarfBuzz its tables
  hb_face_t* hbFace = nullptr;
  hb_font_t* hbFont = nullptr;
  hb_buffer_t* buffer = nullptr;
  double unitsPerEm = 1000;
  double ascent = 880;  // font units
  double descent = 120;
  QHash<int, QRawFont> sizedFaces;
  QHash<char32_t, bool> verticalAlternates;
  ShapedLineCache shaped;

  ~Impl() {
    if (buffer) hb_buffer_destroy(buffer);
    if (hbFont) hb_font_destroy(hbFont);
    if (hbFace) hb_face_destroy(hbFace);
  }

  void load() {
    if (loaded) return;
    loaded = true;
    QFont font = fonts::proportionalMincho(kBaseSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    face = QRawFont::fromFont(font, QFontDatabase::Japanese);
    if (!face.isValid()) return;
    hbFace = mappedFaceOf(face);
    if (!hbFace)
      hbFace = hb_face_create_for_tables(referenceTable, new QRawFont(face),
                                         [](void* p) { delete static_cast<QRawFont*>(p); });
    hbFont = hb_font_create(hbFace);
    const unsigned upem = hb_face_get_upem(hbFace);
    unitsPerEm = upem;
    hb_font_set_scale(hbFont, static_cast<int>(upem), static_cast<int>(upem));
    hb_font_extents_t extents{};
    if (hb_font_get_h_extents(hbFont, &extents) && extents.ascender - extents.descender > 0) {
      ascent = extents.ascender;
      descent = -extents.descender;
    } else {
      ascent = face.ascent() * upem / kBaseSize;
      descent = face.descent() * upem / kBaseSize;
    }
    buffer = hb_buffer_create();
  }

  bool usable() {
    load();
    return hbFont != nullptr;
  }

  double scale(int pixelSize) const { return pixelSize / unitsPerEm; }
  double pitch(int pixelSize) const { return (ascent + descent) * scale(pixelSize); }

  const QRawFont& faceAt(int pixelSize) {
    auto it = sizedFaces.find(pixelSize);
    if (it == sizedFaces.end()) {
      if (sizedFaces.size() >= 32) sizedFaces.clear();
      QRawFont sized = face;
      sized.setPixelSize(pixelSize);
      it = sizedFaces.insert(pixelSize, sized);
    }
    return it.value();
  }

  // Shapes part of a line in one direction; the whole line is the context.
  void shapeRun(QStringView line, qsizetype start, qsizetype length, bool upright,
                ShapedLine& out) {
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(line.utf16()),
                        static_cast<int>(line.size()), static_cast<unsigned>(start),
                        static_cast<int>(length));
    hb_buffer_set_language(buffer, hb_language_from_string("ja", -1));
    if (upright) {
      hb_buffer_set_direction(buffer, HB_DIRECTION_TTB);
      hb_buffer_set_script(buffer, HB_SCRIPT_HAN);
    } else {
      hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
      hb_buffer_guess_segment_properties(buffer);
    }
    hb_shape(hbFont, buffer, nullptr, 0);

    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
    const auto first = out.size();
    for (unsigned i = 0; i < count; ++i) {
      ShapedGlyph g;
      g.glyph = infos[i].codepoint;
      g.clusterStart = static_cast<int>(infos[i].cluster);
      g.upright = upright;
      if (upright) {
        g.advance = static_cast<float>(-pos[i].y_advance);
        g.offsetAlong = static_cast<float>(-pos[i].y_offset);
        g.offsetAcross = static_cast<float>(pos[i].x_offset);
      } else {
        g.advance = static_cast<float>(pos[i].x_advance);
        g.offsetAlong = static_cast<float>(pos[i].x_offset);
        g.offsetAcross = static_cast<float>(pos[i].y_offset);
      }
      out.push_back(g);
    }
    // Each glyph learns where its cluster ends, so that a column break keeps clusters whole.
    int end = static_cast<int>(start + length);
    for (auto i = out.size(); i > first; --i) {
      ShapedGlyph& g = out[i - 1];
      g.clusterEnd = end;
      if (i - 1 > first && out[i - 2].clusterStart != g.clusterStart) end = g.clusterStart;
    }
    for (auto i = first; i < out.size(); ++i) {
      ShapedGlyph& g = out[i];
      const bool alone = (i == first || out[i - 1].clusterStart != g.clusterStart) &&
                         (i + 1 == out.size() || out[i + 1].clusterStart != g.clusterStart);
      const QStringView chars = line.mid(g.clusterStart, g.clusterEnd - g.clusterStart);
      const auto points = chars.toUcs4();
      hb_codepoint_t nominal = 0;
      if (alone && points.size() == 1 && hb_font_get_nominal_glyph(hbFont, points[0], &nominal))
        g.nominal = nominal;
    }
  }

  // A "transformed rotated" character stands upright when the face has a vertical form
  // for it (as "ー" and the brackets have) and lies sideways otherwise.
  bool hasVerticalAlternate(char32_t c) {
    const auto it = verticalAlternates.constFind(c);
    if (it != verticalAlternates.constEnd()) return it.value();
    const QString text = QString::fromUcs4(&c, 1);
    ShapedLine vertical, horizontal;
    shapeRun(text, 0, text.size(), true, vertical);
    shapeRun(text, 0, text.size(), false, horizontal);
    const bool differs = !vertical.empty() && !horizontal.empty() &&
                         vertical.front().glyph != horizontal.front().glyph;
    verticalAlternates.insert(c, differs);
    return differs;
  }

  bool standsUpright(char32_t c) {
    switch (u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_VERTICAL_ORIENTATION)) {
      case U_VO_UPRIGHT:
      case U_VO_TRANSFORMED_UPRIGHT:
        return true;
      case U_VO_TRANSFORMED_ROTATED:
        return hasVerticalAlternate(c);
      default:
        return false;
    }
  }

  const ShapedLine& shapeLine(QStringView line) {
    const QString key = line.toString();
    if (const ShapedLine* hit = shaped.find(key)) return *hit;

    ShapedLine out;
    out.reserve(static_cast<std::size_t>(line.size()));
    qsizetype runStart = 0;
    bool runUpright = true;
    for (qsizetype i = 0; i < line.size();) {
      char32_t c = line[i].unicode();
      qsizetype width = 1;
      if (line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate()) {
        c = QChar::surrogateToUcs4(line[i], line[i + 1]);
        width = 2;
      }
      const bool upright = (i > 0 && joinsPrevious(c)) ? runUpright : standsUpright(c);
      if (i == 0) {
        runUpright = upright;
      } else if (upright != runUpright) {
        shapeRun(line, runStart, i - runStart, runUpright, out);
        runStart = i;
        runUpright = upright;
      }
      i += width;
    }
    if (line.size() > runStart) shapeRun(line, runStart, line.size() - runStart, runUpright, out);
    return shaped.insert(key, std::move(out));
  }

  // Lays out the block; with nominals, also gives for every placed glyph the glyph of its
  // character when that differs (a vertical form), else 0.
  std::vector<PlacedRun> layout(const VerticalBlock& block, std::vector<QList<quint32>>* nominals) {
    std::vector<PlacedRun> runs;
    if (block.text.isEmpty() || block.pixelSize <= 0 || !usable()) return runs;

    const double scale = this->scale(block.pixelSize);
    const double pitch = this->pitch(block.pixelSize);
    const double length = block.rect.width();
    const double left = block.rect.left();
    const double top = block.rect.top();
    // A glyph that fits to within this much still fits: the advances are sums of floats.
    constexpr double kSlack = 1e-6;

    int column = 0;
    for (const QStringView line : splitLines(block.text)) {
      const ShapedLine& glyphs = shapeLine(line);
      double along = 0;  // design pixels down the current column
      PlacedRun* run = nullptr;
      for (std::size_t i = 0; i < glyphs.size();) {
        // The cluster starting here goes whole into this column or whole into the next.
        std::size_t end = i + 1;
        double clusterAdvance = glyphs[i].advance;
        while (end < glyphs.size() && glyphs[end].clusterStart == glyphs[i].clusterStart) {
          clusterAdvance += glyphs[end].advance;
          ++end;
        }
        clusterAdvance *= scale;
        if (along > 0 && along + clusterAdvance > length + kSlack) {
          ++column;
          along = 0;
          run = nullptr;
        }
        for (; i < end; ++i) {
          const ShapedGlyph& g = glyphs[i];
          if (!run || run->upright != g.upright) {
            runs.emplace_back();
            run = &runs.back();
            run->column = column;
            run->upright = g.upright;
            run->pixelSize = block.pixelSize;
            if (nominals) nominals->emplace_back();
          }
          const double bandTop = top + column * pitch;
          QPointF origin;
          if (g.upright) {
            // HarfBuzz puts the pen on the column's centre line at the top of the glyph.
            origin = QPointF(left + along + g.offsetAlong * scale,
                             bandTop + pitch / 2 - g.offsetAcross * scale);
          } else {
            // Sideways text is level on the page, its em box filling the column's band.
            origin = QPointF(left + along + g.offsetAlong * scale,
                             bandTop + (pitch - (ascent + descent) * scale) / 2 + ascent * scale -
                                 g.offsetAcross * scale);
          }
          if (run->glyphs.isEmpty() || g.clusterStart != glyphs[i - 1].clusterStart)
            run->text += line.mid(g.clusterStart, g.clusterEnd - g.clusterStart);
          run->glyphs.append(g.glyph);
          run->positions.append(origin);
          run->starts.append(left + along);
          run->advances.append(g.advance * scale);
          if (nominals) nominals->back().append(g.nominal != g.glyph ? g.nominal : 0);
          along += g.advance * scale;
        }
      }
      ++column;
    }
    return runs;
  }

  static constexpr int kBaseSize = 48;
};

VerticalTypesetter::VerticalTypesetter() : impl_(std::make_unique<Impl>()) {}
VerticalTypesetter::~VerticalTypesetter() = default;

QString VerticalTypesetter::faceFamily() const {
  impl_->load();
  return impl_->face.familyName();
}

double VerticalTypesetter::columnPitch(int pixelSize) const {
  impl_->load();
  return impl_->pitch(pixelSize);
}

int VerticalTypesetter::shapedLineCount() const {
  return impl_->shaped.size();
}

std::vector<PlacedRun> VerticalTypesetter::layout(const VerticalBlock& block) {
  return impl_->layout(block, nullptr);
}

void VerticalTypesetter::draw(QPainter& painter, const VerticalBlock& block) {
  // A PDF maps glyphs back to characters through the face's character map only, so the
  // vertical forms would read as nothing. In a PDF file each of them gets the plain glyph
  // of its character beneath it in invisible ink, which keeps the text searchable. Not on
  // a printer: transparency may make a print pipeline rasterise the page.
  const QPaintEngine* engine = painter.paintEngine();
  const bool textLayer = engine && engine->type() == QPaintEngine::Pdf && painter.device() &&
                         painter.device()->devType() != QInternal::Printer;
  std::vector<QList<quint32>> nominals;
  const std::vector<PlacedRun> runs = impl_->layout(block, textLayer ? &nominals : nullptr);
  if (runs.empty()) return;
  const QRawFont& face = impl_->faceAt(block.pixelSize);
  painter.save();
  QGlyphRun glyphRun;
  glyphRun.setRawFont(face);
  QList<QPointF> turned;
  QList<quint32> hiddenGlyphs;
  QList<QPointF> hiddenPositions;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const PlacedRun& run = runs[r];
    if (!run.upright) {
      glyphRun.setGlyphIndexes(run.glyphs);
      glyphRun.setPositions(run.positions);
      painter.drawGlyphRun(QPointF(0, 0), glyphRun);
      continue;
    }
    // Upright glyphs are drawn a quarter turn counter-clockwise: in the turned frame a
    // page point (x, y) is (-y, x).
    turned.resize(run.positions.size());
    for (qsizetype i = 0; i < run.positions.size(); ++i)
      turned[i] = QPointF(-run.positions[i].y(), run.positions[i].x());
    painter.save();
    painter.rotate(-90);
    if (textLayer) {
      hiddenGlyphs.clear();
      hiddenPositions.clear();
      for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
        if (const quint32 nominal = nominals[r][i]) {
          hiddenGlyphs.append(nominal);
          hiddenPositions.append(turned[i]);
        }
      }
      if (!hiddenGlyphs.isEmpty()) {
        const QPen pen = painter.pen();
        painter.setPen(Qt::transparent);
        glyphRun.setGlyphIndexes(hiddenGlyphs);
        glyphRun.setPositions(hiddenPositions);
        painter.drawGlyphRun(QPointF(0, 0), glyphRun);
        painter.setPen(pen);
      }
    }
    glyphRun.setGlyphIndexes(run.glyphs);
    glyphRun.setPositions(turned);
    painter.drawGlyphRun(QPointF(0, 0), glyphRun);
    painter.restore();
  }
  painter.restore();
}

}  // namespace orivel
