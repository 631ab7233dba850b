#include "print/KanjiDigits.h"
#include "print/Postcard.h"

#include <gtest/gtest.h>

#include <string>

namespace orivel {
namespace {

// Code page 932 spellings used below.
const std::string kSpace = "\x81\x40";  // 　
const std::string kMinus = "\x81\x7C";  // －
const std::string kChoon = "\x81\x5B";  // ー
const std::string kKanji = "\x93\x8C";  // 東
const std::string kSama = "\x97\x6C";   // 様
const std::string kIndent = "\r\n" + kSpace + kSpace + kSpace + kSpace;

std::string fw(char digit) {
  return std::string("\x82") + static_cast<char>(0x4F + digit - '0');
}

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

usertype sender(bool printOwn) {
  usertype u;
  u.name = "\x8D\xB2\x93\xA1";  // 佐藤
  u.zip_code = "987-6543";
  u.address = repeat(kKanji, 10) + kSpace + repeat(kKanji, 10) + kMinus + "1";
  u.print_own_address = printOwn;
  return u;
}

datatype addressee() {
  datatype e;
  e.name = "\x8E\x52\x93\x63";  // 山田
  e.address = "address";
  e.zip_code = "123-4567";
  e.sama = kSama;
  return e;
}

TEST(PostalCodeText, ReversesDigitsIntoFullWidthWithoutTheHyphen) {
  const std::string expected = fw('7') + fw('6') + fw('5') + fw('4') + fw('3') + fw('2') + fw('1');
  EXPECT_EQ(PostalCodeText("123-4567"), expected);
  EXPECT_EQ(PostalCodeText("1234567"), expected);
}

TEST(PostalCodeText, EmptyCodeGivesEmptyText) {
  EXPECT_EQ(PostalCodeText(""), "");
  EXPECT_EQ(PostalCodeText("   -    "), "");
}

TEST(PostalCodeText, KeepsFullWidthDigitsAndDropsEverythingElse) {
  // 1, full-width 2, a space, A, full-width A (82 60), half-width katakana, ASCII 3.
  const std::string zip = std::string("1") + "\x82\x51" + " A\x82\x60\xB1" + "3";
  EXPECT_EQ(PostalCodeText(zip), fw('3') + "\x82\x51" + fw('1'));
}

TEST(PostalCodeText, TrailByteThatLooksLikeADigitIsNotTakenForOne) {
  // 83 35 is not a valid pair but its second byte is '5': it must not surface as a digit.
  EXPECT_EQ(PostalCodeText("1\x83\x35"), fw('1'));
  EXPECT_EQ(PostalCodeText("12\x81"), fw('2') + fw('1'));  // lone lead byte dropped
}

TEST(AddresseeAddressText, ThirtyEightBytesKeepTheSpace) {
  const std::string address = repeat(kKanji, 9) + kSpace + repeat(kKanji, 9);
  ASSERT_EQ(address.size(), 38u);
  EXPECT_EQ(AddresseeAddressText(address), address);
}

TEST(AddresseeAddressText, ThirtyNineBytesBreakAtTheSpaceAndIndent) {
  const std::string address = repeat(kKanji, 9) + kSpace + repeat(kKanji, 9) + "1";
  ASSERT_EQ(address.size(), 39u);
  EXPECT_EQ(AddresseeAddressText(address), repeat(kKanji, 9) + kIndent + repeat(kKanji, 9) + "1");
}

TEST(AddresseeAddressText, EverySpaceOfALongAddressStartsAnIndentedLine) {
  const std::string a = repeat(kKanji, 6);
  const std::string address = a + kSpace + a + kSpace + a + kSpace + a;
  const std::string text = AddresseeAddressText(address);
  EXPECT_EQ(text, a + kIndent + a + kIndent + a + kIndent + a);
  std::size_t lines = 1;
  for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 1))
    ++lines;
  EXPECT_EQ(lines, 4u);
}

