#include <dlfcn.h>

#include "print/PrintJobStatus.h"

namespace orivel {

// Asks the CUPS library Qt has loaded for the status of its last request on this thread,
// which is the job just submitted. Without CUPS loaded there is nothing to ask.
bool PrintSystemRefusedLastJob() {
  void* cups = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
  if (!cups) return false;
  using LastError = int (*)();
  const auto lastError = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
  const bool refused = lastError && lastError() >= 0x0400;  // IPP client and server errors
  dlclose(cups);
  return refused;
}

}  // namespace orivel
