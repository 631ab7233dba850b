#pragma once

#include <QString>

#include "print/Postcard.h"

namespace orivel {

// The report form as the main window and the preview window use it: it holds the last
// composed postcard, previews it and prints it.
class PostcardReport {
 public:
  virtual ~PostcardReport() = default;
  virtual Postcard& card() = 0;
  // Builds the page and hands it to the preview window; returns without waiting.
  virtual void Preview() = 0;
  // Prints the card as it is composed, one job; false when it did not go through.
  virtual bool Print() = 0;
  // Prints the card the preview shows, whatever has been composed or changed in the book
  // since; one job, false when it did not go through or nothing was previewed.
  virtual bool PrintShown() = 0;
  // Why the last print did not go through, when the printer said; empty otherwise.
  virtual QString printFailure() const { return {}; }
};

}  // namespace orivel
