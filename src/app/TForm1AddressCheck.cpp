#include "app/TForm1.h"
#include "book/CheckListBox.h"
#include "common/Dialogs.h"
#include "common/Messages.h"
#include "postal/AddressCheck.h"
#include "postal/FindingsWindow.h"
#include "postal/PostalService.h"

// The check of every postal code in the book, and its findings window.

void TForm1::Button7Click() {
  const orivel::postal::PostalDictionary* dictionary = Postal->dictionary();
  if (!dictionary) {
    orivel::ShowError(this, orivel::messages::postalDictionaryMissing());
    return;
  }
  const std::vector<orivel::postal::Finding> findings =
      orivel::postal::CheckBook(Book, *dictionary);
  if (findings.empty()) {
    if (FindingsWindow1) FindingsWindow1->hide();
    orivel::ShowInformation(this, orivel::messages::noAddressProblems());
    return;
  }
  if (!FindingsWindow1) {
    FindingsWindow1 = new orivel::FindingsWindow(this);
    connect(FindingsWindow1, &orivel::FindingsWindow::lineActivated, this, &TForm1::EditLine);
  }
  FindingsWindow1->showFindings(Book, findings);
  FindingsWindow1->show();
  FindingsWindow1->raise();
  FindingsWindow1->activateWindow();
}

void TForm1::EditLine(int line) {
  if (line < 0 || line >= Book.count()) return;
  CheckListBox1->setItemIndex(line);
  ChangeSelectedEntry();  // the findings follow the edit (refreshFindings)
}

void TForm1::refreshFindings() {
  if (!FindingsWindow1 || !FindingsWindow1->isVisible()) return;
  if (const orivel::postal::PostalDictionary* dictionary = Postal->dictionary())
    FindingsWindow1->showFindings(Book, orivel::postal::CheckBook(Book, *dictionary));
}
