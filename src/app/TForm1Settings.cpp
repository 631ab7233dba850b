#include "app/TForm1.h"

// Opening the personal settings. The sender's texts start empty at every opening; the
// check box and the offsets keep what they were left at.

void TForm1::Button8Click() {
  orivel::SenderSettings& settings = *links_.settings;
  settings.setNameBytes({});
  settings.setZipBytes({});
  settings.setAddressBytes({});
  settings.ShowModal();
}
