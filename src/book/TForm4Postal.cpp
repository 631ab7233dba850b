#include "book/TForm4.h"
#include "common/Codec.h"
#include "common/Dialogs.h"
#include "common/Messages.h"
#include "postal/AddressCheck.h"
#include "postal/PostalService.h"

// Filling in the address from the postal code.

void TForm4::FillAddressFromZip() {
  if (!Edit3->text().isEmpty()) return;
  const orivel::postal::ZipCode zip = orivel::postal::ParseZipCode(zipBytes());
  if (zip.form != orivel::postal::ZipCode::Form::Valid) return;
  const orivel::postal::PostalDictionary* dictionary = Postal->dictionary();
  if (!dictionary) {
    if (Postal->firstTimeMissing())
      orivel::ShowError(this, orivel::messages::postalDictionaryMissing());
    return;
  }
  const std::string address = orivel::postal::FillAddress(*dictionary, zip.code);
  if (address.empty()) return;
  setAddressBytes(address);
  Edit3->setFocus();
  Edit3->setCursorPosition(static_cast<int>(Edit3->text().size()));
}
