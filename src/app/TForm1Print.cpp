#include "app/TForm1.h"

// Composing, previewing and printing postcards.

#include "common/Dialogs.h"
#include "common/Messages.h"
#include "print/Postcard.h"
#include "print/TQRFM.h"
#include "settings/TForm5.h"

void TForm1::SetupPostcard(int row) {
  orivel::ComposePostcard(QRFM->Card, Book.entry(row), Form5->CurrentUser());
}

void TForm1::Button1Click() {
  const std::vector<int> checked = Book.checkedLines();
  if (checked.empty()) {
    orivel::ShowError(this, QStringLiteral("プレビューする項目が未設定です"));
    return;
  }
  SetupPostcard(checked.front());
  PreviewIndex = checked.front();
  QRFM->Preview();
}

// One job per checked row, in list order. A failed job ends the command with a message;
// the jobs before it stay printed.
void TForm1::Button2Click() {
  int printed = 0;
  for (int row = 0; row < Book.count(); ++row) {
    if (!Book.isChecked(row)) continue;
    SetupPostcard(row);
    if (!QRFM->Print()) {
      orivel::ShowError(this, orivel::messages::printFailed());
      return;
    }
    ++printed;
  }
  if (printed == 0) orivel::ShowError(this, orivel::messages::nothingToPrint());
}