TEST(AddresseeAddressText, FullWidthMinusBecomesChoonpuInShortAndLongAddresses) {
  EXPECT_EQ(AddresseeAddressText(kKanji + "1" + kMinus + "2"), kKanji + "1" + kChoon + "2");
  const std::string longer = repeat(kKanji, 20) + kMinus + kMinus;
  EXPECT_EQ(AddresseeAddressText(longer), repeat(kKanji, 20) + kChoon + kChoon);
}

TEST(AddresseeAddressText, AKanjiEndingInByte81IsNotTakenForASpaceOrAMinus) {
  // 香 is 8D 81: with "@" (40) or "|" (7C) after it, its trail byte and the next character
  // look like a full-width space or minus.
  const std::string kaori = "\x8D\x81";
  const std::string longer = repeat(kKanji, 20) + kaori + "@";
  EXPECT_EQ(AddresseeAddressText(longer + kSpace + "1"), longer + kIndent + "1");
  EXPECT_EQ(AddresseeAddressText(kKanji + kaori + "|" + kKanji), kKanji + kaori + "|" + kKanji);
}

TEST(AddresseeAddressText, AsciiDigitsAndHyphenStayAsTheyAre) {
  const std::string address = repeat(kKanji, 20) + "1-2-3";
  EXPECT_EQ(AddresseeAddressText(address), address);
  EXPECT_EQ(AddresseeAddressText("1-2-3"), "1-2-3");
}

TEST(AddresseeAddressText, LoneLeadByteAtTheEndIsKept) {
  EXPECT_EQ(AddresseeAddressText(kKanji + "\x81"), kKanji + "\x81");
  const std::string longer = repeat(kKanji, 20) + "\x81";
  EXPECT_EQ(AddresseeAddressText(longer), longer);
  EXPECT_EQ(AddresseeAddressText("\x81"), "\x81");
  EXPECT_EQ(AddresseeAddressText(""), "");
}

TEST(SenderAddressText, LongAddressKeepsItsSpacesButLosesItsMinus) {
  const std::string address = repeat(kKanji, 10) + kSpace + repeat(kKanji, 10) + kMinus + "1";
  ASSERT_GT(address.size(), 38u);
  EXPECT_EQ(SenderAddressText(address),
            repeat(kKanji, 10) + kSpace + repeat(kKanji, 10) + kChoon + "1");
}

TEST(NameTexts, AddresseeGetsSpaceAndHonorificSenderGetsNameAlone) {
  EXPECT_EQ(AddresseeNameText("\x8E\x52\x93\x63", kSama), "\x8E\x52\x93\x63" + kSpace + kSama);
  EXPECT_EQ(AddresseeNameText("\x8E\x52\x93\x63", ""), "\x8E\x52\x93\x63" + kSpace);
  EXPECT_EQ(SenderNameText("\x8D\xB2\x93\xA1"), "\x8D\xB2\x93\xA1");
}

TEST(ComposePostcard, NeutralOffsetsGiveTheNeutralPositions) {
  Postcard card = Postcard::design();
  ComposePostcard(card, addressee(), sender(true));
  EXPECT_EQ(card.QRname.Left, 112);
  EXPECT_EQ(card.QRname.Top, 144);
  EXPECT_EQ(card.QRaddress.Left, 104);
  EXPECT_EQ(card.QRaddress.Top, 64);
  EXPECT_EQ(card.QRzip_code.Left, 54);
  EXPECT_EQ(card.QRzip_code.Top, 30);
  EXPECT_EQ(card.QRu_name.Left, 296);
  EXPECT_EQ(card.QRu_name.Top, 304);
  EXPECT_EQ(card.QRu_address.Left, 224);
  EXPECT_EQ(card.QRu_address.Top, 272);
  EXPECT_EQ(card.QRu_zip_code.Left, 476);
  EXPECT_EQ(card.QRu_zip_code.Top, 250);
}

