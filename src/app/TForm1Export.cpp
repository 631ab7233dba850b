#include <QFileInfo>

#include "app/TForm1.h"
#include "common/Codec.h"
#include "common/Dialogs.h"
#include "common/Messages.h"
#include "exchange/VCard.h"
#include "files/CsvExport.h"
#include "files/FileMessages.h"

// The export: CSV, or vCard for a name ending in .vcf.

void TForm1::Button6Click() {
  QString path = orivel::dialogs().saveFileName(this, orivel::messages::csvExportFilter(), {});
  if (path.isEmpty()) return;
  // The dialog's default extension: a name typed without one gets ".csv".
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
  if (orivel::IsVCardPath(orivel::filePath(path))) {
    const QString failure = orivel::messages::vcardExportFailure(
        orivel::ExportVCards(Book, orivel::filePath(path), orivel::codec::textCodec()));
    if (!failure.isEmpty()) orivel::ShowError(this, failure);
    return;
  }
  const orivel::CsvExportResult result = orivel::ExportCsv(Book, orivel::filePath(path));
  switch (result.status) {
    case orivel::CsvExportResult::Status::Written:
      break;
    case orivel::CsvExportResult::Status::Refused:
      orivel::ShowError(this, orivel::messages::csvExportRefusal(result));
      break;
    case orivel::CsvExportResult::Status::WriteFailed:
      orivel::ShowError(this, orivel::messages::saveFailed());
      break;
  }
}
