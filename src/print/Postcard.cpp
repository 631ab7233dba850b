#include "print/Postcard.h"

#include <utility>
#include <vector>

#include "files/Cp932Bytes.h"
#include "print/KanjiDigits.h"

namespace orivel {
namespace {

constexpr char kLead = '\x81';
constexpr char kSpaceTrail = '\x40';               // 81 40, the full-width space
constexpr char kMinusTrail = '\x7C';               // 81 7C, the full-width minus
constexpr std::string_view kChoonpu = "\x81\x5B";  // ー
constexpr std::string_view kFullWidthSpace = "\x81\x40";
constexpr std::size_t kLongAddress = 38;  // bytes; longer addresses break at their spaces

bool pairAt(std::string_view s, std::size_t i, char lead, char trail) {
  return i + 1 < s.size() && s[i] == lead && s[i + 1] == trail;
}

// Walks character by character, so that the trail byte of one character and the lead byte
// of the next (香@ is 8D 81 40) are never taken for a space or a minus. A lone lead byte at
// the end is kept as it is.
std::string addressText(std::string_view address, bool breakAtSpaces) {
  std::string out;
  out.reserve(address.size() + 32);
  for (std::size_t i = 0; i < address.size();) {
    if (breakAtSpaces && pairAt(address, i, kLead, kSpaceTrail)) {
      out += "\r\n";
      for (int k = 0; k < 4; ++k) out += kFullWidthSpace;
      i += 2;
    } else if (pairAt(address, i, kLead, kMinusTrail)) {
      out += kChoonpu;
      i += 2;
    } else {
      const std::size_t length =
          cp932::IsLeadByte(static_cast<unsigned char>(address[i])) && i + 1 < address.size() ? 2
                                                                                              : 1;
      out.append(address.substr(i, length));
      i += length;
    }
  }
  return out;
}

void place(PostcardBlock& block, const usertype& user, std::size_t i) {
  const BlockPlacement& p = Postcard::kPlacements[i];
  block.Top = user.offset(p.acrossOffset) + p.topBase;
  block.Left = user.offset(p.acrossOffset + 1) + p.leftBase;
}

PostcardBlock designBlock(int left, int top, int width, int height, int points, int pixels,
                          std::string text) {
  return {left, top, width, height, points, pixels, std::move(text)};
}

}  // namespace

Postcard Postcard::design() {
  Postcard c;
  c.QRname = designBlock(112, 144, 402, 57, 36, 48, "\x96\xBC\x91\x4F");    // 名前
  c.QRaddress = designBlock(104, 64, 361, 65, 16, 21, "\x8F\x5A\x8F\x8A");  // 住所
  // 号, 番, 便, 郵: the first line is rightmost, so the card reads 郵便番号.
  c.QRzip_code =
      designBlock(56, 32, 33, 209, 20, 27, "\x8D\x86\r\n\x94\xD4\r\n\x95\xD6\r\n\x97\x58");
  c.QRu_zip_code = designBlock(480, 248, 17, 121, 12, 16, "");
  c.QRu_name = designBlock(296, 304, 177, 33, 22, 29, "");
  c.QRu_address = designBlock(224, 272, 249, 25, 12, 16, "");
  return c;
}

std::string Postcard::printedText(std::size_t i) const {
  const std::string& text = blocks()[i]->text;
  if (kanjiDigits && (i == kAddressBlock || i == kSenderAddressBlock)) return KanjiDigits(text);
  return text;
}

std::string PostalCodeText(std::string_view zip) {
  // Split into characters first, so that the backward walk never splits a two-byte one.
  std::vector<std::string_view> chars;
  for (std::size_t i = 0; i < zip.size();) {
    const std::size_t n =
        cp932::IsLeadByte(static_cast<unsigned char>(zip[i])) && i + 1 < zip.size() ? 2 : 1;
    chars.push_back(zip.substr(i, n));
    i += n;
  }
  std::string out;
  for (auto it = chars.rbegin(); it != chars.rend(); ++it) {
    const std::string_view c = *it;
    if (c.size() == 1 && c[0] >= '0' && c[0] <= '9') {
      out += '\x82';
      out += static_cast<char>(0x4F + (c[0] - '0'));
    } else if (c.size() == 2 && c[0] == '\x82' && static_cast<unsigned char>(c[1]) >= 0x4F &&
               static_cast<unsigned char>(c[1]) <= 0x58) {
      out += c;
    }
  }
  return out;
}

std::string AddresseeAddressText(std::string_view address) {
  return addressText(address, address.size() > kLongAddress);
}

std::string SenderAddressText(std::string_view address) {
  return addressText(address, false);
}

std::string AddresseeNameText(std::string_view name, std::string_view sama) {
  std::string out(name);
  out += kFullWidthSpace;
  out += sama;
  return out;
}

std::string SenderNameText(std::string_view name) {
  return std::string(name);
}

void ComposePostcard(Postcard& card, const datatype& entry, const usertype& user) {
  const std::string zip = PostalCodeText(entry.zip_code);
  const std::string address = AddresseeAddressText(entry.address);

  place(card.QRname, user, Postcard::kNameBlock);
  place(card.QRaddress, user, Postcard::kAddressBlock);
  place(card.QRzip_code, user, Postcard::kZipCodeBlock);

  card.QRname.text = AddresseeNameText(entry.name, entry.sama);
  card.QRaddress.text = address;
  card.QRzip_code.text = zip;
  card.kanjiDigits = user.kanji_digits;
  card.face = user.face;
  card.names = {entry.name, entry.sama, entry.title, KeptJoints(entry.joints)};
  card.company = entry.company;
  card.department = entry.department;

  if (Postcard::IsPrinted(Postcard::kFirstSenderBlock, user)) {
    place(card.QRu_name, user, Postcard::kSenderNameBlock);
    place(card.QRu_address, user, Postcard::kSenderAddressBlock);
    place(card.QRu_zip_code, user, Postcard::kSenderZipCodeBlock);
    card.QRu_name.text = SenderNameText(user.name);
    card.QRu_address.text = SenderAddressText(user.address);
    card.QRu_zip_code.text = PostalCodeText(user.zip_code);
    card.senderNames = {user.name, {}, {}, {}};
    for (const std::string& joint : user.joints) card.senderNames.joints.push_back({joint, {}});
    card.senderNames.joints = KeptJoints(card.senderNames.joints);
  } else {
    card.senderNames = {};
    card.QRu_name.text.clear();
    card.QRu_address.text.clear();
    card.QRu_zip_code.text.clear();
  }
}

}  // namespace orivel
