#include "exchange/VCard.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "files/AtomicWrite.h"

namespace orivel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kIdeographicSpace = "\u3000";
// The same space in code page 932, where the book's texts are held.
constexpr std::string_view kCp932Space = "\x81\x40";

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The lines of the text with their ends taken off: LF or CR LF.
std::vector<std::string_view> physicalLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

struct Property {
  std::string name;                 // upper case, without a group
  std::vector<std::string> params;  // upper case, as "TYPE=HOME" or a bare "HOME"
  std::string value;                // raw: still escaped and, where so marked, encoded
  bool quotedPrintable = false;
  bool base64 = false;  // vCard 2.1's ENCODING=BASE64, 3.0's ENCODING=b
  std::string charset;  // upper case; empty when none is named

  bool hasType(std::string_view type) const {
    for (const std::string& p : params) {
      std::string_view v = p;
      if (v.starts_with("TYPE=")) v.remove_prefix(5);
      // TYPE=HOME,PREF or TYPE="home,pref"
      std::size_t start = 0;
      while (start <= v.size()) {
        std::size_t end = v.find(',', start);
        if (end == std::string_view::npos) end = v.size();
        std::string_view one = v.substr(start, end - start);
        if (one.starts_with('"')) one.remove_prefix(1);
        if (one.ends_with('"')) one.remove_suffix(1);
        if (one == type) return true;
        start = end + 1;
      }
    }
    return false;
  }
};

// Splits "item1.ADR;TYPE=HOME;CHARSET=SHIFT_JIS:value" at the first colon outside quotes.
bool parseProperty(std::string_view line, Property* p) {
  bool quoted = false;
  std::size_t colon = std::string_view::npos;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == ':' && !quoted) {
      colon = i;
      break;
    }
  }
  if (colon == std::string_view::npos) return false;
  const std::string_view head = line.substr(0, colon);
  p->value = std::string(line.substr(colon + 1));
  std::size_t start = 0;
  bool first = true;
  while (start <= head.size()) {
    std::size_t end = head.find(';', start);
    if (end == std::string_view::npos) end = head.size();
    const std::string part = upper(head.substr(start, end - start));
    if (first) {
      const std::size_t dot = part.rfind('.');
      p->name = dot == std::string::npos ? part : part.substr(dot + 1);
      first = false;
    } else if (!part.empty()) {
      if (part == "ENCODING=QUOTED-PRINTABLE" || part == "QUOTED-PRINTABLE")
        p->quotedPrintable = true;
      else if (part == "ENCODING=BASE64" || part == "ENCODING=B" || part == "BASE64")
        p->base64 = true;
      else if (part.starts_with("CHARSET="))
        p->charset = part.substr(8);
      p->params.push_back(part);
    }
    start = end + 1;
  }
  return true;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string decodeQuotedPrintable(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
        hexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Base64 (RFC 4648) as vCards fold it: blanks and line breaks between the characters are
// left out. False for anything else.
bool decodeBase64(std::string_view text, std::string* out) {
  std::uint32_t bits = 0;
  int count = 0;
  bool ended = false;  // after "="
  for (const char c : text) {
    int value = -1;
    if (c >= 'A' && c <= 'Z')
      value = c - 'A';
    else if (c >= 'a' && c <= 'z')
      value = c - 'a' + 26;
    else if (c >= '0' && c <= '9')
      value = c - '0' + 52;
    else if (c == '+')
      value = 62;
    else if (c == '/')
      value = 63;
    else if (c == '=') {
      ended = true;
      continue;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      continue;
    } else {
      return false;
    }
    if (ended) return false;
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    if (++count == 4) {
      *out += static_cast<char>((bits >> 16) & 0xFF);
      *out += static_cast<char>((bits >> 8) & 0xFF);
      *out += static_cast<char>(bits & 0xFF);
      bits = 0;
      count = 0;
    }
  }
  if (count == 1) return false;
  if (count == 2) *out += static_cast<char>((bits >> 4) & 0xFF);
  if (count == 3) {
    *out += static_cast<char>((bits >> 10) & 0xFF);
    *out += static_cast<char>((bits >> 2) & 0xFF);
  }
  return true;
}

bool isShiftJisName(std::string_view charset) {
  return charset == "SHIFT_JIS" || charset == "SHIFT-JIS" || charset == "SJIS" ||
         charset == "CP932" || charset == "WINDOWS-31J" || charset == "MS_KANJI";
}

// The components of a structured value, split at ";" not escaped, each unescaped.
std::vector<std::string> components(std::string_view value) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\\' && i + 1 < value.size()) {
      const char next = value[++i];
      out.back() += next == 'n' || next == 'N' ? '\n' : next;
    } else if (c == ';') {
      out.emplace_back();
    } else {
      out.back() += c;
    }
  }
  return out;
}

