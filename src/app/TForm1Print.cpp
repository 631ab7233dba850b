#include "app/TForm1.h"

// Composing, previewing and printing postcards.

void TForm1::SetupPostcard(int /*row*/) {}

void TForm1::Button1Click() {}

void TForm1::Button2Click() {}
