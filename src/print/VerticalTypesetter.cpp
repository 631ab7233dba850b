#include "print/VerticalTypesetter.h"

#include <hb-ot.h>
#include <hb.h>
#include <unicode/ubrk.h>
#include <unicode/uchar.h>

#include <QFontDatabase>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <list>
#include <span>

#include "common/Fonts.h"
#include "print/CardFaces.h"
#include "print/HarfBuzzFace.h"
#include "settings/usertype.h"

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
  bool fallback = false;  // set in the default face: the chosen one draws nothing for it
};

using ShapedGlyphs = std::vector<ShapedGlyph>;

// A cluster of a shaped line: what goes whole into one column.
struct Cluster {
  int glyphBegin = 0;
  int glyphEnd = 0;
  double advance = 0;  // font units down the column
  bool space = false;
};

// Where a line may break, for each cluster: before it.
enum BreakFlag : quint8 {
  kBreakAllowed = 1,  // the line breaking rules allow a break here
  kInsideNumber = 2,  // between two characters of one number
  kAfterSpace = 4,    // right after a full-width space
};

struct ShapedLine {
  ShapedGlyphs glyphs;
  std::vector<Cluster> clusters;
  std::vector<quint8> breaks;  // BreakFlags before each cluster
};

// A bounded map that drops the entry used longest ago.
template <typename Key, typename Value>
class LruCache {
 public:
  explicit LruCache(qsizetype capacity) : capacity_(capacity) {}

  const Value* find(const Key& key) {
    const auto it = index_.constFind(key);
    if (it == index_.constEnd()) return nullptr;
    entries_.splice(entries_.begin(), entries_, it.value());
    return &it.value()->second;
  }

  const Value& insert(const Key& key, Value value) {
    if (index_.size() >= capacity_) {
      index_.remove(entries_.back().first);
      entries_.pop_back();
    }
    entries_.emplace_front(key, std::move(value));
    index_.insert(key, entries_.begin());
    return entries_.front().second;
  }

  int size() const { return static_cast<int>(index_.size()); }

 private:
  using Entries = std::list<std::pair<Key, Value>>;
  qsizetype capacity_;
  Entries entries_;
  QHash<Key, typename Entries::iterator> index_;
};