// The values of a list such as CATEGORIES, split at "," not escaped.
std::vector<std::string> listItems(std::string_view value) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      out.back() += value[++i];
    } else if (value[i] == ',') {
      out.emplace_back();
    } else {
      out.back() += value[i];
    }
  }
  return out;
}

std::string part(const std::vector<std::string>& parts, std::size_t i) {
  return i < parts.size() ? detail::Trimmed(parts[i]) : std::string();
}

struct Card {
  int number = 0;  // in the file, from 1
  std::vector<Property> properties;
};

// The cards of the text, lines unfolded. False when a card has no END (*openCard names it).
bool splitCards(std::string_view text, std::vector<Card>* cards, int* openCard) {
  std::vector<std::string> logical;
  const std::vector<std::string_view> lines = physicalLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if ((line.starts_with(' ') || line.starts_with('\t')) && !logical.empty()) {
      logical.back() += line.substr(1);  // folded: the break and one blank go
      continue;
    }
    std::string joined(line);
    // A quoted-printable value that ends in "=" goes on at the next line (vCard 2.1).
    const std::string head = upper(line.substr(0, line.find(':')));
    if (head.find("QUOTED-PRINTABLE") != std::string::npos) {
      while (joined.ends_with('=') && i + 1 < lines.size()) {
        joined.pop_back();
        std::string_view next = lines[++i];
        if (next.starts_with(' ') || next.starts_with('\t')) next.remove_prefix(1);
        joined += next;
      }
    }
    logical.push_back(std::move(joined));
  }
  Card* open = nullptr;
  int count = 0;
  for (const std::string& line : logical) {
    Property p;
    if (!parseProperty(line, &p)) continue;
    if (p.name == "BEGIN" && upper(detail::Trimmed(p.value)) == "VCARD") {
      if (open) break;  // a card begun inside another: the first one has no END
      cards->push_back(Card{++count, {}});
      open = &cards->back();
    } else if (p.name == "END" && upper(detail::Trimmed(p.value)) == "VCARD") {
      open = nullptr;
    } else if (open) {
      open->properties.push_back(std::move(p));
    }
  }
  if (open || count == 0) {
    *openCard = open ? open->number : 1;
    return false;
  }
  return true;
}

enum class Decoded { Ok, Invalid };

// The property's value as UTF-8: quoted-printable undone, then read in the named character
// set; without one, UTF-8 where it is valid and code page 932 otherwise (phones that write
// vCard 2.1 in Shift-JIS do not always say so).
Decoded decodeValue(const Property& p, const TextCodec& codec, std::string* utf8) {
  std::string bytes;
  if (p.base64) {
    if (!decodeBase64(p.value, &bytes)) return Decoded::Invalid;
  } else {
    bytes = p.quotedPrintable ? decodeQuotedPrintable(p.value) : p.value;
  }
  if (isShiftJisName(p.charset) || (p.charset.empty() && !IsValidUtf8(bytes)))
    return codec.toUtf8(bytes, utf8) ? Decoded::Ok : Decoded::Invalid;
  if (!IsValidUtf8(bytes)) return Decoded::Invalid;
  *utf8 = bytes;
  return Decoded::Ok;
}

