#include "print/HarfBuzzFace.h"

#include <fontconfig/fontconfig.h>

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QRawFont>
#include <QString>
#include <QtEndian>
#include <cstdlib>
#include <memory>
#include <vector>

#if defined(__unix__)
#include <sys/mman.h>
#endif

namespace orivel {
namespace {

constexpr hb_tag_t kGlyf = HB_TAG('g', 'l', 'y', 'f');
constexpr hb_tag_t kLoca = HB_TAG('l', 'o', 'c', 'a');
constexpr hb_tag_t kHead = HB_TAG('h', 'e', 'a', 'd');

hb_blob_t* blobOf(QByteArray bytes) {
  if (bytes.isEmpty()) return hb_blob_get_empty();
  auto* held = new QByteArray(std::move(bytes));
  return hb_blob_create(held->constData(), static_cast<unsigned>(held->size()),
                        HB_MEMORY_MODE_READONLY, held,
                        [](void* p) { delete static_cast<QByteArray*>(p); });
}

// Tables as Qt hands them out: copies.
hb_blob_t* referenceQtTable(hb_face_t*, hb_tag_t tag, void* userData) {
  const auto* raw = static_cast<const QRawFont*>(userData);
  const char name[5] = {static_cast<char>(tag >> 24), static_cast<char>(tag >> 16),
                        static_cast<char>(tag >> 8), static_cast<char>(tag), 0};
  return blobOf(raw->fontTable(name));
}

// Memory that reads as zeros and takes no room until written, a page at a time.
char* zeroedMemory(std::size_t size) {
#if defined(__unix__)
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
#if defined(MADV_NOHUGEPAGE)
  // A glyph written must not bring in a huge page.
  madvise(p, size, MADV_NOHUGEPAGE);
#endif
  return static_cast<char*>(p);
#else
  return static_cast<char*>(std::calloc(size, 1));
#endif
}

void freeZeroedMemory(char* p, std::size_t size) {
  if (!p) return;
#if defined(__unix__)
  munmap(p, size);
#else
  (void)size;
  std::free(p);
#endif
}

// A font file's tables, read with ordinary reads.
class FontFile {
 public:
  bool open(const QString& path, unsigned index) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) return false;
    quint32 directory = 0;
    const QByteArray tag = read(0, 4);
    if (tag == "ttcf") {
      const QByteArray offset = read(12 + 4 * quint64(index), 4);
      if (offset.size() != 4) return false;
      directory = qFromBigEndian<quint32>(offset.constData());
    }
    const QByteArray header = read(directory, 12);
    if (header.size() != 12) return false;
    const quint16 count = qFromBigEndian<quint16>(header.constData() + 4);
    const QByteArray records = read(directory + 12, 16 * qint64(count));
    if (records.size() != 16 * count) return false;
    for (int i = 0; i < count; ++i) {
      const char* r = records.constData() + 16 * i;
      tables_.insert(qFromBigEndian<quint32>(r),
                     {qFromBigEndian<quint32>(r + 8), qFromBigEndian<quint32>(r + 12)});
    }
    return true;
  }

  bool has(hb_tag_t tag) const { return tables_.contains(tag); }
  quint32 offset(hb_tag_t tag) const { return tables_.value(tag).first; }
  quint32 length(hb_tag_t tag) const { return tables_.value(tag).second; }

  QByteArray table(hb_tag_t tag) {
    const auto found = tables_.constFind(tag);
    if (found == tables_.constEnd()) return {};
    QByteArray bytes = read(found->first, found->second);
    return bytes.size() == qsizetype(found->second) ? bytes : QByteArray();
  }

  QByteArray read(quint64 offset, qint64 length) {
    if (!file_.seek(qint64(offset))) return {};
    return file_.read(length);
  }

  bool readInto(quint64 offset, char* to, qint64 length) {
    return file_.seek(qint64(offset)) && file_.read(to, length) == length;
  }

 private:
  QFile file_;
  QHash<hb_tag_t, std::pair<quint32, quint32>> tables_;  // tag -> offset, length
};

