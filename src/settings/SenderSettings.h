#pragma once

#include "common/ModalResult.h"
#include "settings/usertype.h"

namespace orivel {

// The personal settings dialog as the main window uses it: the current sender settings
// and the modal showing.
class SenderSettings {
 public:
  virtual ~SenderSettings() = default;
  virtual usertype CurrentUser() const = 0;
  virtual ModalResult ShowModal() = 0;
};

}  // namespace orivel