void setAddress(const std::vector<std::string>& adr, datatype* e) {
  // PO box; extended address; street; locality; region; postal code; country
  std::string street = part(adr, 2);
  std::string extended = part(adr, 1);
  if (street.empty()) street = part(adr, 0);
  if (const std::size_t br = street.find('\n'); br != std::string::npos) {
    const std::string rest = detail::Trimmed(std::string_view(street).substr(br + 1));
    street = detail::Trimmed(std::string_view(street).substr(0, br));
    extended = extended.empty() ? rest : rest + std::string(kIdeographicSpace) + extended;
  }
  e->address = detail::JoinAddress(part(adr, 4), part(adr, 3), street, extended);
  e->zip_code = NormalizedZipCode(part(adr, 5));
}

// The entry of one card, its texts UTF-8; false when a value is not in its character set.
bool cardEntry(const Card& card, const TextCodec& codec, datatype* e) {
  e->sama = "様";
  std::string fullName;
  bool haveAddress = false;
  bool haveHome = false;
  bool showAsCompany = false;  // Apple's X-ABShowAs:COMPANY
  for (const Property& p : card.properties) {
    if (p.name == "X-ABSHOWAS") showAsCompany = upper(detail::Trimmed(p.value)) == "COMPANY";
    const bool wanted = p.name == "N" || p.name == "FN" || p.name == "ADR" ||
                        p.name == "CATEGORIES" || p.name == "ORG" || p.name == "TITLE";
    if (!wanted) continue;
    std::string value;
    if (decodeValue(p, codec, &value) == Decoded::Invalid) return false;
    if (p.name == "N") {
      const std::vector<std::string> n = components(value);
      e->name = detail::JoinName(part(n, 0), part(n, 1));
    } else if (p.name == "FN") {
      fullName = part(components(value), 0);
    } else if (p.name == "ADR") {
      // The first home address wins; before one is seen, the first address of any kind.
      const bool home = p.hasType("HOME");
      if (!haveHome && (home || !haveAddress)) setAddress(components(value), e);
      haveAddress = true;
      haveHome = haveHome || home;
    } else if (p.name == "CATEGORIES") {
      for (const std::string& item : listItems(value))
        if (const int k = detail::CategoryNamed(detail::Trimmed(item)); k > 0)
          e->ml[static_cast<std::size_t>(k - 1)] = 1;
    } else if (p.name == "ORG") {
      const std::vector<std::string> org = components(value);
      e->company = part(org, 0);
      e->department = part(org, 1);
    } else if (p.name == "TITLE") {
      e->title = part(components(value), 0);
    }
  }
  if (e->name.empty()) e->name = fullName;
  // A company's own card (the phone shows it as the company, or its only name is the
  // company's, as an iPhone writes FN for one) has no person to address: the entry builder
  // addresses it to the company.
  if (!e->company.empty() && (showAsCompany || e->name == e->company)) e->name.clear();
  return true;
}

}  // namespace

bool LooksLikeVCard(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  while (!bytes.empty() && (bytes.front() == '\r' || bytes.front() == '\n' ||
                            bytes.front() == ' ' || bytes.front() == '\t'))
    bytes.remove_prefix(1);
  return upper(bytes.substr(0, 11)) == "BEGIN:VCARD";
}

ImportRead ReadVCards(std::string_view bytes, const TextCodec& codec) {
  ImportRead read;
  read.format = ImportFormat::VCard;
  read.whereIsCard = true;
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  std::vector<Card> cards;
  int openCard = 0;
  if (!splitCards(bytes, &cards, &openCard)) {
    read.status = ImportRead::Status::Malformed;
    read.where = openCard;
    return read;
  }
  for (const Card& card : cards) {
    datatype utf8;
    if (!cardEntry(card, codec, &utf8)) {
      read.status = ImportRead::Status::InvalidText;
      read.where = card.number;
      read.entries.clear();
      return read;
    }
    if (!detail::AddReadEntry(utf8, card.number, codec, &read)) return read;
  }
  return read;
}

