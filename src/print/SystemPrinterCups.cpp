// The system printer through CUPS's destination API, for the windows and orivel-cli alike:
// before the first card the destination is asked whether it takes postcards; each card is
// then drawn into a one-page PDF of the card's own size and submitted as a job of its own,
// asking for ハガキ at full size, so that no filter of the queue scales or turns it.
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

// The paper every job asks for; CUPS maps it onto the driver's own name for the size (a
// PPD's "Postcard").
constexpr const char* kPostcardMedia = "jpn_hagaki_100x148mm";

// libcups is loaded when the first card goes to a printer, not linked: with TLS, Kerberos
// and Avahi it would bring a third of the process's libraries (some 7 ms and 3.5 MB) to every
// command, though most write a PDF or no card at all.
struct CupsLibrary {
  decltype(&cupsGetNamedDest) getNamedDest = nullptr;
  decltype(&cupsFreeDests) freeDests = nullptr;
  decltype(&cupsGetOption) getOption = nullptr;
  decltype(&cupsAddOption) addOption = nullptr;
  decltype(&cupsFreeOptions) freeOptions = nullptr;
  decltype(&cupsCopyDestInfo) copyDestInfo = nullptr;
  decltype(&cupsFreeDestInfo) freeDestInfo = nullptr;
  decltype(&cupsFindDestSupported) findDestSupported = nullptr;
  decltype(&cupsGetDestMediaByName) getDestMediaByName = nullptr;
  decltype(&cupsCreateDestJob) createDestJob = nullptr;
  decltype(&cupsStartDestDocument) startDestDocument = nullptr;
  decltype(&cupsWriteRequestData) writeRequestData = nullptr;
  decltype(&cupsFinishDestDocument) finishDestDocument = nullptr;
  decltype(&cupsCancelDestJob) cancelDestJob = nullptr;
  decltype(&cupsLastErrorString) lastErrorString = nullptr;
  decltype(&cupsServer) server = nullptr;
  decltype(&ippPort) port = nullptr;
  decltype(&httpConnect2) connect = nullptr;
  decltype(&httpClose) close = nullptr;
  bool complete = false;  // every function above was found

  // The library, or null when this system has none to load (no printing then).
  static const CupsLibrary* get() {
    static const CupsLibrary cups = load();
    return cups.complete ? &cups : nullptr;
  }

  // Whether the scheduler answers at all: CUPS reports a destination it could not ask for
  // as one that does not exist.
  bool serverAnswers() const {
    http_t* http = connect(server(), port(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1,
                           5000, nullptr);
    if (!http) return false;
    close(http);
    return true;
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
    cups.complete =
        resolve(cups.getNamedDest, "cupsGetNamedDest") &&
        resolve(cups.freeDests, "cupsFreeDests") && resolve(cups.getOption, "cupsGetOption") &&
        resolve(cups.addOption, "cupsAddOption") && resolve(cups.freeOptions, "cupsFreeOptions") &&
        resolve(cups.copyDestInfo, "cupsCopyDestInfo") &&
        resolve(cups.freeDestInfo, "cupsFreeDestInfo") &&
        resolve(cups.findDestSupported, "cupsFindDestSupported") &&
        resolve(cups.getDestMediaByName, "cupsGetDestMediaByName") &&
        resolve(cups.createDestJob, "cupsCreateDestJob") &&
        resolve(cups.startDestDocument, "cupsStartDestDocument") &&
        resolve(cups.writeRequestData, "cupsWriteRequestData") &&
        resolve(cups.finishDestDocument, "cupsFinishDestDocument") &&
        resolve(cups.cancelDestJob, "cupsCancelDestJob") &&
        resolve(cups.lastErrorString, "cupsLastErrorString") &&
        resolve(cups.server, "cupsServer") && resolve(cups.port, "ippPort") &&
        resolve(cups.connect, "httpConnect2") && resolve(cups.close, "httpClose");
    return cups;
  }
};

class CupsPrinterSink final : public PrintSink {
 public:
  explicit CupsPrinterSink(const QString& printer) : printer_(printer.toUtf8()) {}
  ~CupsPrinterSink() override { release(); }

