#include "exchange/ForeignBook.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>

#include "exchange/Rfc4180.h"
#include "exchange/VCard.h"
#include "files/BookFile.h"

namespace orivel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kIdeographicSpace = "\u3000";
constexpr std::string_view kSama = "様";

struct MeaningName {
  ColumnMeaning meaning;
  std::string_view name;
};
constexpr std::array<MeaningName, kColumnMeaningCount> kMeaningNames = {{
    {ColumnMeaning::Unused, "使わない"},
    {ColumnMeaning::Name, "名前"},
    {ColumnMeaning::FamilyName, "姓"},
    {ColumnMeaning::GivenName, "名"},
    {ColumnMeaning::ZipCode, "郵便番号"},
    {ColumnMeaning::Address, "住所"},
    {ColumnMeaning::Address1, "住所1"},
    {ColumnMeaning::Address2, "住所2"},
    {ColumnMeaning::Building, "建物"},
    {ColumnMeaning::Honorific, "敬称"},
    {ColumnMeaning::Joint, "連名"},
    {ColumnMeaning::Company, "会社"},
    {ColumnMeaning::Department, "部署"},
    {ColumnMeaning::Title, "役職"},
}};

constexpr std::array<std::string_view, kCategoryCount> kCategoryNames = {
    "年賀状", "暑中見舞い", "バースデー", "クリスマス", "その他１", "その他２"};

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Header cells compared without blanks, with full-width brackets and digits as ASCII.
std::string normalizedHeader(std::string_view cell) {
  static const std::pair<std::string_view, std::string_view> kWide[] = {
      {"（", "("}, {"）", ")"}, {"：", ":"}, {"１", "1"}, {"２", "2"},
      {"３", "3"}, {"４", "4"}, {"５", "5"}, {"　", ""},
  };
  std::string out;
  for (std::size_t i = 0; i < cell.size();) {
    bool replaced = false;
    for (const auto& [wide, narrow] : kWide) {
      if (cell.substr(i).starts_with(wide)) {
        out += narrow;
        i += wide.size();
        replaced = true;
        break;
      }
    }
    if (replaced) continue;
    if (cell[i] != ' ' && cell[i] != '\t') out += cell[i];
    ++i;
  }
  return out;
}

// The columns of a header by their normalized names.
class Header {
 public:
  explicit Header(const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i)
      columns_.emplace(normalizedHeader(cells[i]), static_cast<int>(i));
  }
  int column(std::string_view name) const {
    const auto it = columns_.find(normalizedHeader(name));
    return it == columns_.end() ? -1 : it->second;
  }
  bool has(std::string_view name) const { return column(name) >= 0; }

 private:
  std::multimap<std::string, int> columns_;  // a name twice: the first column counts
};

std::string cell(const CsvRecord& record, int column) {
  if (column < 0 || static_cast<std::size_t>(column) >= record.fields.size()) return {};
  return detail::Trimmed(record.fields[static_cast<std::size_t>(column)]);
}

std::string orSama(std::string honorific) {
  return honorific.empty() ? std::string(kSama) : honorific;
}

std::string_view withoutBom(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  return bytes;
}

