#pragma once

#include <QString>
#include <filesystem>
#include <memory>

#include "postal/PostalService.h"
#include "print/PrintService.h"

class TForm1;
class TForm4;
class TForm5;
class TForm6;
class TQRFM;
class TPrevwin;

namespace orivel {

// The composition root: creates the program's six windows once, in their fixed order (the
// main window, the report form, the preview window, the entry editor, the personal
// settings, the about box), and hands each what it uses. It owns the windows, the print
// service, the printer the windows print on and the postal code dictionary, and destroys
// them in the reverse order.
class Composition {
 public:
  Composition();
  ~Composition();
  Composition(const Composition&) = delete;
  Composition& operator=(const Composition&) = delete;

  TForm1* Form1() const { return form1_.get(); }
  TQRFM* QRFM() const { return qrfm_.get(); }
  TPrevwin* Prevwin() const { return prevwin_.get(); }
  TForm4* Form4() const { return form4_; }
  TForm5* Form5() const { return form5_; }
  TForm6* Form6() const { return form6_; }
  PrintService& printing() { return printing_; }

  void showMainWindow();
  // Loads a book chosen outside the windows (the command line) into the main window, with the
  // rules and the messages of ファイル → 読み込み.
  void openBook(const std::filesystem::path& path);

  // Where the windows' print commands send their jobs: the default printer unless another
  // sink is given (nullptr restores it). The caller keeps the sink.
  void setPrinter(PrintSink* printer);

 private:
  postal::PostalService postal_;  // found and read at its first use
  PrintService printing_;
  std::unique_ptr<PrintSink> defaultPrinter_;
  PrintSink* printer_ = nullptr;  // where the windows print now
  // The main window owns the dialogs (its children); the report form and the preview
  // window are top-level windows of their own.
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TQRFM> qrfm_;
  std::unique_ptr<TPrevwin> prevwin_;
  TForm4* form4_ = nullptr;
  TForm5* form5_ = nullptr;
  TForm6* form6_ = nullptr;
};

}  // namespace orivel