namespace {

// A text value escaped for vCard 3.0.
std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == ',' || c == ';') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c != '\r') {
      out += c;
    }
  }
  return out;
}

// The line folded at 75 octets, never inside a UTF-8 sequence, with CR LF after each part.
void appendFolded(std::string* out, std::string_view line) {
  constexpr std::size_t kLimit = 75;
  std::size_t width = kLimit;
  while (line.size() > width) {
    std::size_t cut = width;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    *out += line.substr(0, cut);
    *out += "\r\n ";
    line.remove_prefix(cut);
    width = kLimit - 1;  // the leading blank counts
  }
  *out += line;
  *out += "\r\n";
}

// Splits a code page 932 text at its first full-width space.
std::pair<std::string, std::string> splitAtSpace(std::string_view cp932) {
  for (std::size_t i = 0; i < cp932.size();) {
    if (cp932.substr(i).starts_with(kCp932Space))
      return {std::string(cp932.substr(0, i)), std::string(cp932.substr(i + 2))};
    const auto b = static_cast<unsigned char>(cp932[i]);
    i += ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 2 : 1;
  }
  return {std::string(cp932), {}};
}

}  // namespace

VCardExportResult BuildVCards(const AddressBook& book, const TextCodec& codec, std::string* out) {
  VCardExportResult result;
  out->clear();
  for (int i = 0; i < book.count(); ++i) {
    const datatype& e = book.entry(i);
    bool ok = true;
    auto utf8 = [&](std::string_view cp932) {
      std::string text;
      if (!codec.toUtf8(cp932, &text)) ok = false;
      return text;
    };
    const auto [family, given] = splitAtSpace(e.name);
    const auto [street, extended] = splitAtSpace(e.address);
    std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    appendFolded(&card, "N:" + escaped(utf8(family)) + ";" + escaped(utf8(given)) + ";;;");
    appendFolded(&card, "FN:" + escaped(utf8(e.name)));
    if (!e.address.empty() || !e.zip_code.empty())
      appendFolded(&card, "ADR;TYPE=HOME:;" + escaped(utf8(extended)) + ";" +
                              escaped(utf8(street)) + ";;;" + escaped(utf8(e.zip_code)) + ";");
    if (!e.company.empty() || !e.department.empty())
      appendFolded(&card,
                   "ORG:" + escaped(utf8(e.company)) +
                       (e.department.empty() ? std::string() : ";" + escaped(utf8(e.department))));
    if (!e.title.empty()) appendFolded(&card, "TITLE:" + escaped(utf8(e.title)));
    std::string categories;
    for (int k = 1; k <= kCategoryCount; ++k) {
      if (!e.inCategory(k)) continue;
      if (!categories.empty()) categories += ',';
      categories += escaped(detail::CategoryName(k));
    }
    if (!categories.empty()) appendFolded(&card, "CATEGORIES:" + categories);
    card += "END:VCARD\r\n";
    if (!ok) {
      result.status = VCardExportResult::Status::Refused;
      result.entry = i;
      out->clear();
      return result;
    }
    *out += card;
  }
  return result;
}

bool IsVCardPath(const std::filesystem::path& path) {
  return upper(path.extension().string()) == ".VCF";
}

VCardExportResult ExportVCards(const AddressBook& book, const std::filesystem::path& path,
                               const TextCodec& codec) {
  std::string text;
  VCardExportResult result = BuildVCards(book, codec, &text);
  if (result.status != VCardExportResult::Status::Written) return result;
  if (!WriteFileAtomically(path, text)) result.status = VCardExportResult::Status::WriteFailed;
  return result;
}

}  // namespace orivel