// A face whose glyph table is read a glyph at a time. HarfBuzz takes the outline of every
// glyph it sets upright (for its vertical origin) from a 7.5 MB table; a mapped file brings
// 64 KB of it into memory around each glyph it touches, megabytes in all. Here the table
// is zeroed memory that stays untouched but for the glyphs read into it.
class GlyphsOnDemand {
 public:
  static GlyphsOnDemand* open(const QString& path, unsigned index) {
    auto face = std::make_unique<GlyphsOnDemand>();
    FontFile& file = face->file_;
    if (!file.open(path, index) || !file.has(kGlyf) || !file.has(kLoca) || !file.has(kHead))
      return nullptr;
    const QByteArray head = file.table(kHead);
    const QByteArray loca = file.table(kLoca);
    if (head.size() < 54 || loca.isEmpty()) return nullptr;
    const bool longOffsets = qFromBigEndian<qint16>(head.constData() + 50) != 0;
    const qsizetype entries = loca.size() / (longOffsets ? 4 : 2);
    face->loca_.reserve(static_cast<std::size_t>(entries));
    for (qsizetype i = 0; i < entries; ++i)
      face->loca_.push_back(longOffsets ? qFromBigEndian<quint32>(loca.constData() + 4 * i)
                                        : 2u * qFromBigEndian<quint16>(loca.constData() + 2 * i));
    face->loaded_.assign(face->loca_.size(), false);
    face->glyfOffset_ = file.offset(kGlyf);
    face->glyfLength_ = file.length(kGlyf);
    face->glyf_ = zeroedMemory(face->glyfLength_);
    if (!face->glyf_) return nullptr;
    return face.release();
  }

  ~GlyphsOnDemand() { freeZeroedMemory(glyf_, glyfLength_); }

