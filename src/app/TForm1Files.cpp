#include "app/TForm1.h"

// Saving and loading the address book.

void TForm1::N1Click() {}

void TForm1::N2Click() {}

bool TForm1::SaveBookFile(const QString& /*path*/) { return false; }

bool TForm1::LoadBookFile(const QString& /*path*/) { return false; }
