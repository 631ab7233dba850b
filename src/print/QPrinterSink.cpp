#include "print/QPrinterSink.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "common/Messages.h"
#include "print/PrintJobStatus.h"

namespace orivel {

QPrinterSink::QPrinterSink(const QString& printer) : printer_(printer) {}

bool QPrinterSink::printPage(const QPageLayout& layout, const PaintPage& paint) {
  reason_.clear();
  const QPrinterInfo info =
      printer_.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(printer_);
  if (info.isNull()) {
    reason_ = printer_.isEmpty() ? messages::noDefaultPrinter() : messages::noSuchPrinter(printer_);
    return false;
  }
  return PrintPageOn(info, layout, paint, &reason_);
}

bool PrintPageOn(const QPrinterInfo& info, const QPageLayout& layout, const PaintPage& paint,
                 QString* reason) {
  const auto fail = [reason](const QString& why) {
    if (reason) *reason = why;
    return false;
  };
  if (info.isNull()) return fail(messages::noDefaultPrinter());
  QPrinter printer(info, QPrinter::HighResolution);
  if (!printer.isValid()) return fail(messages::printerNotOpened());
  printer.setDocName(QStringLiteral("Orivel"));
  printer.setCopyCount(1);
  printer.setDuplex(QPrinter::DuplexNone);
  printer.setFullPage(true);
  if (!printer.setPageLayout(layout)) return fail(messages::printerNotOpened());
  QPainter painter;
  if (!painter.begin(&printer)) return fail(messages::printerNotOpened());
  paint(painter, printer);
  // What CUPS said of the job, when it refused it; otherwise that it was not accepted.
  const auto refused = [&fail] {
    const QString said = PrintSystemLastError();
    return fail(said.isEmpty() ? messages::printJobNotAccepted() : said);
  };
  if (!painter.end()) return refused();
  if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
    return refused();
  if (PrintSystemRefusedLastJob()) return refused();
  return true;
}

}  // namespace orivel
