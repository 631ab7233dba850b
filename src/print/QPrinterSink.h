#pragma once

#include <QString>

#include "print/PrintService.h"

class QPrinterInfo;

namespace orivel {

// A job a card through QPrinter, no dialog: the default printer when `printer` is empty,
// otherwise the one of that name. The windows print here.
class QPrinterSink final : public PrintSink {
 public:
  explicit QPrinterSink(const QString& printer = {});
  bool printPage(const QPageLayout& layout, const PaintPage& paint) override;
  QString failureReason() const override { return reason_; }

 private:
  QString printer_;
  QString reason_;
};

// One print job of one page on `printer` with `layout`, no dialog: `paint` draws the page on
// a painter already begun on the device. False when no job went through (no such printer,
// or the printer refused it), and then `reason` (when given) says why.
bool PrintPageOn(const QPrinterInfo& printer, const QPageLayout& layout, const PaintPage& paint,
                 QString* reason = nullptr);

}  // namespace orivel
