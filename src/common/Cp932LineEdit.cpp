#include "common/Cp932LineEdit.h"

#include "common/Codec.h"

namespace orivel {

void Cp932LineEdit::setBytes(const std::string& bytes) {
  bytes_ = bytes;
  shown_ = codec::toQString(bytes);
  filled_ = true;
  setText(shown_);
}

QString Cp932LineEdit::firstUnencodable() const {
  return isUnedited() ? QString() : codec::firstUnencodable(text());
}

std::string Cp932LineEdit::bytes() const {
  if (isUnedited()) return bytes_;
  return codec::encodeKnown(text());
}

}  // namespace orivel
