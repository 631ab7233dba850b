#include "app/TForm1.h"

#include "settings/TForm5.h"

// Opening the personal settings: the dialog shows the current user's profile as it holds it.

void TForm1::Button8Click() {
  Form5->ShowModal();
}