bool isDigit(char32_t c) {
  if ((c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９')) return true;
  // The kanji numerals the digits may print as.
  return c == u'〇' || c == u'一' || c == u'二' || c == u'三' || c == u'四' || c == u'五' ||
         c == u'六' || c == u'七' || c == u'八' || c == u'九';
}

// A hyphen or long vowel mark that joins the parts of a block or room number.
bool joinsNumber(char32_t c) {
  return c == u'-' || c == u'－' || c == u'ー' || c == u'‐' || c == u'‑' || c == u'−' || c == u'ｰ';
}

bool isSpace(QChar c) {
  return c == u'　' || c == u' ';
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
  QString family;  // the face asked for; empty for the default one
  bool loaded = false;
  QRawFont face;  // the card face as resolved once; also feeds HarfBuzz its tables
  hb_face_t* hbFace = nullptr;
  hb_font_t* hbFont = nullptr;
  // With a chosen face, the default one sets the characters the chosen one draws nothing
  // for (a brush face may have an empty "０"), so that no character goes missing.
  QRawFont fallbackFace;
  hb_face_t* fallbackHbFace = nullptr;
  hb_font_t* fallbackHbFont = nullptr;
  double fallbackScale = 1;  // the fallback's font units in the card face's
  QHash<char32_t, bool> drawn;
  QHash<int, QRawFont> sizedFallbacks;
  hb_buffer_t* buffer = nullptr;
  UBreakIterator* lineBreaker = nullptr;  // strict Japanese line breaking
  double unitsPerEm = 1000;
  double ascent = 880;  // font units
  double descent = 120;
  QHash<int, QRawFont> sizedFaces;
  QHash<char32_t, bool> verticalAlternates;
  LruCache<QString, ShapedLine> shaped{VerticalTypesetter::kShapedLineCapacity};

  ~Impl() {
    if (lineBreaker) ubrk_close(lineBreaker);
    if (buffer) hb_buffer_destroy(buffer);
    if (hbFont) hb_font_destroy(hbFont);
    if (hbFace) hb_face_destroy(hbFace);
    if (fallbackHbFont) hb_font_destroy(fallbackHbFont);
    if (fallbackHbFace) hb_face_destroy(fallbackHbFace);
  }

  void load() {
    if (loaded) return;
    loaded = true;
    QFont font = fonts::proportionalMincho(kBaseSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFont defaultFont = font;
    bool chosen = false;
    if (!family.isEmpty() && family != QLatin1String(kDefaultCardFace))
      if (const std::optional<CardFace> found = FindCardFace(family)) {
        font.setFamilies({found->family});
        font.setStyleHint(QFont::Serif, QFont::NoFontMerging);
        chosen = true;
      }
    face = chosen ? QRawFont::fromFont(font, QFontDatabase::Japanese) : defaultRawFont(font);
    if (!face.isValid()) return;
    hbFace = harfBuzzFaceOf(face);
    hbFont = harfBuzzFontOf(hbFace);
    const unsigned upem = hb_face_get_upem(hbFace);
    unitsPerEm = upem;
    if (chosen) {
      fallbackFace = defaultRawFont(defaultFont);
      if (fallbackFace.isValid()) {
        fallbackHbFace = harfBuzzFaceOf(fallbackFace);
        fallbackHbFont = harfBuzzFontOf(fallbackHbFace);
        fallbackScale = unitsPerEm / hb_face_get_upem(fallbackHbFace);
      }
    }
    hb_font_extents_t extents{};
    if (hb_font_get_h_extents(hbFont, &extents) && extents.ascender - extents.descender > 0) {
      ascent = extents.ascender;
      descent = -extents.descender;
    } else {
      ascent = face.ascent() * upem / kBaseSize;
      descent = face.descent() * upem / kBaseSize;
    }
    buffer = hb_buffer_create();
    UErrorCode status = U_ZERO_ERROR;
    lineBreaker = ubrk_open(UBRK_LINE, "ja@lb=strict", nullptr, 0, &status);
    if (U_FAILURE(status)) lineBreaker = nullptr;
  }

  // The default face as Qt resolves it alone: with font merging, Qt first gathers every
  // fallback family of the system, a twentieth of what printing one card costs. Merging
  // stays for a system where no face of the list sets Japanese.
  static QRawFont defaultRawFont(const QFont& font) {
    QFont alone = font;
    alone.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoFontMerging));
    QRawFont raw = QRawFont::fromFont(alone, QFontDatabase::Japanese);
    if (raw.isValid() && raw.supportedWritingSystems().contains(QFontDatabase::Japanese))
      return raw;
    return QRawFont::fromFont(font, QFontDatabase::Japanese);
  }

  bool usable() {
    load();
    return hbFont != nullptr;
  }

  double scale(double pixelSize) const { return pixelSize / unitsPerEm; }
  double pitch(double pixelSize) const { return (ascent + descent) * scale(pixelSize); }

  const QRawFont& faceAt(double pixelSize, bool fallback = false) {
    QHash<int, QRawFont>& sizes = fallback ? sizedFallbacks : sizedFaces;
    const int key = qRound(pixelSize * 64);
    auto it = sizes.find(key);
    if (it == sizes.end()) {
      if (sizes.size() >= 64) sizes.clear();
      QRawFont sized = fallback ? fallbackFace : face;
      sized.setPixelSize(pixelSize);
      it = sizes.insert(key, sized);
    }
    return it.value();
  }

  // Whether the character is set in the default face: the chosen face has no glyph for it,
  // or one that draws nothing, though it is no space.
  bool fallsBack(char32_t c) {
    if (!fallbackHbFont) return false;
    const auto it = drawn.constFind(c);
    if (it != drawn.constEnd()) return !it.value();
    hb_codepoint_t glyph = 0;
    bool draws = true;
    if (!u_isUWhiteSpace(static_cast<UChar32>(c)) && !joinsPrevious(c)) {
      hb_glyph_extents_t extents{};
      draws = hb_font_get_nominal_glyph(hbFont, c, &glyph) &&
              hb_font_get_glyph_extents(hbFont, glyph, &extents) &&
              (extents.width != 0 || extents.height != 0);
      // Only where the default face does better.
      hb_codepoint_t other = 0;
      if (!draws && !hb_font_get_nominal_glyph(fallbackHbFont, c, &other)) draws = true;
    }
    drawn.insert(c, draws);
    return !draws;
  }

  // Shapes part of a line in one direction; the whole line is the context.
  void shapeRun(QStringView line, qsizetype start, qsizetype length, bool upright,
                ShapedGlyphs& out, bool fallback = false) {
    hb_font_t* const font = fallback ? fallbackHbFont : hbFont;
    // The default face's units, in the card face's.
    const float units = fallback ? static_cast<float>(fallbackScale) : 1.0f;
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
    hb_shape(font, buffer, nullptr, 0);

    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
    const auto first = out.size();
    for (unsigned i = 0; i < count; ++i) {
      ShapedGlyph g;
      g.glyph = infos[i].codepoint;
      g.clusterStart = static_cast<int>(infos[i].cluster);
      g.upright = upright;
      g.fallback = fallback;
      if (upright) {
        g.advance = static_cast<float>(-pos[i].y_advance) * units;
        g.offsetAlong = static_cast<float>(-pos[i].y_offset) * units;
        g.offsetAcross = static_cast<float>(pos[i].x_offset) * units;
      } else {
        g.advance = static_cast<float>(pos[i].x_advance) * units;
        g.offsetAlong = static_cast<float>(pos[i].x_offset) * units;
        g.offsetAcross = static_cast<float>(pos[i].y_offset) * units;
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
      if (alone && points.size() == 1 && hb_font_get_nominal_glyph(font, points[0], &nominal))
        g.nominal = nominal;
    }
  }

  // A "transformed rotated" character stands upright when the face has a vertical form
  // for it (as "ー" and the brackets have) and lies sideways otherwise.
  bool hasVerticalAlternate(char32_t c) {
    const auto it = verticalAlternates.constFind(c);
    if (it != verticalAlternates.constEnd()) return it.value();
    const QString text = QString::fromUcs4(&c, 1);
    ShapedGlyphs vertical, horizontal;
    shapeRun(text, 0, text.size(), true, vertical, fallsBack(c));
    shapeRun(text, 0, text.size(), false, horizontal, fallsBack(c));
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

    ShapedLine shapedLine;
    ShapedGlyphs& out = shapedLine.glyphs;
    out.reserve(static_cast<std::size_t>(line.size()));
    qsizetype runStart = 0;
    bool runUpright = true;
    bool runFallback = false;
    for (qsizetype i = 0; i < line.size();) {
      char32_t c = line[i].unicode();
      qsizetype width = 1;
      if (line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate()) {
        c = QChar::surrogateToUcs4(line[i], line[i + 1]);
        width = 2;
      }
      const bool joins = i > 0 && joinsPrevious(c);
      const bool upright = joins ? runUpright : standsUpright(c);
      const bool fallback = joins ? runFallback : fallsBack(c);
      if (i == 0) {
        runUpright = upright;
        runFallback = fallback;
      } else if (upright != runUpright || fallback != runFallback) {
        shapeRun(line, runStart, i - runStart, runUpright, out, runFallback);
        runStart = i;
        runUpright = upright;
        runFallback = fallback;
      }
      i += width;
    }
    if (line.size() > runStart)
      shapeRun(line, runStart, line.size() - runStart, runUpright, out, runFallback);
    findClusters(line, shapedLine);
    return shaped.insert(key, std::move(shapedLine));
  }

  // Groups the glyphs into clusters and notes where the line may break between them.
  void findClusters(QStringView line, ShapedLine& shapedLine) {
    const ShapedGlyphs& glyphs = shapedLine.glyphs;
    for (std::size_t i = 0; i < glyphs.size();) {
      Cluster cluster;
      cluster.glyphBegin = static_cast<int>(i);
      const int start = glyphs[i].clusterStart;
      for (; i < glyphs.size() && glyphs[i].clusterStart == start; ++i)
        cluster.advance += glyphs[i].advance;
      cluster.glyphEnd = static_cast<int>(i);
      const int end = glyphs[i - 1].clusterEnd;
      cluster.space = end - start == 1 && isSpace(line[start]);
      shapedLine.clusters.push_back(cluster);
    }

    // Per UTF-16 position of the line: may it break before that position.
    std::vector<quint8> at(static_cast<std::size_t>(line.size()) + 1, 0);
    if (lineBreaker) {
      UErrorCode status = U_ZERO_ERROR;
      ubrk_setText(lineBreaker, reinterpret_cast<const UChar*>(line.utf16()),
                   static_cast<int32_t>(line.size()), &status);
      if (U_SUCCESS(status))
        for (int32_t p = ubrk_first(lineBreaker); p != UBRK_DONE; p = ubrk_next(lineBreaker))
          at[static_cast<std::size_t>(p)] |= kBreakAllowed;
    }
    // Numbers: digits joined by hyphens or ー, as in "１２ー３" or "４－１２－８".
    for (qsizetype i = 0; i < line.size();) {
      if (!isDigit(line[i].unicode())) {
        ++i;
        continue;
      }
      qsizetype end = i + 1;  // one past the number's last digit
      for (qsizetype j = i + 1; j < line.size(); ++j) {
        if (isDigit(line[j].unicode()))
          end = j + 1;
        else if (!joinsNumber(line[j].unicode()))
          break;
      }
      for (qsizetype p = i + 1; p < end; ++p) at[static_cast<std::size_t>(p)] |= kInsideNumber;
      i = end;
    }
    for (qsizetype i = 1; i < line.size(); ++i)
      if (line[i - 1] == u'　') at[static_cast<std::size_t>(i)] |= kAfterSpace;

    for (const Cluster& cluster : shapedLine.clusters)
      shapedLine.breaks.push_back(
          at[static_cast<std::size_t>(glyphs[cluster.glyphBegin].clusterStart)]);
  }

  // One column of a line: its clusters from first to last (one past).
  struct ColumnSpan {
    int first = 0;
    int last = 0;
  };

  // Where the column that starts at cluster `first` ends when cluster `edge` no longer fits.
  static int breakBefore(const ShapedLine& line, int first, int edge, bool atSpaces) {
    // A column holds at least one cluster that is not a space.
    int firstInk = first;
    while (firstInk < edge && line.clusters[firstInk].space) ++firstInk;
    const auto last = [&](auto allowed) {
      for (int b = edge; b > firstInk; --b)
        if (allowed(line.breaks[b])) return b;
      return 0;
    };
    if (atSpaces)
      if (const int b = last([](quint8 f) { return (f & kAfterSpace) != 0; })) return b;
    // A number stays whole where the column can end before it; otherwise it breaks as the
    // rules allow.
    if (const int b = last([](quint8 f) { return (f & kBreakAllowed) && !(f & kInsideNumber); }))
      return b;
    if (const int b = last([](quint8 f) { return (f & kBreakAllowed) != 0; })) return b;
    return edge;
  }

  // Breaks a line into columns of `length` design pixels at the given scale.
  static void breakLine(const ShapedLine& line, double scale, double length, bool atSpaces,
                        std::vector<ColumnSpan>& columns) {
    // A glyph that fits to within this much still fits: the advances are sums of floats.
    constexpr double kSlack = 1e-6;
    const int count = static_cast<int>(line.clusters.size());
    int first = 0;
    double along = 0;
    for (int i = 0; i < count;) {
      const double advance = line.clusters[i].advance * scale;
      if (along == 0 || along + advance <= length + kSlack) {
        along += advance;
        ++i;
        continue;
      }
      // A space that meets the edge ends the column; the next starts after the spaces.
      int end = line.clusters[i].space ? i : breakBefore(line, first, i, atSpaces);
      if (end == first) end = i;
      columns.push_back({first, end});
      first = end;
      while (first < count && line.clusters[first].space) ++first;
      i = first;
      along = 0;
    }
    // An empty line keeps its column.
    if (first < count || columns.empty()) columns.push_back({first, count});
  }

  // A block as laid out, and for every placed glyph the glyph of its character where that
  // differs (a vertical form), else 0.
  struct LaidOut {
    std::vector<PlacedRun> runs;
    std::vector<QList<quint32>> nominals;
  };
  // A card lays its address out for the frames beside it and again to draw it, and every
  // card of a run sets the same sender and postal code digits: blocks are kept laid out,
  // keyed by all that decides their layout, as many as a few cards set.
  static constexpr qsizetype kLaidOutCapacity = 64;
  LruCache<QByteArray, LaidOut> laidOut{kLaidOutCapacity};

  const LaidOut& layout(const VerticalBlock& block) {
    QByteArray key;
    const double numbers[] = {block.rect.x(), block.rect.y(), block.rect.width(),
                              block.rect.height()};
    const int flags[] = {block.pixelSize, block.maxColumns, block.breakAtSpaces ? 1 : 0};
    key.reserve(sizeof numbers + sizeof flags + block.text.size() * 2);
    key.append(reinterpret_cast<const char*>(numbers), sizeof numbers);
    key.append(reinterpret_cast<const char*>(flags), sizeof flags);
    key.append(reinterpret_cast<const char*>(block.text.utf16()), block.text.size() * 2);
    if (const LaidOut* hit = laidOut.find(key)) return *hit;
    LaidOut laid;
    laid.runs = compute(block, laid.nominals);
    return laidOut.insert(key, std::move(laid));
  }

  std::vector<PlacedRun> compute(const VerticalBlock& block,
                                 std::vector<QList<quint32>>& nominals) {
    std::vector<PlacedRun> runs;
    if (block.text.isEmpty() || block.pixelSize <= 0 || !usable()) return runs;

    const double length = block.rect.width();
    const double thickness = block.rect.height();
    const double left = block.rect.left();
    const double top = block.rect.top();
    constexpr double kSlack = 1e-6;

    std::vector<const ShapedLine*> lines;
    const QList<QStringView> texts = splitLines(block.text);
    for (const QStringView text : texts) lines.push_back(&shapeLine(text));

    // Columns of each line at a face height; false when they do not fit the block.
    std::vector<std::vector<ColumnSpan>> columns(lines.size());
    int columnCount = 0;
    const auto setAt = [&](double size) {
      columnCount = 0;
      for (std::size_t l = 0; l < lines.size(); ++l) {
        columns[l].clear();
        breakLine(*lines[l], this->scale(size), length, block.breakAtSpaces, columns[l]);
        columnCount += static_cast<int>(columns[l].size());
      }
      const int most = block.maxColumns > 0 ? block.maxColumns : columnCount;
      return columnCount <= most && columnCount * pitch(size) <= thickness + kSlack;
    };
    const double smallest = block.pixelSize * VerticalTypesetter::kSmallestScale;
    double size = block.pixelSize;
    while (!setAt(size) && size > smallest) size = std::max(size - 1, smallest);

    const double scale = this->scale(size);
    const double em = pitch(size);
    // Columns that still do not fit stand closer together, the last one at the block's end.
    double step = em;
    if (columnCount > 1 && columnCount * em > thickness + kSlack)
      step = std::max(0.0, thickness - em) / (columnCount - 1);

    int column = 0;
    for (std::size_t l = 0; l < lines.size(); ++l) {
      const QStringView line = texts[static_cast<qsizetype>(l)];
      const ShapedGlyphs& glyphs = lines[l]->glyphs;
      for (const ColumnSpan& span : columns[l]) {
        const double bandTop = top + column * step;
        const double centre = bandTop + em / 2;
        double along = 0;  // design pixels down the column
        PlacedRun* run = nullptr;
        const int glyphBegin = span.first < static_cast<int>(lines[l]->clusters.size())
                                   ? lines[l]->clusters[span.first].glyphBegin
                                   : static_cast<int>(glyphs.size());
        const int glyphEnd =
            span.last > span.first ? lines[l]->clusters[span.last - 1].glyphEnd : glyphBegin;
        for (int i = glyphBegin; i < glyphEnd; ++i) {
          const ShapedGlyph& g = glyphs[static_cast<std::size_t>(i)];
          if (!run || run->upright != g.upright || run->fallback != g.fallback) {
            runs.emplace_back();
            run = &runs.back();
            run->column = column;
            run->upright = g.upright;
            run->fallback = g.fallback;
            run->pixelSize = size;
            run->bandTop = bandTop;
            run->bandBottom = bandTop + em;
            nominals.emplace_back();
          }
          QPointF origin;
          if (g.upright) {
            // HarfBuzz puts the pen on the column's centre line at the top of the glyph.
            origin = QPointF(left + along + g.offsetAlong * scale, centre - g.offsetAcross * scale);
          } else {
            // Sideways text is level on the page, its em box filling the column's band.
            origin = QPointF(left + along + g.offsetAlong * scale,
                             bandTop + ascent * scale - g.offsetAcross * scale);
          }
          if (run->glyphs.isEmpty() ||
              g.clusterStart != glyphs[static_cast<std::size_t>(i) - 1].clusterStart)
            run->text += line.mid(g.clusterStart, g.clusterEnd - g.clusterStart);
          run->glyphs.append(g.glyph);
          run->positions.append(origin);
          run->starts.append(left + along);
          run->advances.append(g.advance * scale);
          nominals.back().append(g.nominal != g.glyph ? g.nominal : 0);
          along += g.advance * scale;
        }
        ++column;
      }
    }
    return runs;
  }

  static constexpr int kBaseSize = 48;
};

VerticalTypesetter::VerticalTypesetter() : impl_(std::make_unique<Impl>()) {}
VerticalTypesetter::~VerticalTypesetter() = default;

void VerticalTypesetter::useFace(const QString& family) {
  if (family == impl_->family) return;
  impl_ = std::make_unique<Impl>();
  impl_->family = family;
}

QString VerticalTypesetter::faceFamily() const {
  impl_->load();
  return impl_->face.familyName();
}

double VerticalTypesetter::columnPitch(double pixelSize) const {
  impl_->load();
  return impl_->pitch(pixelSize);
}

double VerticalTypesetter::lineLength(const QString& line, double pixelSize) {
  if (line.isEmpty() || !impl_->usable()) return 0;
  double along = 0;
  for (const Cluster& cluster : impl_->shapeLine(line).clusters) along += cluster.advance;
  return along * impl_->scale(pixelSize);
}

QRectF VerticalTypesetter::inkRect(const PlacedRun& run, qsizetype i) {
  if (!impl_->usable() || i < 0 || i >= run.glyphs.size()) return {};
  // A glyph of the fallback face is measured in that face.
  const QRectF ink = impl_->faceAt(run.pixelSize, run.fallback).boundingRect(run.glyphs[i]);
  const QPointF origin = run.positions[i];
  if (!run.upright) return ink.translated(origin);
  // Drawn a quarter turn counter-clockwise: the glyph's x runs up the page, its y along it.
  return QRectF(QPointF(origin.x() + ink.top(), origin.y() - ink.right()),
                QPointF(origin.x() + ink.bottom(), origin.y() - ink.left()));
}

int VerticalTypesetter::shapedLineCount() const {
  return impl_->shaped.size();
}

std::vector<PlacedRun> VerticalTypesetter::layout(const VerticalBlock& block) {
  return impl_->layout(block).runs;
}

void VerticalTypesetter::draw(QPainter& painter, const VerticalBlock& block, PageTarget target) {
  draw(painter, std::span<const VerticalBlock>(&block, 1), target);
}

void VerticalTypesetter::draw(QPainter& painter, std::span<const VerticalBlock> blocks,
                              PageTarget target) {
  // Every glyph of one face, size and orientation goes out in one glyph run, and the painter
  // turns once for all upright ones: a PDF engine writes a text object with its graphics
  // state for each run, and that, not the glyphs, is most of a card's bytes.
  struct Batch {
    bool upright = true;
    bool fallback = false;
    double pixelSize = 0;
    QList<quint32> glyphs;
    QList<QPointF> positions;
  };
  std::vector<Batch> batches;
  std::vector<Batch> hidden;  // the characters behind vertical forms, for a PDF's text
  const auto batchOf = [](std::vector<Batch>& in, const PlacedRun& run) -> Batch& {
    for (Batch& batch : in)
      if (batch.upright == run.upright && batch.fallback == run.fallback &&
          batch.pixelSize == run.pixelSize)
        return batch;
    return in.emplace_back(Batch{run.upright, run.fallback, run.pixelSize, {}, {}});
  };
  const bool textLayer = target == PageTarget::PdfFile;
  for (const VerticalBlock& block : blocks) {
    const auto& [runs, nominals] = impl_->layout(block);
    for (std::size_t r = 0; r < runs.size(); ++r) {
      const PlacedRun& run = runs[r];
      Batch& batch = batchOf(batches, run);
      batch.glyphs.append(run.glyphs);
      // Upright glyphs are drawn a quarter turn counter-clockwise: in the turned frame a
      // page point (x, y) is (-y, x).
      for (const QPointF& p : run.positions)
        batch.positions.append(run.upright ? QPointF(-p.y(), p.x()) : p);
      if (!textLayer || !run.upright) continue;
      for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
        if (const quint32 nominal = nominals[r][i]) {
          Batch& behind = batchOf(hidden, run);
          behind.glyphs.append(nominal);
          behind.positions.append(QPointF(-run.positions[i].y(), run.positions[i].x()));
        }
      }
    }
  }
  if (batches.empty()) return;
  QGlyphRun glyphRun;
  const auto drawBatch = [&](const Batch& batch) {
    glyphRun.setRawFont(impl_->faceAt(batch.pixelSize, batch.fallback));
    glyphRun.setGlyphIndexes(batch.glyphs);
    glyphRun.setPositions(batch.positions);
    painter.drawGlyphRun(QPointF(0, 0), glyphRun);
  };
  painter.save();
  for (const Batch& batch : batches)
    if (!batch.upright) drawBatch(batch);
  painter.rotate(-90);
  for (const Batch& batch : batches)
    if (batch.upright) drawBatch(batch);
  if (!hidden.empty()) {
    painter.setPen(Qt::transparent);
    for (const Batch& batch : hidden) drawBatch(batch);
  }
  painter.restore();
}

}  // namespace orivel
