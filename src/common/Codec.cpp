#include "common/Codec.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

#include "files/Cp932Bytes.h"

namespace orivel::codec {
namespace {

constexpr const char* kCodecName = "windows-31j";

// Code points that Unix input methods and converters produce for characters that
// code page 932 holds under another code point.
char32_t mapUnixVariant(char32_t c) {
  switch (c) {
    case 0x301C:
      return 0xFF5E;  // WAVE DASH -> FULLWIDTH TILDE
    case 0x2212:
      return 0xFF0D;  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    case 0x2016:
      return 0x2225;  // DOUBLE VERTICAL LINE -> PARALLEL TO
    case 0x2014:
      return 0x2015;  // EM DASH -> HORIZONTAL BAR
    case 0x00A2:
      return 0xFFE0;  // CENT SIGN
    case 0x00A3:
      return 0xFFE1;  // POUND SIGN
    case 0x00AC:
      return 0xFFE2;  // NOT SIGN
    default:
      return c;
  }
}

QString mapped(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (char32_t c : text.toUcs4()) {
    const char32_t m = mapUnixVariant(c);
    out.append(QString::fromUcs4(&m, 1));
  }
  return out;
}

// True when the code point survives a trip through code page 932 unchanged.
bool encodable(char32_t c) {
  const QString one = QString::fromUcs4(&c, 1);
  QStringEncoder enc(kCodecName);
  const QByteArray bytes = enc.encode(one);
  if (enc.hasError() || bytes.isEmpty()) return false;
  QStringDecoder dec(kCodecName);
  const QString back = dec.decode(bytes);
  return !dec.hasError() && back == one;
}

}  // namespace

QString toQString(std::string_view cp932) {
  {
    // Stateless: a lead byte cut off at the end is an error, not input held for later.
    // Opening the converter costs more than decoding a card's text, so one is kept for
    // each thread; after an error it is opened afresh, so that nothing carries over.
    thread_local QStringDecoder whole(kCodecName, QStringDecoder::Flag::Stateless);
    whole.resetState();
    const QString text =
        whole.decode(QByteArrayView(cp932.data(), static_cast<qsizetype>(cp932.size())));
    if (!whole.hasError()) return text;
    whole = QStringDecoder(kCodecName, QStringDecoder::Flag::Stateless);
  }
  QString out;
  out.reserve(static_cast<qsizetype>(cp932.size()));
  // Decode piece by piece so that an undecodable byte shows as U+FFFD (the converter
  // itself would give a control character) and the rest still decodes.
  std::size_t i = 0;
  while (i < cp932.size()) {
    const auto b = static_cast<unsigned char>(cp932[i]);
    const bool lead = cp932::IsLeadByte(b);
    const std::size_t len = (lead && i + 1 < cp932.size()) ? 2 : 1;
    QStringDecoder one(kCodecName);
    const QString piece = one.decode(QByteArrayView(cp932.data() + i, static_cast<qsizetype>(len)));
    if (one.hasError() || piece.isEmpty() || (lead && len == 1) ||
        (piece.size() == 1 && piece[0] == QChar(cp932::kCtrlZ) && b != cp932::kCtrlZ)) {
      out.append(QChar(QChar::ReplacementCharacter));
      i += 1;  // resynchronise on the next byte
    } else {
      out.append(piece);
      i += len;
    }
  }
  return out;
}

QString firstUnencodable(const QString& text) {
  for (char32_t c : text.toUcs4()) {
    const char32_t m = mapUnixVariant(c);
    if (!encodable(m)) return QString::fromUcs4(&c, 1);
  }
  return {};
}

bool fromQString(const QString& text, std::string* out, QString* badChar) {
  const QString m = mapped(text);
  QStringEncoder enc(kCodecName);
  const QByteArray bytes = enc.encode(m);
  // The whole-text check is quick; on any doubt find the character to name.
  QString bad;
  if (enc.hasError()) {
    bad = firstUnencodable(text);
    if (bad.isEmpty()) bad = text.left(1);
  } else {
    QStringDecoder dec(kCodecName);
    if (dec.decode(bytes) != m || dec.hasError()) bad = firstUnencodable(text);
  }
  if (!bad.isEmpty()) {
    if (badChar) *badChar = bad;
    return false;
  }
  if (out) out->assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return true;
}

bool fromUtf8(std::string_view utf8, std::string* out) {
  return fromQString(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())), out);
}

const TextCodec& textCodec() {
  static const TextCodec codec{
      [](std::string_view utf8, std::string* cp932, std::string* bad) {
        QString badChar;
        if (fromQString(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())), cp932,
                        &badChar))
          return true;
        if (bad) *bad = badChar.toStdString();
        return false;
      },
      [](std::string_view cp932, std::string* utf8) {
        QStringDecoder dec(kCodecName, QStringDecoder::Flag::Stateless);
        const QString text =
            dec.decode(QByteArrayView(cp932.data(), static_cast<qsizetype>(cp932.size())));
        if (dec.hasError()) return false;
        *utf8 = text.toStdString();
        return true;
      }};
  return codec;
}

std::string encodeKnown(const QString& text) {
  QStringEncoder enc(kCodecName);
  const QByteArray bytes = enc.encode(mapped(text));
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace orivel::codec
