#include "print/QPrinterSink.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "print/PrintJobStatus.h"

namespace orivel {

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
  return !PrintSystemRefusedLastJob();
}

}  // namespace orivel
