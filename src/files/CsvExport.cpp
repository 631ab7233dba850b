#include "files/CsvExport.h"

#include <string_view>

#include "files/AtomicWrite.h"
#include "files/Cp932Bytes.h"
#include "files/CsvImport.h"

namespace orivel {
namespace {

// 名前,郵便番号,住所,年賀状,暑中見舞い,バースデー,クリスマス,その他１,その他２,敬称
constexpr std::string_view kHeader =
    "\x96\xBC\x91\x4F,"
    "\x97\x58\x95\xD6\x94\xD4\x8D\x86,"
    "\x8F\x5A\x8F\x8A,"
    "\x94\x4E\x89\xEA\x8F\xF3,"
    "\x8F\x8B\x92\x86\x8C\xA9\x95\x91\x82\xA2,"
    "\x83\x6F\x81\x5B\x83\x58\x83\x66\x81\x5B,"
    "\x83\x4E\x83\x8A\x83\x58\x83\x7D\x83\x58,"
    "\x82\xBB\x82\xCC\x91\xBC\x82\x50,"
    "\x82\xBB\x82\xCC\x91\xBC\x82\x51,"
    "\x8C\x68\x8F\xCC";
constexpr std::string_view kMark = "\x81\x9B";  // ○
constexpr std::string_view kLineEnd = "\r\n";

// What the import would split a field at: no trail byte of a double-byte character can be
// one of these, so a byte-wise look is exact.
bool refused(std::string_view text, CsvExportResult::Reason* reason) {
  for (char c : text) {
    if (c == ',') {
      *reason = CsvExportResult::Reason::Comma;
      return true;
    }
    if (c == '\n' || c == '\r') {
      *reason = CsvExportResult::Reason::LineBreak;
      return true;
    }
    if (c == cp932::kCtrlZ) {
      *reason = CsvExportResult::Reason::ControlCharacter;
      return true;
    }
  }
  return false;
}

}  // namespace

CsvExportResult BuildCsv(const AddressBook& book, std::string* csv) {
  csv->clear();
  csv->append(kHeader);
  bool named = false;
  for (int i = 0; i < book.count() && !named; ++i) named = book.entry(i).usesJointOrCompany();
  if (named)
    for (const std::string& header : NamedColumnHeaders()) csv->append(",").append(header);
  csv->append(kLineEnd);
  for (int i = 0; i < book.count(); ++i) {
    const datatype& e = book.entry(i);
    CsvExportResult result;
    result.entry = i;
    if (e.name.empty()) {
      result.status = CsvExportResult::Status::Refused;
      result.reason = CsvExportResult::Reason::EmptyName;
      return result;
    }
    std::vector<std::pair<CsvField, const std::string*>> fields = {{CsvField::Name, &e.name},
                                                                   {CsvField::ZipCode, &e.zip_code},
                                                                   {CsvField::Address, &e.address},
                                                                   {CsvField::Honorific, &e.sama}};
    // The named columns follow the honorific, in the order of their headers; a joint the
    // entry lacks is empty.
    static const std::string kNone;
    constexpr std::size_t kFirstNamed = 4;
    if (named) {
      for (std::size_t k = 0; k < static_cast<std::size_t>(kMaxJoints); ++k) {
        const bool has = k < e.joints.size();
        fields.push_back({CsvField::JointName, has ? &e.joints[k].name : &kNone});
        fields.push_back({CsvField::JointHonorific, has ? &e.joints[k].sama : &kNone});
      }
      fields.push_back({CsvField::Company, &e.company});
      fields.push_back({CsvField::Department, &e.department});
      fields.push_back({CsvField::Title, &e.title});
    }
    for (const auto& [field, text] : fields) {
      if (refused(*text, &result.reason)) {
        result.status = CsvExportResult::Status::Refused;
        result.field = field;
        return result;
      }
    }
    csv->append(e.name).append(",").append(e.zip_code).append(",").append(e.address);
    for (int k = 1; k <= kCategoryCount; ++k) {
      csv->append(",");
      if (e.inCategory(k)) csv->append(kMark);
    }
    csv->append(",").append(e.sama);
    for (std::size_t f = kFirstNamed; f < fields.size(); ++f)
      csv->append(",").append(*fields[f].second);
    csv->append(kLineEnd);
  }
  return {};
}

CsvExportResult ExportCsv(const AddressBook& book, const std::filesystem::path& path) {
  std::string csv;
  CsvExportResult result = BuildCsv(book, &csv);
  if (result.status != CsvExportResult::Status::Written) return result;
  if (!WriteFileAtomically(path, csv)) result.status = CsvExportResult::Status::WriteFailed;
  return result;
}

}  // namespace orivel
