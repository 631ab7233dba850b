#pragma once

#include <QString>
#include <memory>

#include "print/PrintService.h"

class QPainter;
class QPdfWriter;
class QSaveFile;

namespace orivel {

// All cards into one PDF file, a page each, with real, searchable text. The file is
// replaced only once it is complete (at finish()).
class PdfFileSink final : public PrintSink {
 public:
  explicit PdfFileSink(const QString& path);
  ~PdfFileSink() override;

  bool printPage(const QPageLayout& layout, const PaintPage& paint) override;
  bool finish() override;
  PageTarget target() const override { return PageTarget::PdfFile; }
  QString failureReason() const override;

 private:
  QString path_;
  std::unique_ptr<QSaveFile> file_;
  std::unique_ptr<QPdfWriter> writer_;
  std::unique_ptr<QPainter> painter_;
  bool failed_ = false;
};

// Opens a PDF writer on `device` for pages drawn in design pixels: the creator and title
// the program's own, the resolution one dot a design pixel.
void PreparePdfWriter(QPdfWriter& writer);

}  // namespace orivel