std::string_view firstLine(std::string_view bytes) {
  const std::size_t end = bytes.find('\n');
  std::string_view line = bytes.substr(0, end);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

bool isKitHeader(const Header& h) {
  return h.has("氏名(姓)") || h.has("氏名(名)");
}

bool isGoogleHeader(const Header& h) {
  return (h.has("First Name") || h.has("Given Name")) &&
         (h.has("Last Name") || h.has("Family Name"));
}

// --- はがきデザインキット ---

datatype kitEntry(const Header& h, const CsvRecord& r) {
  datatype e;
  const std::string family = cell(r, h.column("氏名(姓)"));
  e.name = detail::JoinName(family, cell(r, h.column("氏名(名)")));
  e.sama = orSama(cell(r, h.column("敬称")));
  e.zip_code = NormalizedZipCode(cell(r, h.column("郵便番号(自宅欄)")));
  e.address = detail::JoinAddress(
      cell(r, h.column("自宅住所(都道府県)")), cell(r, h.column("自宅住所(市区町村)")),
      cell(r, h.column("自宅住所(番地等)")), cell(r, h.column("自宅住所(建物名)")));
  e.company = cell(r, h.column("会社名(会社欄)"));
  e.department = cell(r, h.column("部署名(会社欄)"));
  e.title = cell(r, h.column("役職(会社欄)"));
  for (int k = 1; k <= kMaxJoints; ++k) {
    const std::string n = std::to_string(k);
    std::string jointFamily = cell(r, h.column("連名" + n + "(姓:自宅欄)"));
    const std::string given = cell(r, h.column("連名" + n + "(名:自宅欄)"));
    if (jointFamily.empty() && given.empty()) continue;
    // The family's own surname is left out, so that the joint prints as a given name.
    if (jointFamily == family && !given.empty()) jointFamily.clear();
    e.joints.push_back({detail::JoinName(jointFamily, given),
                        orSama(cell(r, h.column("連名" + n + "(敬称:自宅欄)")))});
  }
  return e;
}

// --- Google Contacts ---

std::string firstOf(const Header& h, const CsvRecord& r,
                    std::initializer_list<std::string_view> names) {
  for (std::string_view name : names)
    if (const int c = h.column(name); c >= 0) return cell(r, c);
  return {};
}

bool labelled(std::string_view label, std::string_view wanted) {
  std::string lower;
  for (char c : label) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return contains(lower, wanted);
}

void setCategoriesFromLabels(std::string_view labels, datatype* e) {
  // "* myContacts ::: 年賀状 ::: Family"
  std::size_t start = 0;
  while (start <= labels.size()) {
    std::size_t end = labels.find(":::", start);
    if (end == std::string_view::npos) end = labels.size();
    std::string label = detail::Trimmed(labels.substr(start, end - start));
    if (label.starts_with("* ")) label = detail::Trimmed(std::string_view(label).substr(2));
    if (const int k = detail::CategoryNamed(label); k > 0)
      e->ml[static_cast<std::size_t>(k - 1)] = 1;
    start = end + 3;
  }
}

datatype googleEntry(const Header& h, const CsvRecord& r) {
  datatype e;
  e.name = detail::JoinName(firstOf(h, r, {"Last Name", "Family Name"}),
                            firstOf(h, r, {"First Name", "Given Name"}));
  if (e.name.empty()) e.name = firstOf(h, r, {"Name"});
  e.sama = std::string(kSama);
  // The first address labelled Home, else the first one given.
  int chosen = 0;
  for (int n = 1; n <= 9 && chosen == 0; ++n) {
    const std::string p = "Address " + std::to_string(n) + " - ";
    if (!h.has(p + "Label") && !h.has(p + "Type")) continue;
    if (labelled(firstOf(h, r, {p + "Label", p + "Type"}), "home")) chosen = n;
  }
  for (int n = 1; n <= 9 && chosen == 0; ++n) {
    const std::string p = "Address " + std::to_string(n) + " - ";
    if (!firstOf(h, r, {p + "Street"}).empty() || !firstOf(h, r, {p + "City"}).empty() ||
        !firstOf(h, r, {p + "Region"}).empty() || !firstOf(h, r, {p + "Formatted"}).empty())
      chosen = n;
  }
  if (chosen > 0) {
    const std::string p = "Address " + std::to_string(chosen) + " - ";
    std::string street = firstOf(h, r, {p + "Street"});
    std::string extended = firstOf(h, r, {p + "Extended Address"});
    // A street of several lines: the first line is the street, the rest the building.
    if (const std::size_t br = street.find('\n'); br != std::string::npos && extended.empty()) {
      extended = detail::Trimmed(std::string_view(street).substr(br + 1));
      street = detail::Trimmed(std::string_view(street).substr(0, br));
    }
    e.address = detail::JoinAddress(firstOf(h, r, {p + "Region"}), firstOf(h, r, {p + "City"}),
                                    street, extended);
    if (e.address.empty()) {
      // Only the formatted text: its lines, the first as the address, the rest after a space.
      std::string formatted = firstOf(h, r, {p + "Formatted"});
      std::replace(formatted.begin(), formatted.end(), '\r', '\n');
      std::string joined;
      std::size_t start = 0;
      while (start <= formatted.size()) {
        std::size_t end = formatted.find('\n', start);
        if (end == std::string::npos) end = formatted.size();
        const std::string part =
            detail::Trimmed(std::string_view(formatted).substr(start, end - start));
        if (!part.empty()) {
          if (!joined.empty()) joined += kIdeographicSpace;
          joined += part;
        }
        start = end + 1;
      }
      e.address = joined;
    }
    e.zip_code = NormalizedZipCode(firstOf(h, r, {p + "Postal Code"}));
  }
  e.company = firstOf(h, r, {"Organization Name", "Organization 1 - Name"});
  e.department = firstOf(h, r, {"Organization Department", "Organization 1 - Department"});
  e.title = firstOf(h, r, {"Organization Title", "Organization 1 - Title"});
  setCategoriesFromLabels(firstOf(h, r, {"Labels", "Group Membership"}), &e);
  return e;
}

// --- Any CSV with a header ---

datatype mappedEntry(const std::vector<ColumnMeaning>& meanings, const CsvRecord& r) {
  std::map<ColumnMeaning, std::string> first;
  std::string address1, address2;
  datatype e;
  for (std::size_t c = 0; c < meanings.size(); ++c) {
    const std::string text = cell(r, static_cast<int>(c));
    if (text.empty()) continue;
    switch (meanings[c]) {
      case ColumnMeaning::Unused:
        break;
      case ColumnMeaning::Joint:
        if (static_cast<int>(e.joints.size()) < kMaxJoints)
          e.joints.push_back({text, std::string(kSama)});
        break;
      default:
        first.try_emplace(meanings[c], text);
    }
  }
  auto get = [&](ColumnMeaning m) {
    const auto it = first.find(m);
    return it == first.end() ? std::string() : it->second;
  };
  e.name = get(ColumnMeaning::Name);
  if (e.name.empty())
    e.name = detail::JoinName(get(ColumnMeaning::FamilyName), get(ColumnMeaning::GivenName));
  std::string street = get(ColumnMeaning::Address);
  if (street.empty()) street = get(ColumnMeaning::Address1) + get(ColumnMeaning::Address2);
  e.address = detail::JoinAddress({}, {}, street, get(ColumnMeaning::Building));
  e.zip_code = NormalizedZipCode(get(ColumnMeaning::ZipCode));
  e.sama = orSama(get(ColumnMeaning::Honorific));
  e.company = get(ColumnMeaning::Company);
  e.department = get(ColumnMeaning::Department);
  e.title = get(ColumnMeaning::Title);
  return e;
}

ImportRead readCsvBook(std::string_view bytes, ImportFormat format, const TextCodec& codec,
                       const std::vector<ColumnMeaning>& meanings) {
  ImportRead read;
  read.format = format;
  std::string text;
  int badLine = 0;
  if (!detail::DecodeText(bytes, codec, &text, &badLine)) {
    read.status = ImportRead::Status::InvalidText;
    read.where = badLine;
    return read;
  }
  const CsvTable table = ParseRfc4180(text);
  if (table.unclosedQuoteLine > 0) {
    read.status = ImportRead::Status::Malformed;
    read.where = table.unclosedQuoteLine;
    return read;
  }
  if (table.records.empty()) return read;
  const Header header(table.records.front().fields);
  for (std::size_t i = 1; i < table.records.size(); ++i) {
    const CsvRecord& r = table.records[i];
    datatype utf8;
    if (format == ImportFormat::HagakiKit)
      utf8 = kitEntry(header, r);
    else if (format == ImportFormat::GoogleContacts)
      utf8 = googleEntry(header, r);
    else
      utf8 = mappedEntry(meanings, r);
    if (!detail::AddReadEntry(utf8, r.line, codec, &read)) return read;
  }
  return read;
}

// The guesses of a header, or nothing known.
std::vector<ColumnMeaning> guesses(const std::vector<std::string>& header) {
  std::vector<ColumnMeaning> out;
  for (const std::string& cell : header) out.push_back(GuessColumnMeaning(cell));
  return out;
}

}  // namespace