  bool begin() override {
    release();
    reason_.clear();
    cups_ = CupsLibrary::get();
    if (!cups_) return fail(messages::printerNotOpened());
    dest_ = cups_->getNamedDest(CUPS_HTTP_DEFAULT,
                                printer_.isEmpty() ? nullptr : printer_.constData(), nullptr);
    if (!dest_) {
      if (!cups_->serverAnswers()) return fail(messages::printSystemUnreachable());
      return fail(printer_.isEmpty() ? messages::noDefaultPrinter()
                                     : messages::noSuchPrinter(QString::fromUtf8(printer_)));
    }
    const QString shown = shownName();
    if (option("printer-state") == QByteArrayLiteral("5"))
      return fail(messages::printerStopped(shown));
    if (option("printer-is-accepting-jobs") == QByteArrayLiteral("false"))
      return fail(messages::printerNotAccepting(shown));
    info_ = cups_->copyDestInfo(CUPS_HTTP_DEFAULT, dest_);
    if (!info_) return fail(said());
    // A destination that lists its sizes must list ハガキ. One that lists none (a raw queue)
    // says nothing of its paper and is taken at its word.
    media_ = kPostcardMedia;
    if (cups_->findDestSupported(CUPS_HTTP_DEFAULT, dest_, info_, CUPS_MEDIA)) {
      cups_size_t size{};
      if (!cups_->getDestMediaByName(CUPS_HTTP_DEFAULT, dest_, info_, kPostcardMedia,
                                     CUPS_MEDIA_FLAGS_DEFAULT, &size))
        return fail(messages::noPostcardPaper(shown));
      media_ = size.media;
    }
    return true;
  }

  bool printPage(const QPageLayout& layout, const PaintPage& paint) override {
    if (!info_) return false;  // begin() failed or was not called
    QByteArray pdf;
    if (!drawPdf(layout, paint, &pdf)) return fail(messages::printerNotOpened());
    return submit(pdf);
  }

  bool finish() override {
    release();
    return true;
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

  // One job of one document, asking for the card's paper at full size, upright, one copy on
  // one side; false when the server refused the job or its document.
  bool submit(const QByteArray& pdf) {
    cups_option_t* options = nullptr;
    int count = 0;
    count = cups_->addOption(CUPS_MEDIA, media_.constData(), count, &options);
    count = cups_->addOption("print-scaling", "none", count, &options);
    count = cups_->addOption(CUPS_ORIENTATION, CUPS_ORIENTATION_PORTRAIT, count, &options);
    count = cups_->addOption(CUPS_COPIES, "1", count, &options);
    count = cups_->addOption(CUPS_SIDES, CUPS_SIDES_ONE_SIDED, count, &options);
    int job = 0;
    bool ok = false;
    if (cups_->createDestJob(CUPS_HTTP_DEFAULT, dest_, info_, &job, "Orivel", count, options) <=
            IPP_STATUS_OK_EVENTS_COMPLETE &&
        job > 0) {
      if (cups_->startDestDocument(CUPS_HTTP_DEFAULT, dest_, info_, job, "Orivel", CUPS_FORMAT_PDF,
                                   0, nullptr, 1) == HTTP_STATUS_CONTINUE) {
        const bool written =
            cups_->writeRequestData(CUPS_HTTP_DEFAULT, pdf.constData(),
                                    static_cast<std::size_t>(pdf.size())) == HTTP_STATUS_CONTINUE;
        const ipp_status_t finished = cups_->finishDestDocument(CUPS_HTTP_DEFAULT, dest_, info_);
        ok = written && finished <= IPP_STATUS_OK_EVENTS_COMPLETE;
      }
      if (!ok) {
        // The server's own words, before the cancel's answer replaces them.
        reason_ = said();
        cups_->cancelDestJob(CUPS_HTTP_DEFAULT, dest_, job);
      }
    } else {
      reason_ = said();
    }
    cups_->freeOptions(count, options);
    return ok;
  }

  bool fail(const QString& why) {
    reason_ = why;
    return false;
  }

  // What CUPS said of its last request, or that the job was not accepted.
  QString said() const {
    const char* text = cups_->lastErrorString();
    return text && *text ? QString::fromUtf8(text) : messages::printJobNotAccepted();
  }

  QByteArray option(const char* name) const {
    return QByteArray(cups_->getOption(name, dest_->num_options, dest_->options));
  }

  // The printer as the system's printer settings show it: its description, else its name.
  QString shownName() const {
    const QByteArray info = option("printer-info");
    return QString::fromUtf8(info.isEmpty() ? QByteArray(dest_->name) : info);
  }

  void release() {
    if (info_) cups_->freeDestInfo(info_);
    if (dest_) cups_->freeDests(1, dest_);
    info_ = nullptr;
    dest_ = nullptr;
  }

  QByteArray printer_;
  const CupsLibrary* cups_ = nullptr;
  cups_dest_t* dest_ = nullptr;
  cups_dinfo_t* info_ = nullptr;
  QByteArray media_;
  QString reason_;
};

}  // namespace

std::unique_ptr<PrintSink> MakeSystemPrinterSink(const QString& printer) {
  return std::make_unique<CupsPrinterSink>(printer);
}

}  // namespace orivel
