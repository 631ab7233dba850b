// The system printer through CUPS: each card is drawn into a one-page PDF with QPdfWriter
// and submitted as a job of its own, as Qt's own CUPS support does with the PDF it makes.
#include <cups/cups.h>

#include <QBuffer>
#include <QByteArray>
#include <QPainter>
#include <QPdfWriter>

#include "print/PdfFileSink.h"
#include "print/SystemPrinter.h"

namespace orivel {
namespace {

class CupsPrinterSink final : public PrintSink {
 public:
  explicit CupsPrinterSink(const QString& printer) : printer_(printer.toUtf8()) {}

  bool printPage(const QPageLayout& layout, const PaintPage& paint) override {
    QByteArray pdf;
    if (!drawPdf(layout, paint, &pdf)) return false;
    return submit(pdf);
  }

 private:
  static bool drawPdf(const QPageLayout& layout, const PaintPage& paint, QByteArray* pdf) {
    QBuffer buffer(pdf);
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    QPdfWriter writer(&buffer);
    PreparePdfWriter(writer);
    if (!writer.setPageLayout(layout)) return false;
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    paint(painter, writer);
    return painter.end();
  }

  // One job on the destination; false when there is no such destination or the server
  // refused the job or its document (cupsLastError() tells which).
  bool submit(const QByteArray& pdf) const {
    cups_dest_t* dest = cupsGetNamedDest(
        CUPS_HTTP_DEFAULT, printer_.isEmpty() ? nullptr : printer_.constData(), nullptr);
    if (!dest) return false;
    bool ok = false;
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, dest->name, "Orivel", 0, nullptr);
    if (job > 0) {
      if (cupsStartDocument(CUPS_HTTP_DEFAULT, dest->name, job, "Orivel", CUPS_FORMAT_PDF, 1) ==
          HTTP_STATUS_CONTINUE) {
        const bool written =
            cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(),
                                 static_cast<std::size_t>(pdf.size())) == HTTP_STATUS_CONTINUE;
        const ipp_status_t finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, dest->name);
        ok = written && finished <= IPP_STATUS_OK_EVENTS_COMPLETE;
      }
      if (!ok) cupsCancelJob2(CUPS_HTTP_DEFAULT, dest->name, job, 0);
    }
    cupsFreeDests(1, dest);
    return ok;
  }

  QByteArray printer_;
};

}  // namespace

std::unique_ptr<PrintSink> MakeSystemPrinterSink(const QString& printer) {
  return std::make_unique<CupsPrinterSink>(printer);
}

}  // namespace orivel
