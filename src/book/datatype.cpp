#include "book/datatype.h"

#include "files/Cp932Bytes.h"

namespace orivel {

bool IsGivenNameOnly(std::string_view name) {
  for (std::size_t i = 0; i < name.size();) {
    const bool lead = cp932::IsLeadByte(static_cast<unsigned char>(name[i]));
    if (lead && i + 1 < name.size() && name[i] == '\x81' && name[i + 1] == '\x40') return false;
    i += lead ? 2 : 1;
  }
  return true;
}

std::vector<JointName> KeptJoints(const std::vector<JointName>& rows) {
  std::vector<JointName> kept;
  for (const JointName& row : rows) {
    if (row.name.empty()) continue;
    if (static_cast<int>(kept.size()) == kMaxJoints) break;
    kept.push_back(row);
  }
  return kept;
}

}  // namespace orivel
