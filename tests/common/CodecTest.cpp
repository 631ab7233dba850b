#include "common/Codec.h"

#include <gtest/gtest.h>

#include "book/Substitutes.h"

namespace orivel::codec {
namespace {

TEST(Codec, RoundTripsJapaneseText) {
  const QString text = QStringLiteral("東京都千代田区千代田１－１　宛名見本ビル様ｱｲｳ");
  std::string bytes;
  ASSERT_TRUE(fromQString(text, &bytes));
  EXPECT_EQ(bytes.substr(0, 6), "\x93\x8c\x8b\x9e\x93\x73");  // 東京都
  EXPECT_NE(bytes.find("\x81\x40"), std::string::npos);       // full-width space is 81 40
  EXPECT_EQ(toQString(bytes), text);
}

TEST(Codec, MapsUnixVariantsToTheirCodePageCharacters) {
  std::string bytes;
  ASSERT_TRUE(fromQString(QStringLiteral("\u301C\u2212\u2016\u00A2\u00A3\u00AC\u2014"), &bytes));
  EXPECT_EQ(bytes, "\x81\x60\x81\x7c\x81\x61\x81\x91\x81\x92\x81\xca\x81\x5c");
}

TEST(Codec, RefusesCharactersTheCodePageCannotHoldAndNamesTheFirst) {
  std::string bytes = "unchanged";
  QString bad;
  EXPECT_FALSE(fromQString(QStringLiteral("山田\U00020BB7太郎😀"), &bytes, &bad));
  EXPECT_EQ(bad, QStringLiteral("\U00020BB7"));
  EXPECT_EQ(bytes, "unchanged");
  EXPECT_EQ(firstUnencodable(QStringLiteral("abc\u00E9")), QStringLiteral("\u00E9"));
  EXPECT_TRUE(firstUnencodable(QStringLiteral("髙橋①")).isEmpty());  // vendor extensions
}

// Each known substitute stands for a character the code page cannot hold, and is one it can.
TEST(Codec, EverySubstituteIsWritableAndStandsForOneThatIsNot) {
  ASSERT_FALSE(KnownSubstitutes().empty());
  for (const auto& [character, substitute] : KnownSubstitutes()) {
    const QString refused = QString::fromUcs4(&character, 1);
    const QString written = QString::fromUcs4(&substitute, 1);
    EXPECT_EQ(firstUnencodable(refused), refused) << refused.toStdString();
    EXPECT_TRUE(firstUnencodable(written).isEmpty()) << written.toStdString();
    EXPECT_EQ(CommonSubstitute(character), substitute);
  }
  EXPECT_EQ(CommonSubstitute(U'\U00020BB7'), U'吉');
  EXPECT_EQ(CommonSubstitute(U'吉'), std::nullopt);
  EXPECT_EQ(CommonSubstitute(U'\U0001F600'), std::nullopt);
}

TEST(Codec, UndecodableBytesShowAsReplacementAndTheRestStillDecodes) {
  const std::string bytes(
      "A\x80"
      "B\x82\xa0"
      "\xff\x81",
      7);
  const QString shown = toQString(bytes);
  EXPECT_EQ(shown, QStringLiteral("A\uFFFDBあ\uFFFD\uFFFD"));
}

TEST(Codec, ALeadByteCutOffAtTheEndShowsAsReplacement) {
  // 山 and the first byte of 田: the converter would wait for more and drop the byte.
  const std::string bytes("\x8e\x52\x93", 3);
  EXPECT_EQ(toQString(bytes), QStringLiteral("山\uFFFD"));
  std::string back;
  EXPECT_FALSE(fromQString(toQString(bytes), &back));
}

}  // namespace
}  // namespace orivel::codec
