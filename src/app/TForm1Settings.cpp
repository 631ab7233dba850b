#include "app/TForm1.h"

// Opening the personal settings: the dialog shows the current user's profile as it holds it.

void TForm1::Button8Click() {
  links_.settings->ShowModal();
}