  hb_blob_t* table(hb_tag_t tag) {
    if (tag == kGlyf)
      return hb_blob_create(glyf_, glyfLength_, HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    return blobOf(file_.table(tag));
  }

  // Reads the glyph's outline into the table, and those of the glyphs it is composed of.
  void load(hb_codepoint_t glyph, int depth = 0) {
    if (glyph + 1 >= loca_.size() || loaded_[glyph] || depth > 8) return;
    loaded_[glyph] = true;
    const quint32 begin = loca_[glyph];
    const quint32 end = loca_[glyph + 1];
    if (end <= begin || end > glyfLength_) return;
    if (!file_.readInto(glyfOffset_ + begin, glyf_ + begin, end - begin)) return;
    const char* g = glyf_ + begin;
    const char* const last = glyf_ + end;
    if (end - begin < 10 || qFromBigEndian<qint16>(g) >= 0) return;
    // A composite glyph: its components follow the header.
    constexpr quint16 kWords = 0x1, kScale = 0x8, kMore = 0x20, kXYScale = 0x40, kTwoByTwo = 0x80;
    for (const char* p = g + 10; p + 4 <= last;) {
      const quint16 flags = qFromBigEndian<quint16>(p);
      load(qFromBigEndian<quint16>(p + 2), depth + 1);
      p += 4 + ((flags & kWords) ? 4 : 2);
      p += (flags & kScale) ? 2 : (flags & kXYScale) ? 4 : (flags & kTwoByTwo) ? 8 : 0;
      if (!(flags & kMore)) break;
    }
  }

 private:
  FontFile file_;
  std::vector<quint32> loca_;
  std::vector<bool> loaded_;
  quint32 glyfOffset_ = 0;
  quint32 glyfLength_ = 0;
  char* glyf_ = nullptr;
};

hb_user_data_key_t kOnDemandKey;

GlyphsOnDemand* onDemandOf(hb_face_t* face) {
  return static_cast<GlyphsOnDemand*>(hb_face_get_user_data(face, &kOnDemandKey));
}

// Font functions that read a glyph in before its parent font looks at its outline: for
// its vertical origin, its extents and an anchor on its contour (the horizontal origin
// needs no outline).
hb_font_funcs_t* loadingFuncs() {
  static hb_font_funcs_t* const funcs = [] {
    hb_font_funcs_t* f = hb_font_funcs_create();
    hb_font_funcs_set_glyph_v_origin_func(
        f,
        [](hb_font_t* font, void* data, hb_codepoint_t glyph, hb_position_t* x, hb_position_t* y,
           void*) -> hb_bool_t {
          static_cast<GlyphsOnDemand*>(data)->load(glyph);
          return hb_font_get_glyph_v_origin(hb_font_get_parent(font), glyph, x, y);
        },
        nullptr, nullptr);
    hb_font_funcs_set_glyph_extents_func(
        f,
        [](hb_font_t* font, void* data, hb_codepoint_t glyph, hb_glyph_extents_t* extents,
           void*) -> hb_bool_t {
          static_cast<GlyphsOnDemand*>(data)->load(glyph);
          return hb_font_get_glyph_extents(hb_font_get_parent(font), glyph, extents);
        },
        nullptr, nullptr);
    hb_font_funcs_set_glyph_contour_point_func(
        f,
        [](hb_font_t* font, void* data, hb_codepoint_t glyph, unsigned point, hb_position_t* x,
           hb_position_t* y, void*) -> hb_bool_t {
          static_cast<GlyphsOnDemand*>(data)->load(glyph);
          return hb_font_get_glyph_contour_point(hb_font_get_parent(font), glyph, point, x, y);
        },
        nullptr, nullptr);
    hb_font_funcs_make_immutable(f);
    return f;
  }();
  return funcs;
}

// The face of the file at `path`: its glyph outlines read on demand where it has a glyph
// table, else the file mapped.
hb_face_t* faceOfFile(const char* path, unsigned index) {
  if (GlyphsOnDemand* onDemand = GlyphsOnDemand::open(QString::fromLocal8Bit(path), index)) {
    hb_face_t* face = hb_face_create_for_tables(
        [](hb_face_t*, hb_tag_t tag, void* data) {
          return static_cast<GlyphsOnDemand*>(data)->table(tag);
        },
        onDemand, [](void* data) { delete static_cast<GlyphsOnDemand*>(data); });
    hb_face_set_index(face, index);
    hb_face_set_user_data(face, &kOnDemandKey, onDemand, nullptr, false);
    return face;
  }
  hb_blob_t* blob = hb_blob_create_from_file_or_fail(path);
  if (!blob) return nullptr;
  hb_face_t* face = hb_face_create(blob, index);
  hb_blob_destroy(blob);
  return face;
}

// The face of the font file that Qt draws `raw` from, or null. The file is taken only when
// its header table equals the one Qt reads, so that glyph indices agree.
hb_face_t* fileFaceOf(const QRawFont& raw) {
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
    hb_face_t* face =
        faceOfFile(reinterpret_cast<const char*>(file), static_cast<unsigned>(index & 0xFFFF));
    if (!face) continue;
    hb_blob_t* fileHead = hb_face_reference_table(face, kHead);
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

}  // namespace

hb_face_t* harfBuzzFaceOf(const QRawFont& raw) {
  if (hb_face_t* fromFile = fileFaceOf(raw)) return fromFile;
  return hb_face_create_for_tables(referenceQtTable, new QRawFont(raw),
                                   [](void* p) { delete static_cast<QRawFont*>(p); });
}

hb_font_t* harfBuzzFontOf(hb_face_t* face) {
  hb_font_t* font = hb_font_create(face);
  const auto upem = static_cast<int>(hb_face_get_upem(face));
  hb_font_set_scale(font, upem, upem);
  GlyphsOnDemand* onDemand = onDemandOf(face);
  if (!onDemand) return font;
  hb_font_t* loading = hb_font_create_sub_font(font);
  hb_font_destroy(font);
  hb_font_set_funcs(loading, loadingFuncs(), onDemand, nullptr);
  return loading;
}

}  // namespace orivel
