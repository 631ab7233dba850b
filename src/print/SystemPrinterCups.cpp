// The system printer through CUPS: each card is drawn into a one-page PDF with QPdfWriter
// and submitted as a job of its own, as Qt's own CUPS support does with the PDF it makes.
#include <cups/cups.h>

#include <QBuffer>
#include <QByteArray>
#include <QLibrary>
#include <QPainter>
#include <QPdfWriter>
#include <type_traits>

#include "common/Messages.h"
#include "print/PdfFileSink.h"
#include "print/SystemPrinter.h"

namespace orivel {
namespace {

// libcups is loaded when the first card goes to a printer, not linked: with TLS, Kerberos
// and Avahi it would bring a third of the process's libraries (some 7 ms and 3.5 MB) to every
// command, though most write a PDF or no card at all.
struct CupsLibrary {
  decltype(&cupsGetNamedDest) getNamedDest = nullptr;
  decltype(&cupsFreeDests) freeDests = nullptr;
  decltype(&cupsCreateJob) createJob = nullptr;
  decltype(&cupsStartDocument) startDocument = nullptr;
  decltype(&cupsWriteRequestData) writeRequestData = nullptr;
  decltype(&cupsFinishDocument) finishDocument = nullptr;
  decltype(&cupsCancelJob2) cancelJob = nullptr;
  decltype(&cupsLastErrorString) lastErrorString = nullptr;
  bool complete = false;  // every function above was found

  // The library, or null when this system has none to load (no printing then).
  static const CupsLibrary* get() {
    static const CupsLibrary cups = load();
    return cups.complete ? &cups : nullptr;
  }

 private:
  static CupsLibrary load() {
    CupsLibrary cups;
    QLibrary library(QStringLiteral("cups"), 2);
    if (!library.load()) return cups;  // stays loaded for the process's life once it is
    const auto resolve = [&library](auto& function, const char* name) {
      function =
          reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
      return function != nullptr;
    };
    cups.complete = resolve(cups.getNamedDest, "cupsGetNamedDest") &&
                    resolve(cups.freeDests, "cupsFreeDests") &&
                    resolve(cups.createJob, "cupsCreateJob") &&
                    resolve(cups.startDocument, "cupsStartDocument") &&
                    resolve(cups.writeRequestData, "cupsWriteRequestData") &&
                    resolve(cups.finishDocument, "cupsFinishDocument") &&
                    resolve(cups.cancelJob, "cupsCancelJob2") &&
                    resolve(cups.lastErrorString, "cupsLastErrorString");
    return cups;
  }
};

class CupsPrinterSink final : public PrintSink {
 public:
  explicit CupsPrinterSink(const QString& printer) : printer_(printer.toUtf8()) {}

  bool printPage(const QPageLayout& layout, const PaintPage& paint) override {
    reason_.clear();
    QByteArray pdf;
    if (!drawPdf(layout, paint, &pdf)) {
      reason_ = messages::printerNotOpened();
      return false;
    }
    return submit(pdf);
  }

  QString failureReason() const override { return reason_; }

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
  bool submit(const QByteArray& pdf) {
    const CupsLibrary* cups = CupsLibrary::get();
    if (!cups) {
      reason_ = messages::printerNotOpened();
      return false;
    }
    cups_dest_t* dest = cups->getNamedDest(
        CUPS_HTTP_DEFAULT, printer_.isEmpty() ? nullptr : printer_.constData(), nullptr);
    if (!dest) {
      reason_ = printer_.isEmpty() ? messages::noDefaultPrinter()
                                   : messages::noSuchPrinter(QString::fromUtf8(printer_));
      return false;
    }
    bool ok = false;
    const int job = cups->createJob(CUPS_HTTP_DEFAULT, dest->name, "Orivel", 0, nullptr);
    if (job > 0) {
      if (cups->startDocument(CUPS_HTTP_DEFAULT, dest->name, job, "Orivel", CUPS_FORMAT_PDF, 1) ==
          HTTP_STATUS_CONTINUE) {
        const bool written =
            cups->writeRequestData(CUPS_HTTP_DEFAULT, pdf.constData(),
                                   static_cast<std::size_t>(pdf.size())) == HTTP_STATUS_CONTINUE;
        const ipp_status_t finished = cups->finishDocument(CUPS_HTTP_DEFAULT, dest->name);
        ok = written && finished <= IPP_STATUS_OK_EVENTS_COMPLETE;
      }
      if (!ok) {
        // The server's own words, before the cancel's answer replaces them.
        reason_ = QString::fromUtf8(cups->lastErrorString());
        cups->cancelJob(CUPS_HTTP_DEFAULT, dest->name, job, 0);
      }
    } else {
      reason_ = QString::fromUtf8(cups->lastErrorString());
    }
    if (!ok && reason_.isEmpty()) reason_ = messages::printJobNotAccepted();
    cups->freeDests(1, dest);
    return ok;
  }

  QByteArray printer_;
  QString reason_;
};

}  // namespace

std::unique_ptr<PrintSink> MakeSystemPrinterSink(const QString& printer) {
  return std::make_unique<CupsPrinterSink>(printer);
}

}  // namespace orivel
