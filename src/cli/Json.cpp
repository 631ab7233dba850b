#include "cli/Json.h"

#include "common/Codec.h"

namespace orivel::cli {

void AppendJsonString(QByteArray& out, QStringView text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char c : text.toUtf8()) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;  // bytes of UTF-8 sequences are all 0x80 and above
        }
    }
  }
  out += '"';
}

void AppendJsonCp932(QByteArray& out, std::string_view cp932) {
  AppendJsonString(out, codec::toQString(cp932));
}

void AppendEntryHead(QByteArray& out, int index, const datatype& entry) {
  out += "{\"index\": " + QByteArray::number(index) + ", \"name\": ";
  AppendJsonCp932(out, entry.name);
  out += ", \"zip_code\": ";
  AppendJsonCp932(out, entry.zip_code);
  out += ", \"address\": ";
  AppendJsonCp932(out, entry.address);
}

}  // namespace orivel::cli
