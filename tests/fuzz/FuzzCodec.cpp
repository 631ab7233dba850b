// Code page 932 decoding of arbitrary bytes, as the widgets show the core's texts.
//
// Properties: decoding never fails and gives one character for each character of the input
// at most; bytes that decode cleanly decode to what the converter gives for the whole text,
// and encoding that text gives the same bytes back, except where code page 932 holds one
// character under two codes (the NEC and IBM extension rows 87, ED, EE, FA-FC and their twins
// in row 81): there the encoder picks one, and the bytes still decode to the same text. Text
// that does not decode cleanly shows a replacement character.
#include <QStringDecoder>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "common/Codec.h"

namespace {

// The characters of code page 932 bytes: a lead byte and the byte after it, or one byte.
std::vector<std::string_view> characters(std::string_view s) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    const std::size_t n = lead && i + 1 < s.size() ? 2 : 1;
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

bool heldTwice(std::string_view c) {
  if (c.size() != 2) return false;
  const auto lead = static_cast<unsigned char>(c[0]);
  return lead == 0x81 || lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const QString shown = orivel::codec::toQString(bytes);
  FUZZ_CHECK(shown.size() <= static_cast<qsizetype>(size) * 2);
  FUZZ_CHECK(size == 0 || !shown.isEmpty());

  QStringDecoder whole("windows-31j", QStringDecoder::Flag::Stateless);
  const QString decoded = whole.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(size)));
  const bool clean = !whole.hasError() && !shown.contains(QChar(QChar::ReplacementCharacter));

  std::string back;
  QString bad;
  const bool encoded = orivel::codec::fromQString(shown, &back, &bad);
  if (clean) {
    FUZZ_CHECK(shown == decoded);
    FUZZ_CHECK(encoded);
    FUZZ_CHECK(orivel::codec::toQString(back) == shown);
    const auto was = characters(bytes);
    const auto now = characters(back);
    FUZZ_CHECK(was.size() == now.size());
    for (std::size_t i = 0; i < was.size(); ++i) FUZZ_CHECK(was[i] == now[i] || heldTwice(was[i]));
  } else {
    FUZZ_CHECK(shown.contains(QChar(QChar::ReplacementCharacter)) || back != bytes);
    if (!encoded) FUZZ_CHECK(!bad.isEmpty());
  }
  return 0;
}