std::string_view ColumnMeaningName(ColumnMeaning meaning) {
  for (const MeaningName& m : kMeaningNames)
    if (m.meaning == meaning) return m.name;
  return {};
}

std::optional<ColumnMeaning> ColumnMeaningFromName(std::string_view utf8) {
  const std::string name = normalizedHeader(utf8);
  if (name == "〒") return ColumnMeaning::ZipCode;
  for (const MeaningName& m : kMeaningNames)
    if (normalizedHeader(m.name) == name) return m.meaning;
  return std::nullopt;
}

ColumnMeaning GuessColumnMeaning(std::string_view headerUtf8) {
  const std::string h = normalizedHeader(headerUtf8);
  if (h.empty()) return ColumnMeaning::Unused;
  // The more particular names first: "連名1(姓)" is a joint, "会社住所" no home address.
  if (contains(h, "連名")) return ColumnMeaning::Joint;
  if (contains(h, "敬称")) return ColumnMeaning::Honorific;
  if (contains(h, "郵便") || contains(h, "〒")) return ColumnMeaning::ZipCode;
  if (contains(h, "会社") || contains(h, "勤務先")) return ColumnMeaning::Company;
  if (contains(h, "部署")) return ColumnMeaning::Department;
  if (contains(h, "役職")) return ColumnMeaning::Title;
  if (contains(h, "建物") || contains(h, "マンション") || contains(h, "ビル名"))
    return ColumnMeaning::Building;
  if (contains(h, "住所1") || contains(h, "住所(1)")) return ColumnMeaning::Address1;
  if (contains(h, "住所2") || contains(h, "住所(2)")) return ColumnMeaning::Address2;
  if (contains(h, "住所")) return ColumnMeaning::Address;
  if (contains(h, "フリガナ") || contains(h, "ふりがな") || contains(h, "カナ"))
    return ColumnMeaning::Unused;
  if (h == "姓" || contains(h, "(姓)") || contains(h, "苗字") || contains(h, "名字"))
    return ColumnMeaning::FamilyName;
  if (h == "名" || contains(h, "(名)")) return ColumnMeaning::GivenName;
  if (contains(h, "名前") || contains(h, "氏名") || h == "宛名") return ColumnMeaning::Name;
  return ColumnMeaning::Unused;
}

