#include <QFileInfo>

#include "app/TForm1.h"
#include "common/Codec.h"
#include "common/Dialogs.h"
#include "files/CsvImport.h"

// The CSV import.

namespace {

bool utf8LineToCp932(std::string_view utf8, std::string* cp932) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  return orivel::codec::fromQString(text, cp932);
}

}  // namespace

bool TForm1::ParseCsvFlag(const std::string& text) {
  return orivel::ParseCsvFlag(text);
}

void TForm1::Button5Click() {
  ImportCsv();
}

void TForm1::ImportCsv() {
  const QString path = orivel::dialogs().openFileName(this, kCsvFilter);
  if (path.isEmpty()) return;
  StringGrid1.clearCells();
  if (!QFileInfo::exists(path)) {
    orivel::ShowError(this, QStringLiteral("ファイルがありません"));
    return;
  }
  const orivel::CsvRead read = orivel::ReadCsvFileForImport(orivel::filePath(path),
                                                            StringGrid1, utf8LineToCp932);
  if (read.status == orivel::CsvRead::Status::CannotOpen) {
    orivel::ShowError(this, QStringLiteral("読み込みに失敗しました。"));
    return;
  }
  if (read.status == orivel::CsvRead::Status::Unencodable) {
    orivel::ShowError(this,
                      QStringLiteral("%1行目に使用できない文字があります。").arg(read.badLine));
    return;
  }
  const orivel::CsvImportResult result = orivel::AppendGridRows(StringGrid1, Book);
  if (result.added > 0) Modified = true;
  if (result.leftOut > 0) {
    orivel::ShowInformation(
        this, QStringLiteral("登録できる件数（300件）を超えたため、%1件は読み込まれませんでした。")
                  .arg(result.leftOut));
  }
}
