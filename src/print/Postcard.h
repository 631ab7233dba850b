#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "book/datatype.h"
#include "settings/usertype.h"

// One postcard: six text blocks composed from an addressee and the sender settings.
// Positions and sizes are design pixels (1/96 inch) on the design page of 148 x 110 mm,
// from its top-left corner: the card lying a quarter turn counter-clockwise, so a block's
// Top is its distance from the card's right edge and its Left from the card's top. What
// prints is the card itself, upright (the page renderer turns the design page onto it).
namespace orivel {

// The design unit: positions and sizes are in pixels of 1/96 inch.
inline constexpr double kDesignPixelsPerInch = 96.0;
inline constexpr double kMmPerInch = 25.4;

// Where a block stands: its Top is its odd offset plus topBase, its Left its even offset
// plus leftBase, so at every offset's neutral 50 it stands at (leftBase + 50, topBase + 50).
struct BlockPlacement {
  int acrossOffset;  // the odd offset k; the even one is k + 1
  int topBase;
  int leftBase;

  constexpr int neutralTop() const { return topBase + kNeutralOffset; }
  constexpr int neutralLeft() const { return leftBase + kNeutralOffset; }
};

// One text block. Only Left, Top and text change at run time.
struct PostcardBlock {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int FontPoints = 0;
  int FontPixels = 0;  // the face's height in design pixels
  std::string text;    // code page 932; "\r\n" starts a new line (a new column on the card)

  friend bool operator==(const PostcardBlock&, const PostcardBlock&) = default;
};

// The people a name block names: the main name with its honorific, the title printed small
// before it, and the joint addressees, each a column of its own to the left on the card.
// Unused (one name and no title), the block prints its composed text as it stands.
struct NameGroup {
  std::string name;
  std::string sama;
  std::string title;
  std::vector<JointName> joints;

  bool used() const { return !joints.empty() || !title.empty(); }
  friend bool operator==(const NameGroup&, const NameGroup&) = default;
};

// The report's page state: the last composed postcard, or the design state before any.
struct Postcard {
  PostcardBlock QRname;
  PostcardBlock QRaddress;
  PostcardBlock QRzip_code;
  PostcardBlock QRu_name;
  PostcardBlock QRu_address;
  PostcardBlock QRu_zip_code;

  // The blocks as laid out at design, with their design texts.
  static Postcard design();

  // Where each block of blocks() stands, by its two offsets.
  static constexpr std::array<BlockPlacement, 6> kPlacements = {
      {{1, 94, 62}, {3, 14, 54}, {5, -20, 4}, {7, 254, 246}, {9, 222, 174}, {11, 200, 426}}};

  // The six blocks' names, in the order of blocks().
  static constexpr std::array<const char*, 6> kBlockNames = {
      "QRname", "QRaddress", "QRzip_code", "QRu_name", "QRu_address", "QRu_zip_code"};
  // The first three are the addressee's, the last three the sender's.
  static constexpr std::size_t kFirstSenderBlock = 3;

  // Whether block i (in the order of blocks()) carries text under `user`: the addressee's
  // always, the sender's only when the sender's own address is printed.
  static bool IsPrinted(std::size_t i, const usertype& user) {
    return i < kFirstSenderBlock || user.print_own_address;
  }

  // The six blocks in drawing order.
  std::array<const PostcardBlock*, 6> blocks() const {
    return {&QRname, &QRaddress, &QRzip_code, &QRu_name, &QRu_address, &QRu_zip_code};
  }

  // For a card to a family or to someone at work: the people the name blocks name, and the
  // company and department, each a column between the address and the name in the
  // address's face size. All empty on a card to one person.
  NameGroup names;
  NameGroup senderNames;  // the sender and the family's given names; no honorifics
  std::string company;
  std::string department;

  // Whether the digits of the two addresses print as kanji numerals: the sender's choice at
  // the last composition. The composed texts themselves never change for it.
  bool kanjiDigits = false;
  // The family name (UTF-8) of the typeface the card prints in; empty for the default one.
  std::string face;

  // The text that block i of blocks() prints: its composed text, with the digits of the
  // addressee's and the sender's address as kanji numerals when kanjiDigits is set. Postal
  // codes and names print as composed.
  std::string printedText(std::size_t i) const;
  static constexpr std::size_t kNameBlock = 0;
  static constexpr std::size_t kAddressBlock = 1;
  static constexpr std::size_t kZipCodeBlock = 2;
  static constexpr std::size_t kSenderNameBlock = 3;
  static constexpr std::size_t kSenderAddressBlock = 4;
  static constexpr std::size_t kSenderZipCodeBlock = 5;

  friend bool operator==(const Postcard&, const Postcard&) = default;
};

// The postal code as a column of full-width digits in reverse order, so that laid out one
// digit a line it reads left to right on the card. ASCII digits become full width, full-width
// digits stay as they are; hyphens and any other character are left out.
std::string PostalCodeText(std::string_view zip);

// The addressee's address: in an address longer than 38 bytes each full-width space becomes
// a line break followed by four full-width spaces; every full-width minus becomes "ー".
std::string AddresseeAddressText(std::string_view address);

// The sender's address: full-width minus signs become "ー"; nothing else changes.
std::string SenderAddressText(std::string_view address);

// The addressee's name, a full-width space and the honorific.
std::string AddresseeNameText(std::string_view name, std::string_view sama);

// The sender's name alone.
std::string SenderNameText(std::string_view name);

// Composes one postcard into `card`: the addressee blocks from `entry`, the sender blocks
// from `user` when it prints its own address (otherwise they are emptied and stay where
// they stood), every printed block placed by its two offsets.
void ComposePostcard(Postcard& card, const datatype& entry, const usertype& user);

}  // namespace orivel
