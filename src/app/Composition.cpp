#include "app/Composition.h"

#include <QPushButton>
#include <utility>

#include "app/TForm1.h"
#include "app/TForm6.h"
#include "book/TForm4.h"
#include "print/SystemPrinter.h"
#include "print/TPrevwin.h"
#include "print/TQRFM.h"
#include "settings/TForm5.h"

namespace orivel {

Composition::Composition() : defaultPrinter_(MakeSystemPrinterSink({})) {
  form1_ = std::make_unique<TForm1>(postal_);
  qrfm_ = std::make_unique<TQRFM>(printing_);
  prevwin_ = std::make_unique<TPrevwin>(*qrfm_);
  // The program ends when its main window closes, whatever else is open.
  qrfm_->setAttribute(Qt::WA_QuitOnClose, false);
  prevwin_->setAttribute(Qt::WA_QuitOnClose, false);
  TForm1* main = form1_.get();
  form4_ = new TForm4(postal_, main);
  form5_ = new TForm5(
      *form4_, [main](int nowUser) { main->NowUser = nowUser; }, main);
  form6_ = new TForm6(main);
  form5_->setCalibrationPrint([this](QString* reason) {
    if (printing_.printCalibration(*printer_)) return true;
    *reason = printer_->failureReason();
    return false;
  });

  TPrevwin* preview = prevwin_.get();
  qrfm_->setPreview(preview, [preview](const QImage& page, TQRFM::PageSource source) {
    preview->ShowPage(page, std::move(source));
  });
  TForm1::Links links;
  links.editor = form4_;
  links.settings = form5_;
  links.report = qrfm_.get();
  links.printing = &printing_;
  links.showAbout = [about = form6_] { about->ShowModal(); };
  main->setLinks(std::move(links));
  TPrevwin::Links previewLinks;
  previewLinks.book = &main->Book;
  previewLinks.previewIndex = &main->PreviewIndex;
  previewLinks.setupPostcard = [main](int row) { main->SetupPostcard(row); };
  previewLinks.printAll = [main] { main->Button2->click(); };
  preview->setLinks(std::move(previewLinks));
  setPrinter(nullptr);
}

Composition::~Composition() {
  prevwin_.reset();
  qrfm_.reset();
  form1_.reset();
}

void Composition::showMainWindow() {
  form1_->show();
}

void Composition::openBook(const std::filesystem::path& path) {
  form1_->OpenBookFile(path);
}

void Composition::setPrinter(PrintSink* printer) {
  PrintSink* sink = printer ? printer : defaultPrinter_.get();
  printer_ = sink;
  form1_->setPrinter(sink);
  qrfm_->setPrinter(sink);
}

}  // namespace orivel