std::string NormalizedZipCode(std::string_view utf8) {
  std::string digits;
  bool other = false;
  const std::string trimmed = detail::Trimmed(utf8);
  for (std::size_t i = 0; i < trimmed.size();) {
    const unsigned char b = static_cast<unsigned char>(trimmed[i]);
    if (b >= '0' && b <= '9') {
      digits += static_cast<char>(b);
      ++i;
    } else if (b == 0xEF && i + 3 <= trimmed.size() &&
               static_cast<unsigned char>(trimmed[i + 1]) == 0xBC &&
               static_cast<unsigned char>(trimmed[i + 2]) >= 0x90 &&
               static_cast<unsigned char>(trimmed[i + 2]) <= 0x99) {
      // Full-width digits: EF BC 90 .. EF BC 99.
      digits += static_cast<char>('0' + (static_cast<unsigned char>(trimmed[i + 2]) - 0x90));
      i += 3;
    } else if (trimmed[i] == '-') {
      ++i;
    } else if (trimmed.compare(i, 3, "ー") == 0 || trimmed.compare(i, 3, "－") == 0 ||
               trimmed.compare(i, 3, "〒") == 0) {
      i += 3;
    } else {
      other = true;
      break;
    }
  }
  if (other || digits.size() != 7) return trimmed;
  return digits.substr(0, 3) + "-" + digits.substr(3);
}

