// The system printer on Windows: Qt's own Windows print support, a job a card, no dialog.
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "common/Messages.h"
#include "print/SystemPrinter.h"

namespace orivel {
namespace {

class QPrinterSink final : public PrintSink {
 public:
  explicit QPrinterSink(const QString& printer) : printer_(printer) {}

  bool begin() override {
    reason_.clear();
    info_ =
        printer_.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(printer_);
    if (info_.isNull())
      return fail(printer_.isEmpty() ? messages::noDefaultPrinter()
                                     : messages::noSuchPrinter(printer_));
    const QList<QPageSize> sizes = info_.supportedPageSizes();
    const QSizeF postcard = QPageSize(QPageSize::Postcard).size(QPageSize::Millimeter);
    const bool takesPostcards = std::any_of(sizes.begin(), sizes.end(), [&](const QPageSize& s) {
      const QSizeF mm = s.size(QPageSize::Millimeter);
      return qAbs(mm.width() - postcard.width()) < 1 && qAbs(mm.height() - postcard.height()) < 1;
    });
    // A driver that lists no sizes says nothing of its paper and is taken at its word.
    if (!sizes.isEmpty() && !takesPostcards)
      return fail(messages::noPostcardPaper(info_.printerName()));
    return true;
  }

  bool printPage(const QPageLayout& layout, const PaintPage& paint) override {
    if (info_.isNull()) return fail(messages::noDefaultPrinter());
    QPrinter printer(info_, QPrinter::HighResolution);
    if (!printer.isValid()) return fail(messages::printerNotOpened());
    printer.setDocName(QStringLiteral("Orivel"));
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setFullPage(true);
    if (!printer.setPageLayout(layout)) return fail(messages::printerNotOpened());
    QPainter painter;
    if (!painter.begin(&printer)) return fail(messages::printerNotOpened());
    paint(painter, printer);
    if (!painter.end() || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted)
      return fail(messages::printJobNotAccepted());
    return true;
  }

  QString failureReason() const override { return reason_; }

 private:
  bool fail(const QString& why) {
    reason_ = why;
    return false;
  }

  QString printer_;
  QPrinterInfo info_;
  QString reason_;
};

}  // namespace

std::unique_ptr<PrintSink> MakeSystemPrinterSink(const QString& printer) {
  return std::make_unique<QPrinterSink>(printer);
}

}  // namespace orivel
