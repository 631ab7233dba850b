#include "app/TForm1.h"

// The CSV import.

void TForm1::Button5Click() { ImportCsv(); }

void TForm1::ImportCsv() {}
