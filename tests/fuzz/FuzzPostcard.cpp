// The composition of one postcard from arbitrary entry and sender bytes.
//
// Properties: no text function reads past its input (each text sits in a heap block of its
// exact size, so AddressSanitizer sees any over-read); an addressee address longer than 38
// bytes keeps no full-width space (81 40) outside the indentation after each break, a shorter
// one and a sender address keep their length and breaks; no full-width minus (81 7C) is left,
// each counted by characters, never across two of them;
// a postal code becomes full-width digits only, the ASCII ones reversed; the blocks stand at
// offset + base, keep their sizes, and the sender blocks are empty and stay put when the
// sender's own address is not printed.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "files/Cp932Bytes.h"
#include "print/Postcard.h"

namespace {

using namespace orivel;

constexpr std::string_view kIndent = "\r\n\x81\x40\x81\x40\x81\x40\x81\x40";

// A copy of the text in a heap block of exactly its size.
class ExactText {
 public:
  explicit ExactText(const std::string& s) : bytes_(new char[s.size()]), size_(s.size()) {
    std::copy(s.begin(), s.end(), bytes_.get());
  }
  std::string_view view() const { return {bytes_.get(), size_}; }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_;
};

std::size_t countOf(std::string_view s, std::string_view what) {
  std::size_t n = 0;
  for (std::size_t at = s.find(what); at != std::string_view::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

// The length of the code page 932 character at byte i.
std::size_t charLength(std::string_view s, std::size_t i) {
  return cp932::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// How often the double-byte character `what` stands in s as a character of its own, not
// made of one character's trail byte and the next one's byte (82 81 7C holds no 81 7C).
std::size_t charCountOf(std::string_view s, std::string_view what) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); i += charLength(s, i)) n += s.substr(i).starts_with(what);
  return n;
}

void checkAddresseeAddress(std::string_view address) {
  const std::string out = AddresseeAddressText(address);
  FUZZ_CHECK(charCountOf(out, "\x81\x7C") == 0);
  if (address.size() <= 38) {
    FUZZ_CHECK(out.size() == address.size());
    FUZZ_CHECK(countOf(out, "\r\n") == countOf(address, "\r\n"));
    FUZZ_CHECK(charCountOf(out, "\x81\x40") == charCountOf(address, "\x81\x40"));
    return;
  }
  FUZZ_CHECK(out.size() <= 5 * address.size());
  for (std::size_t i = 0; i < out.size();) {
    if (std::string_view(out).substr(i).starts_with(kIndent)) {
      i += kIndent.size();
      continue;
    }
    FUZZ_CHECK(!std::string_view(out).substr(i).starts_with("\x81\x40"));
    i += charLength(out, i);
  }
}

void checkSenderAddress(std::string_view address) {
  const std::string out = SenderAddressText(address);
  FUZZ_CHECK(out.size() == address.size());
  FUZZ_CHECK(charCountOf(out, "\x81\x7C") == 0);
  FUZZ_CHECK(charCountOf(out, "\x81\x40") == charCountOf(address, "\x81\x40"));
  FUZZ_CHECK(countOf(out, "\r\n") == countOf(address, "\r\n"));
}

void checkPostalCode(std::string_view zip) {
  const std::string out = PostalCodeText(zip);
  FUZZ_CHECK(out.size() % 2 == 0 && out.size() <= 2 * zip.size());
  for (std::size_t i = 0; i < out.size(); i += 2)
    FUZZ_CHECK(out[i] == '\x82' && out[i + 1] >= '\x4F' && out[i + 1] <= '\x58');
  if (std::all_of(zip.begin(), zip.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    std::string digits;
    for (auto it = zip.rbegin(); it != zip.rend(); ++it)
      if (*it >= '0' && *it <= '9') digits += *it;
    FUZZ_CHECK(out.size() == 2 * digits.size());
    for (std::size_t i = 0; i < digits.size(); ++i)
      FUZZ_CHECK(out[2 * i + 1] == static_cast<char>(0x4F + digits[i] - '0'));
  }
}

void checkPlaced(const PostcardBlock& b, const PostcardBlock& design, const usertype& user, int odd,
                 int topBase, int leftBase) {
  FUZZ_CHECK(b.Top == user.offset(odd) + topBase && b.Left == user.offset(odd + 1) + leftBase);
  FUZZ_CHECK(b.Width == design.Width && b.Height == design.Height &&
             b.FontPoints == design.FontPoints && b.FontPixels == design.FontPixels);
}

void checkComposed(const Postcard& card, const datatype& entry, const usertype& user) {
  const Postcard design = Postcard::design();
  checkPlaced(card.QRname, design.QRname, user, 1, 94, 62);
  checkPlaced(card.QRaddress, design.QRaddress, user, 3, 14, 54);
  checkPlaced(card.QRzip_code, design.QRzip_code, user, 5, -20, 4);
  FUZZ_CHECK(card.QRname.text == entry.name + "\x81\x40" + entry.sama);
  FUZZ_CHECK(card.QRaddress.text == AddresseeAddressText(entry.address));
  FUZZ_CHECK(card.QRzip_code.text == PostalCodeText(entry.zip_code));
  if (!user.print_own_address) {
    for (const PostcardBlock* b : {&card.QRu_name, &card.QRu_address, &card.QRu_zip_code})
      FUZZ_CHECK(b->text.empty());
    return;
  }
  checkPlaced(card.QRu_name, design.QRu_name, user, 7, 254, 246);
  checkPlaced(card.QRu_address, design.QRu_address, user, 9, 222, 174);
  checkPlaced(card.QRu_zip_code, design.QRu_zip_code, user, 11, 200, 426);
  FUZZ_CHECK(card.QRu_name.text == user.name);
  FUZZ_CHECK(card.QRu_address.text == SenderAddressText(user.address));
  FUZZ_CHECK(card.QRu_zip_code.text == PostalCodeText(user.zip_code));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  usertype user;
  for (int& o : user.offsets) o = provider.ConsumeIntegralInRange<int>(0, 100);
  user.print_own_address = provider.ConsumeBool();
  datatype entry;
  entry.zip_code = provider.ConsumeRandomLengthString(32);
  entry.name = provider.ConsumeRandomLengthString(64);
  entry.sama = provider.ConsumeRandomLengthString(16);
  user.name = provider.ConsumeRandomLengthString(64);
  user.zip_code = provider.ConsumeRandomLengthString(32);
  user.address = provider.ConsumeRandomLengthString(256);
  entry.address = provider.ConsumeRemainingBytesAsString();

  for (const std::string* s : {&entry.address, &user.address}) {
    const ExactText t(*s);
    checkAddresseeAddress(t.view());
    checkSenderAddress(t.view());
  }
  for (const std::string* s : {&entry.zip_code, &user.zip_code})
    checkPostalCode(ExactText(*s).view());
  {
    const ExactText name(entry.name);
    const ExactText sama(entry.sama);
    FUZZ_CHECK(AddresseeNameText(name.view(), sama.view()) == entry.name + "\x81\x40" + entry.sama);
    FUZZ_CHECK(SenderNameText(name.view()) == entry.name);
  }

  Postcard card = Postcard::design();
  ComposePostcard(card, entry, user);
  checkComposed(card, entry, user);
  // Turned off after a composition with it on: the sender blocks empty and stay where they were.
  if (user.print_own_address) {
    const Postcard before = card;
    user.print_own_address = false;
    ComposePostcard(card, entry, user);
    checkComposed(card, entry, user);
    FUZZ_CHECK(card.QRu_name.Top == before.QRu_name.Top &&
               card.QRu_name.Left == before.QRu_name.Left);
    FUZZ_CHECK(card.QRu_zip_code.Top == before.QRu_zip_code.Top &&
               card.QRu_address.Left == before.QRu_address.Left);
  }
  return 0;
}
