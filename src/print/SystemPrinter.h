#pragma once

#include <QString>
#include <memory>

#include "print/PrintService.h"

namespace orivel {

// A job a card on the system's printer: the default one when `printer` is empty, otherwise
// the one of that name. A missing printer or a refused job fails the card. This sink needs
// no widget: each card is drawn into a PDF by the page renderer and handed to the print
// system as it is (the platform's own file holds how).
std::unique_ptr<PrintSink> MakeSystemPrinterSink(const QString& printer);

}  // namespace orivel
