#include "app/TForm1.h"

#include "settings/TForm5.h"

// Opening the personal settings. The sender's texts start empty at every opening; the
// check box and the offsets keep what they were left at.

void TForm1::Button8Click() {
  Form5->setNameBytes({});
  Form5->setZipBytes({});
  Form5->setAddressBytes({});
  Form5->ShowModal();
}
