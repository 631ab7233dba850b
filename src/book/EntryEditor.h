#pragma once

#include <string>
#include <vector>

#include "book/datatype.h"
#include "common/ModalResult.h"

namespace orivel {

// The modes of the entry editor's Prepare, each acting on its own. Keep leaves that
// aspect as it is.
enum class CategoryBoxes : int { Keep = 0, Enable = 1, Disable = 2 };
enum class CategoryChecks : int { Keep = 0, Check = 1, Uncheck = 2 };
enum class EntryTexts : int { Keep = 0, Clear = 3 };  // Clear: empty texts, honorific "様"

// The entry editor as its callers use it: prepare, fill, show modally, read back. The
// address book edits addressees with it, the settings dialog the sender's own data.
class EntryEditor {
 public:
  virtual ~EntryEditor() = default;
  virtual void Prepare(CategoryBoxes boxes, CategoryChecks checks, EntryTexts texts) = 0;
  virtual ModalResult ShowModal() = 0;

  virtual void fillFrom(const datatype& entry) = 0;
  virtual datatype entry() const = 0;
  // The name, postal code and address in code page 932, byte for byte as filled.
  virtual void setNameBytes(const std::string& bytes) = 0;
  virtual void setZipBytes(const std::string& bytes) = 0;
  virtual void setAddressBytes(const std::string& bytes) = 0;
  virtual std::string nameBytes() const = 0;
  virtual std::string zipBytes() const = 0;
  virtual std::string addressBytes() const = 0;
  // Hides the honorific boxes and the fields for a card to work while the sender's own
  // data is edited.
  virtual void setHonorificShown(bool shown) = 0;
  // The joint names' boxes without their honorifics: the sender's family, in order.
  virtual void setJointNames(const std::vector<std::string>& names) = 0;
  virtual std::vector<std::string> jointNames() const = 0;
};

}  // namespace orivel