ImportFormat DetectImportFormat(std::string_view bytes, const TextCodec& codec) {
  if (bytes.find('\0') != std::string_view::npos) return ImportFormat::Unknown;
  if (LooksLikeVCard(bytes)) return ImportFormat::VCard;
  // The header line decides; a header that does not decode is the program's own form,
  // which takes any bytes.
  const std::string_view line = firstLine(withoutBom(bytes));
  std::string header;
  if (IsValidUtf8(line)) {
    header = std::string(line);
  } else if (!codec.toUtf8(line, &header)) {
    return ImportFormat::Orivel;
  }
  const CsvTable table = ParseRfc4180(header);
  if (table.records.empty()) return ImportFormat::Orivel;
  const std::vector<std::string>& cells = table.records.front().fields;
  const Header h(cells);
  if (isKitHeader(h)) return ImportFormat::HagakiKit;
  if (isGoogleHeader(h)) return ImportFormat::GoogleContacts;
  // Another program's table names a column for the person; the program's own file may have
  // any header at all, so a header that names nobody is the program's own.
  const std::vector<ColumnMeaning> guessed = guesses(cells);
  const bool namesSomeone = std::any_of(guessed.begin(), guessed.end(), [](ColumnMeaning m) {
    return m == ColumnMeaning::Name || m == ColumnMeaning::FamilyName ||
           m == ColumnMeaning::GivenName;
  });
  if (!namesSomeone) return ImportFormat::Orivel;
  // A header that names the program's own first columns is the program's own file.
  auto at = [&](std::size_t i) { return i < guessed.size() ? guessed[i] : ColumnMeaning::Unused; };
  if (at(0) == ColumnMeaning::Name &&
      (at(1) == ColumnMeaning::ZipCode || at(2) == ColumnMeaning::Address))
    return ImportFormat::Orivel;
  return ImportFormat::OtherCsv;
}

std::optional<CsvPreview> PreviewCsv(std::string_view bytes, const TextCodec& codec, int maxRows) {
  std::string text;
  int badLine = 0;
  if (!detail::DecodeText(bytes, codec, &text, &badLine)) return std::nullopt;
  const CsvTable table = ParseRfc4180(text);
  if (table.unclosedQuoteLine > 0 || table.records.empty()) return std::nullopt;
  CsvPreview preview;
  preview.header = table.records.front().fields;
  preview.guesses = guesses(preview.header);
  for (std::size_t i = 1; i < table.records.size() && static_cast<int>(i) <= maxRows; ++i)
    preview.rows.push_back(table.records[i].fields);
  return preview;
}

ImportRead ReadForeignBook(std::string_view bytes, ImportFormat format, const TextCodec& codec,
                           const std::vector<ColumnMeaning>& meanings) {
  switch (format) {
    case ImportFormat::VCard:
      return ReadVCards(bytes, codec);
    case ImportFormat::HagakiKit:
    case ImportFormat::GoogleContacts:
    case ImportFormat::OtherCsv:
      return readCsvBook(bytes, format, codec, meanings);
    case ImportFormat::Orivel:
    case ImportFormat::Unknown:
      break;
  }
  ImportRead read;
  read.status = ImportRead::Status::UnknownFormat;
  read.format = format;
  return read;
}

namespace detail {

bool DecodeText(std::string_view bytes, const TextCodec& codec, std::string* utf8, int* badLine) {
  const bool bom = bytes.starts_with(kUtf8Bom);
  bytes = withoutBom(bytes);
  if (bom || IsValidUtf8(bytes)) {
    if (!IsValidUtf8(bytes)) {
      // Name the first line that is not UTF-8.
      int line = 1;
      std::size_t start = 0;
      while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        if (!IsValidUtf8(bytes.substr(start, end - start))) break;
        start = end + 1;
        ++line;
      }
      *badLine = line;
      return false;
    }
    *utf8 = std::string(bytes);
    return true;
  }
  // Code page 932 line by line, so that a line that does not decode can be named.
  utf8->clear();
  int line = 1;
  std::size_t start = 0;
  while (start <= bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = bytes.size();
    std::string decoded;
    if (!codec.toUtf8(bytes.substr(start, end - start), &decoded)) {
      *badLine = line;
      return false;
    }
    *utf8 += decoded;
    if (last) break;
    *utf8 += '\n';
    start = end + 1;
    ++line;
  }
  return true;
}