TEST(ComposePostcard, FillsTheSixTexts) {
  Postcard card = Postcard::design();
  ComposePostcard(card, addressee(), sender(true));
  EXPECT_EQ(card.QRname.text, "\x8E\x52\x93\x63" + kSpace + kSama);
  EXPECT_EQ(card.QRaddress.text, "address");
  EXPECT_EQ(card.QRzip_code.text, PostalCodeText("1234567"));
  EXPECT_EQ(card.QRu_name.text, "\x8D\xB2\x93\xA1");
  EXPECT_EQ(card.QRu_address.text, repeat(kKanji, 10) + kSpace + repeat(kKanji, 10) + kChoon + "1");
  EXPECT_EQ(card.QRu_zip_code.text,
            fw('3') + fw('4') + fw('5') + fw('6') + fw('7') + fw('8') + fw('9'));
}

TEST(ComposePostcard, EachOffsetMovesItsOwnBlockOnePixelAStep) {
  usertype u = sender(true);
  u.offsets[0] = 0;
  Postcard card = Postcard::design();
  ComposePostcard(card, addressee(), u);
  EXPECT_EQ(card.QRname.Top, 94);
  EXPECT_EQ(card.QRname.Left, 112);
  u.offsets[0] = 100;
  ComposePostcard(card, addressee(), u);
  EXPECT_EQ(card.QRname.Top, 194);

  // Offset k = 2..12 at 0 and at 100, against the neutral place of its block.
  struct Case {
    int k;
    const PostcardBlock Postcard::*block;
    bool top;
    int neutral;
  };
  const Case cases[] = {
      {2, &Postcard::QRname, false, 112},        {3, &Postcard::QRaddress, true, 64},
      {4, &Postcard::QRaddress, false, 104},     {5, &Postcard::QRzip_code, true, 30},
      {6, &Postcard::QRzip_code, false, 54},     {7, &Postcard::QRu_name, true, 304},
      {8, &Postcard::QRu_name, false, 296},      {9, &Postcard::QRu_address, true, 272},
      {10, &Postcard::QRu_address, false, 224},  {11, &Postcard::QRu_zip_code, true, 250},
      {12, &Postcard::QRu_zip_code, false, 476},
  };
  for (const Case& c : cases) {
    for (int value : {0, 100}) {
      usertype v = sender(true);
      v.offsets[static_cast<std::size_t>(c.k - 1)] = value;
      Postcard moved = Postcard::design();
      ComposePostcard(moved, addressee(), v);
      const PostcardBlock& b = moved.*(c.block);
      EXPECT_EQ(c.top ? b.Top : b.Left, c.neutral + value - 50) << "offset " << c.k;
      // Only that block moved, and only in that direction.
      Postcard neutral = Postcard::design();
      ComposePostcard(neutral, addressee(), sender(true));
      const PostcardBlock& n = neutral.*(c.block);
      EXPECT_EQ(c.top ? b.Left : b.Top, c.top ? n.Left : n.Top) << "offset " << c.k;
      int differing = 0;
      for (std::size_t i = 0; i < 6; ++i)
        differing += !(*moved.blocks()[i] == *neutral.blocks()[i]);
      EXPECT_EQ(differing, 1) << "offset " << c.k;
    }
  }
}

TEST(ComposePostcard, SenderOffDoesNotPrintAndLeavesTheSenderBlocksWhereTheyStood) {
  Postcard card = Postcard::design();
  ComposePostcard(card, addressee(), sender(false));
  EXPECT_EQ(card.QRu_name.text, "");
  EXPECT_EQ(card.QRu_address.text, "");
  EXPECT_EQ(card.QRu_zip_code.text, "");
  EXPECT_EQ(card.QRu_zip_code.Left, 480);  // the design place, untouched
  EXPECT_EQ(card.QRu_zip_code.Top, 248);
}

