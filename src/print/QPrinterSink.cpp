#include "print/QPrinterSink.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace orivel {
namespace {

// Qt hands the finished document to CUPS and ignores the answer, so a queue that refuses
// jobs would look like a success. Ask the CUPS library Qt has loaded for the status of its
// last request on this thread, which is the job just submitted. Without CUPS there is
// nothing to ask.
bool cupsRefusedLastRequest() {
#ifdef _WIN32
  return false;  // the Windows spooler reports failures through QPrinter itself
#else
  void* cups = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
  if (!cups) return false;
  using LastError = int (*)();
  const auto lastError = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
  const bool refused = lastError && lastError() >= 0x0400;  // IPP client and server errors
  dlclose(cups);
  return refused;
#endif
}

}  // namespace

QPrinterSink::QPrinterSink(const QString& printer) : printer_(printer) {}

bool QPrinterSink::printPage(const QPageLayout& layout, const PaintPage& paint) {
  return PrintPageOn(
      printer_.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(printer_),
      layout, paint);
}

bool PrintPageOn(const QPrinterInfo& info, const QPageLayout& layout, const PaintPage& paint) {
  if (info.isNull()) return false;
  QPrinter printer(info, QPrinter::HighResolution);
  if (!printer.isValid()) return false;
  printer.setDocName(QStringLiteral("Orivel"));
  printer.setCopyCount(1);
  printer.setDuplex(QPrinter::DuplexNone);
  printer.setFullPage(true);
  if (!printer.setPageLayout(layout)) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  paint(painter, printer);
  if (!painter.end()) return false;
  if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
    return false;
  return !cupsRefusedLastRequest();
}

}  // namespace orivel