bool EncodeEntry(const datatype& utf8Entry, const TextCodec& codec, datatype* cp932,
                 std::string* bad) {
  *cp932 = utf8Entry;
  auto encode = [&](std::string* text) {
    std::string out;
    if (!codec.toCp932(*text, &out, bad)) return false;
    *text = std::move(out);
    return true;
  };
  if (!encode(&cp932->name) || !encode(&cp932->address) || !encode(&cp932->zip_code) ||
      !encode(&cp932->sama) || !encode(&cp932->company) || !encode(&cp932->department) ||
      !encode(&cp932->title))
    return false;
  for (JointName& joint : cp932->joints)
    if (!encode(&joint.name) || !encode(&joint.sama)) return false;
  cp932->joints = KeptJoints(cp932->joints);
  return true;
}

std::string OneLine(std::string_view text) {
  std::string out;
  bool inBreak = false;
  for (char c : text) {
    const bool lineBreak = c == '\r' || c == '\n';
    if (lineBreak && !inBreak) out += kIdeographicSpace;
    if (!lineBreak) out += c;
    inBreak = lineBreak;
  }
  return out;
}

bool AddReadEntry(const datatype& utf8Entry, int where, const TextCodec& codec, ImportRead* read) {
  datatype flat = utf8Entry;
  // A contact that is only a company is a card to the company: its name in the name field,
  // 御中, and its department as it was.
  if (flat.name.empty() && !flat.company.empty()) {
    flat.name = std::move(flat.company);
    flat.company.clear();
    flat.sama = "御中";
  }
  if (flat.name.empty()) {  // a record without a name is no addressee
    ++read->nameless;
    return true;
  }
  // A cell of several lines (a line break typed in a spreadsheet, a vCard's \n) is one line
  // of the book: the book file ends a value at a line break.
  for (std::string* text : {&flat.name, &flat.address, &flat.zip_code, &flat.sama, &flat.company,
                            &flat.department, &flat.title})
    *text = OneLine(*text);
  for (JointName& joint : flat.joints) {
    joint.name = OneLine(joint.name);
    joint.sama = OneLine(joint.sama);
  }
  datatype entry;
  ImportRead::Status refusal = ImportRead::Status::Read;
  if (!EncodeEntry(flat, codec, &entry, &read->badCharacter))
    refusal = ImportRead::Status::Unencodable;
  else if (!BookKeepsName(entry.name))
    refusal = ImportRead::Status::NameNotKept;
  if (refusal == ImportRead::Status::Read) {
    read->entries.push_back(std::move(entry));
    return true;
  }
  read->status = refusal;
  read->where = where;
  read->entries.clear();
  return false;
}

int CategoryNamed(std::string_view utf8) {
  const std::string name = normalizedHeader(utf8);
  for (std::size_t k = 0; k < kCategoryNames.size(); ++k)
    if (normalizedHeader(kCategoryNames[k]) == name) return static_cast<int>(k) + 1;
  return 0;
}

std::string_view CategoryName(int k) {
  return k >= 1 && k <= kCategoryCount ? kCategoryNames[static_cast<std::size_t>(k - 1)]
                                       : std::string_view();
}

std::string JoinName(std::string_view family, std::string_view given) {
  if (family.empty()) return std::string(given);
  if (given.empty()) return std::string(family);
  return std::string(family) + std::string(kIdeographicSpace) + std::string(given);
}

std::string JoinAddress(std::string_view region, std::string_view locality, std::string_view street,
                        std::string_view building) {
  std::string address = std::string(region) + std::string(locality) + std::string(street);
  if (!building.empty()) {
    if (!address.empty()) address += kIdeographicSpace;
    address += building;
  }
  return address;
}

std::string Trimmed(std::string_view text) {
  // ASCII blanks and the full-width space at either end.
  for (;;) {
    if (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' ||
                          text.front() == '\n'))
      text.remove_prefix(1);
    else if (text.starts_with(kIdeographicSpace))
      text.remove_prefix(kIdeographicSpace.size());
    else
      break;
  }
  for (;;) {
    if (!text.empty() &&
        (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
      text.remove_suffix(1);
    else if (text.ends_with(kIdeographicSpace))
      text.remove_suffix(kIdeographicSpace.size());
    else
      break;
  }
  return std::string(text);
}

}  // namespace detail
}  // namespace orivel
