#pragma once

#include <QString>

namespace orivel {

// Whether the print system refused the request that Qt last made on this thread for a job
// it submitted. Qt hands the finished document on and ignores the answer, so a queue that
// refuses jobs would otherwise look like a success. Each system has a file of its own.
bool PrintSystemRefusedLastJob();

// What the print system said of the request that Qt last made on this thread, when it
// refused it; empty when it has nothing to say.
QString PrintSystemLastError();

}  // namespace orivel
