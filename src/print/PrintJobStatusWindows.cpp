#include "print/PrintJobStatus.h"

namespace orivel {

// The Windows spooler reports a refused job through QPrinter itself.
bool PrintSystemRefusedLastJob() {
  return false;
}

QString PrintSystemLastError() {
  return {};
}

}  // namespace orivel
