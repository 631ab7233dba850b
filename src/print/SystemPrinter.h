#pragma once

#include <QString>
#include <memory>

#include "print/PrintService.h"

namespace orivel {

// A job a card on the system's printer: the default one when `printer` is empty, otherwise
// the one of that name. The windows and orivel-cli print through it alike. Before the first
// card of a run it refuses a printer that is missing, stopped, not accepting jobs or without
// postcard paper; each job asks for ハガキ (100 x 148 mm) at full size. A refused job fails
// the card. The sink needs no widget; each system has a file of its own for it.
std::unique_ptr<PrintSink> MakeSystemPrinterSink(const QString& printer);

}  // namespace orivel