TEST(ComposePostcard, TurningTheSenderOffAfterItWasOnEmptiesItsBlocks) {
  Postcard card = Postcard::design();
  usertype u = sender(true);
  u.offsets[6] = 10;
  ComposePostcard(card, addressee(), u);
  ASSERT_FALSE(card.QRu_name.text.empty());
  ASSERT_EQ(card.QRu_name.Top, 264);

  u.print_own_address = false;
  u.offsets[6] = 90;
  ComposePostcard(card, addressee(), u);
  EXPECT_EQ(card.QRu_name.text, "");
  EXPECT_EQ(card.QRu_address.text, "");
  EXPECT_EQ(card.QRu_zip_code.text, "");
  EXPECT_EQ(card.QRu_name.Top, 264);  // the offsets of a sender that does not print are unused
  EXPECT_EQ(card.QRname.text, "\x8E\x52\x93\x63" + kSpace + kSama);
}

TEST(ComposePostcard, EmptyEntryGivesEmptyBlocksButTheNameSpace) {
  Postcard card = Postcard::design();
  ComposePostcard(card, datatype{}, usertype{});
  EXPECT_EQ(card.QRname.text, kSpace);
  EXPECT_EQ(card.QRaddress.text, "");
  EXPECT_EQ(card.QRzip_code.text, "");
}

TEST(KanjiDigits, WritesEachAsciiAndFullWidthDigitAsItsNumeral) {
  const std::string numerals =
      "\x81\x5A\x88\xEA\x93\xF1\x8E\x4F\x8E\x6C"   // 〇一二三四
      "\x8C\xDC\x98\x5A\x8E\xB5\x94\xAA\x8B\xE3";  // 五六七八九
  std::string fullWidth;
  for (char d = '0'; d <= '9'; ++d) fullWidth += fw(d);
  const struct {
    std::string text;
    std::string printed;
  } cases[] = {
      {"0123456789", numerals},
      {fullWidth, numerals},
      // ４ー１２ー８ prints as 四ー一二ー八.
      {fw('4') + kChoon + fw('1') + fw('2') + kChoon + "8",
       "\x8E\x6C" + kChoon + "\x88\xEA\x93\xF1" + kChoon + "\x94\xAA"},
      // Two-byte characters stay whole: the trail byte 5C of ソ, the full-width A (82 60).
      {"\x83\x5C"
       "1\x82\x60" +
           kKanji + "-",
       "\x83\x5C\x88\xEA\x82\x60" + kKanji + "-"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(KanjiDigits(c.text), c.printed) << c.text;
}

TEST(ComposePostcard, KanjiDigitsChangeOnlyThePrintedAddresses) {
  datatype entry = addressee();
  entry.name = "\x8E\x52\x93\x63" + fw('2');  // 山田２
  entry.address = kKanji + fw('1') + kMinus + "2";
  usertype user = sender(true);
  user.kanji_digits = true;
  Postcard card = Postcard::design();
  ComposePostcard(card, entry, user);
  // The composition itself is unchanged.
  EXPECT_EQ(card.QRaddress.text, kKanji + fw('1') + kChoon + "2");
  EXPECT_EQ(card.printedText(Postcard::kAddressBlock), kKanji + "\x88\xEA" + kChoon + "\x93\xF1");
  EXPECT_EQ(card.printedText(Postcard::kSenderAddressBlock), KanjiDigits(card.QRu_address.text));
  for (const std::size_t i : {0, 2, 3, 5})
    EXPECT_EQ(card.printedText(i), card.blocks()[i]->text) << Postcard::kBlockNames[i];
  user.kanji_digits = false;
  ComposePostcard(card, entry, user);
  EXPECT_EQ(card.printedText(Postcard::kAddressBlock), card.QRaddress.text);
}

TEST(PostcardDesign, ComposingKeepsTheBlocksSizesAndFonts) {
  const Postcard d = Postcard::design();
  Postcard composed = d;
  ComposePostcard(composed, addressee(), sender(true));
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(composed.blocks()[i]->Width, d.blocks()[i]->Width);
    EXPECT_EQ(composed.blocks()[i]->Height, d.blocks()[i]->Height);
    EXPECT_EQ(composed.blocks()[i]->FontPixels, d.blocks()[i]->FontPixels);
  }
}

}  // namespace
}  // namespace orivel
