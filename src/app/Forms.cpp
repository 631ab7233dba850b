#include "app/Forms.h"

#include "app/TForm1.h"
#include "app/TForm6.h"
#include "book/TForm4.h"
#include "print/TPrevwin.h"
#include "print/TQRFM.h"
#include "settings/TForm5.h"

void CreateForms() {
  Form1 = new TForm1;
  QRFM = new TQRFM;
  Prevwin = new TPrevwin;
  Form4 = new TForm4(Form1);
  Form5 = new TForm5(Form1);
  Form6 = new TForm6(Form1);
}

void DestroyForms() {
  // Dialogs are children of the main window; the report form and the preview window
  // are top-level windows of their own.
  delete Prevwin;
  delete QRFM;
  delete Form1;
  Prevwin = nullptr;
  QRFM = nullptr;
  Form1 = nullptr;
  Form4 = nullptr;
  Form5 = nullptr;
  Form6 = nullptr;
}
