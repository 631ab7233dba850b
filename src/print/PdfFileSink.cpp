#include "print/PdfFileSink.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace orivel {

void PreparePdfWriter(QPdfWriter& writer) {
  writer.setCreator(QStringLiteral("Orivel"));
  writer.setTitle(QStringLiteral("Orivel"));
  // Design pixels are 1/96 inch, so the page is drawn without scaling.
  writer.setResolution(static_cast<int>(kDesignPixelsPerInch));
}

PdfFileSink::PdfFileSink(const QString& path) : path_(path) {}

PdfFileSink::~PdfFileSink() {
  // An unfinished file is never committed: the one that was there stays.
  if (painter_ && painter_->isActive()) painter_->end();
}

bool PdfFileSink::printPage(const QPageLayout& layout, const PaintPage& paint) {
  if (failed_) return false;
  if (!file_) {
    file_ = std::make_unique<QSaveFile>(path_);
    writer_ = std::make_unique<QPdfWriter>(file_.get());
    PreparePdfWriter(*writer_);
    painter_ = std::make_unique<QPainter>();
    if (!file_->open(QIODevice::WriteOnly) || !writer_->setPageLayout(layout) ||
        !painter_->begin(writer_.get())) {
      failed_ = true;
      return false;
    }
  } else if (!writer_->setPageLayout(layout) || !writer_->newPage()) {
    failed_ = true;
    return false;
  }
  paint(*painter_, *writer_);
  return true;
}

bool PdfFileSink::finish() {
  if (failed_ || !file_) return false;
  if (!painter_->end()) return false;
  return file_->commit();
}

}  // namespace orivel

namespace orivel {

QString PdfFileSink::failureReason() const {
  return file_ ? file_->errorString() : QString();
}

}  // namespace orivel
