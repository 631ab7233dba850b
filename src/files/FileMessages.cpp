#include "files/FileMessages.h"

#include "common/Codec.h"
#include "common/Messages.h"

namespace orivel::messages {

QString bookRefusal(const BookLoadResult& result) {
  switch (result.status) {
    case BookLoadStatus::NotFound:
      return fileMissing();
    case BookLoadStatus::WrongVersion:
      return newerVersion(codec::toQString(result.version));
    case BookLoadStatus::Loaded:
    case BookLoadStatus::CountOutOfRange:
    case BookLoadStatus::ReadFailed:
      break;
  }
  return {};
}

QString csvReadFailure(const CsvRead& read) {
  switch (read.status) {
    case CsvRead::Status::NotFound:
      return fileMissing();
    case CsvRead::Status::CannotOpen:
      return loadFailed();
    case CsvRead::Status::Unencodable:
      return unusableCharacterOnLine(read.badLine);
    default:
      return {};
  }
}

}  // namespace orivel::messages
