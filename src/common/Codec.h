#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "exchange/TextCodec.h"

// The one conversion between the core's code page 932 bytes and the widgets' text.
namespace orivel::codec {

// Decodes code page 932 bytes for display. A byte that does not decode shows as U+FFFD;
// the core keeps the original bytes, so nothing is lost by showing them.
QString toQString(std::string_view cp932);

// Encodes typed text. Returns false, and leaves the first character that code page 932
// cannot hold in *badChar, instead of replacing it. Characters that Unix input methods
// produce under another code point (WAVE DASH, MINUS SIGN, ...) are mapped first.
bool fromQString(const QString& text, std::string* out, QString* badChar = nullptr);

// The first character of the text that code page 932 cannot hold, or an empty string.
QString firstUnencodable(const QString& text);

// Converts UTF-8 text (a line of a UTF-8 file) to code page 932; false when a character
// cannot be held.
bool fromUtf8(std::string_view utf8, std::string* out);

// The same conversions for the readers and writers of other programs' files, which take
// them handed in. Code page 932 that does not decode is refused there, not replaced.
const TextCodec& textCodec();

// For text the program itself supplies (fixed captions and values): encodes what it can.
std::string encodeKnown(const QString& text);

}  // namespace orivel::codec
