#include <dlfcn.h>

#include "print/PrintJobStatus.h"

namespace orivel {
namespace {

// The CUPS library Qt has loaded, or null; without it there is nothing to ask.
void* loadedCups() {
  return dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
}

}  // namespace

// Asks the CUPS library Qt has loaded for the status of its last request on this thread,
// which is the job just submitted.
bool PrintSystemRefusedLastJob() {
  void* cups = loadedCups();
  if (!cups) return false;
  using LastError = int (*)();
  const auto lastError = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
  const bool refused = lastError && lastError() >= 0x0400;  // IPP client and server errors
  dlclose(cups);
  return refused;
}

QString PrintSystemLastError() {
  void* cups = loadedCups();
  if (!cups) return {};
  using LastError = int (*)();
  using LastErrorString = const char* (*)();
  const auto lastError = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
  const auto lastErrorString =
      reinterpret_cast<LastErrorString>(dlsym(cups, "cupsLastErrorString"));
  QString text;
  if (lastError && lastErrorString && lastError() >= 0x0400)
    if (const char* said = lastErrorString()) text = QString::fromUtf8(said);
  dlclose(cups);
  return text;
}

}  // namespace orivel
