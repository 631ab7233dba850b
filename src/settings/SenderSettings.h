#pragma once

#include <string>

#include "common/ModalResult.h"
#include "settings/usertype.h"

namespace orivel {

// The personal settings dialog as the main window uses it: the current sender settings,
// the sender's texts and the modal showing.
class SenderSettings {
 public:
  virtual ~SenderSettings() = default;
  virtual usertype CurrentUser() const = 0;
  virtual void setNameBytes(const std::string& bytes) = 0;
  virtual void setZipBytes(const std::string& bytes) = 0;
  virtual void setAddressBytes(const std::string& bytes) = 0;
  virtual ModalResult ShowModal() = 0;
};

}  // namespace orivel
