#include "app/TForm1.h"

#include "settings/TForm5.h"

// Opening the personal settings.

void TForm1::Button8Click() { Form5->exec(); }
