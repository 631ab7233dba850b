#include "files/ProfileFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

namespace orivel {
namespace {

TEST(ProfileFileTest, NamesCompareWithoutRegardToCase) {
  const ProfileFile p("[header]\r\nversion=Ver1.00\r\nCNT=3\r\n");
  EXPECT_EQ(p.ReadString("HEADER", "Version", "0"), "Ver1.00");
  EXPECT_EQ(p.ReadInteger("Header", "cnt", 0), 3);
}

TEST(ProfileFileTest, CaseFoldingLeavesTrailBytesAlone) {
  // 山田 is 8E 52: its trail byte is "R". 8E 72 is another character, not its lower case.
  const ProfileFile p("[S]\r\n\x8e\x52=a\r\n");
  EXPECT_EQ(p.ReadString("S", "\x8e\x52", "x"), "a");
  EXPECT_EQ(p.ReadString("s", "\x8e\x72", "x"), "x");
}

TEST(ProfileFileTest, AbsentGivesTheDefaultAndEmptyGivesEmptyText) {
  const ProfileFile p("[S]\r\nempty=\r\nblank=   \r\n");
  EXPECT_EQ(p.ReadString("S", "missing", "0"), "0");
  EXPECT_EQ(p.ReadString("T", "empty", "0"), "0");
  EXPECT_EQ(p.ReadString("S", "empty", "0"), "");
  EXPECT_EQ(p.ReadString("S", "blank", "0"), "");
  EXPECT_TRUE(p.hasKey("S", "empty"));
  EXPECT_FALSE(p.hasKey("S", "missing"));
}

TEST(ProfileFileTest, ValuesLoseBlanksAndOneMatchingPairOfQuotes) {
  const ProfileFile p(
      "[S]\r\n"
      "a =  spaced \t\r\n"
      "b=\"quoted\"\r\n"
      "c='single'\r\n"
      "d=\"mixed'\r\n"
      "e=\"\"twice\"\"\r\n"
      "f=\"\r\n"
      "g= \" inner \" \r\n"
      "h=x=y\r\n");
  EXPECT_EQ(p.ReadString("S", "a", ""), "spaced");
  EXPECT_EQ(p.ReadString("S", "b", ""), "quoted");
  EXPECT_EQ(p.ReadString("S", "c", ""), "single");
  EXPECT_EQ(p.ReadString("S", "d", ""), "\"mixed'");
  EXPECT_EQ(p.ReadString("S", "e", ""), "\"twice\"");
  EXPECT_EQ(p.ReadString("S", "f", ""), "\"");
  EXPECT_EQ(p.ReadString("S", "g", ""), " inner ");
  EXPECT_EQ(p.ReadString("S", "h", ""), "x=y");
}

TEST(ProfileFileTest, FullWidthSpaceIsNotABlank) {
  const ProfileFile p("[S]\r\na=\x81\x40\x8e\x52\x81\x40\r\n");
  EXPECT_EQ(p.ReadString("S", "a", ""), "\x81\x40\x8e\x52\x81\x40");
}

TEST(ProfileFileTest, IntegersAreWholeDecimalNumbers) {
  const ProfileFile p(
      "[S]\r\nplain=300\r\nneg=-1\r\nplus=+7\r\nzeros=007\r\nquoted=\"12\"\r\n"
      "word=abc\r\ntail=12abc\r\nhex=0x10\r\nempty=\r\nhuge=99999999999\r\nsign=-\r\n");
  EXPECT_EQ(p.ReadInteger("S", "plain", 5), 300);
  EXPECT_EQ(p.ReadInteger("S", "neg", 5), -1);
  EXPECT_EQ(p.ReadInteger("S", "plus", 5), 7);
  EXPECT_EQ(p.ReadInteger("S", "zeros", 5), 7);
  EXPECT_EQ(p.ReadInteger("S", "quoted", 5), 12);
  for (const char* k : {"word", "tail", "hex", "empty", "huge", "sign", "absent"})
    EXPECT_EQ(p.ReadInteger("S", k, 5), 5) << k;
}

TEST(ProfileFileTest, BooleansAreNonZeroIntegers) {
  const ProfileFile p("[S]\r\none=1\r\ntwo=2\r\nminus=-1\r\nzero=0\r\nyes=yes\r\ntrue=true\r\n");
  EXPECT_TRUE(p.ReadBool("S", "one", false));
  EXPECT_TRUE(p.ReadBool("S", "two", false));
  EXPECT_TRUE(p.ReadBool("S", "minus", false));
  EXPECT_FALSE(p.ReadBool("S", "zero", true));
  EXPECT_FALSE(p.ReadBool("S", "yes", false));
  EXPECT_FALSE(p.ReadBool("S", "true", false));
  EXPECT_FALSE(p.ReadBool("S", "absent", false));
  EXPECT_TRUE(p.ReadBool("S", "absent", true));
}

TEST(ProfileFileTest, ReadsLfCrLfAndALastLineWithoutEnd) {
  const ProfileFile lf("[S]\na=1\nb=2");
  EXPECT_EQ(lf.ReadString("S", "a", ""), "1");
  EXPECT_EQ(lf.ReadString("S", "b", ""), "2");
  const ProfileFile mixed("[S]\r\na=1\nb=2\r\n");
  EXPECT_EQ(mixed.ReadString("S", "a", ""), "1");
  EXPECT_EQ(mixed.ReadString("S", "b", ""), "2");
}

TEST(ProfileFileTest, TheFirstOfTwoNamesCounts) {
  ProfileFile p("[S]\r\na=first\r\nA=second\r\n[s]\r\nb=hidden\r\n");
  EXPECT_EQ(p.ReadString("S", "a", ""), "first");
  EXPECT_EQ(p.ReadString("S", "b", "none"), "none");
  ASSERT_TRUE(p.WriteString("S", "a", "new"));
  EXPECT_EQ(p.text(), "[S]\r\na=new\r\nA=second\r\n[s]\r\nb=hidden\r\n");
}

TEST(ProfileFileTest, LinesOutsideSectionsAndWithoutEqualsNeverMatchAndSurvive) {
  ProfileFile p("a=before\r\n; comment\r\n[S]\r\nnoequals\r\n=nokey\r\n  [broken\r\n");
  EXPECT_EQ(p.ReadString("S", "a", "d"), "d");
  EXPECT_EQ(p.ReadString("S", "noequals", "d"), "d");
  EXPECT_EQ(p.ReadString("S", "", "d"), "d");
  ASSERT_TRUE(p.WriteString("S", "a", "1"));
  EXPECT_EQ(p.text(), "a=before\r\n; comment\r\n[S]\r\nnoequals\r\n=nokey\r\n  [broken\r\na=1\r\n");
}

TEST(ProfileFileTest, BlanksAroundNamesDoNotMatter) {
  ProfileFile p("  [ S ]  \r\n  key  =  v  \r\n");
  EXPECT_EQ(p.ReadString("S", "key", ""), "v");
  ASSERT_TRUE(p.WriteString("s", "KEY", "w"));
  // Replaced at its place, with the name as the file spells it.
  EXPECT_EQ(p.text(), "  [ S ]  \r\nkey=w\r\n");
}

TEST(ProfileFileTest, WritesReplaceInPlaceAppendToTheSectionAndAddSectionsAtTheEnd) {
  ProfileFile p("[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
  ASSERT_TRUE(p.WriteString("a", "X", "10"));
  ASSERT_TRUE(p.WriteString("A", "new", "n"));
  ASSERT_TRUE(p.WriteString("C", "c", "c"));
  ASSERT_TRUE(p.WriteInteger("B", "i", -4));
  ASSERT_TRUE(p.WriteBool("B", "t", true));
  ASSERT_TRUE(p.WriteBool("B", "f", false));
  EXPECT_EQ(
      p.text(),
      "[A]\r\nx=10\r\ny=2\r\nnew=n\r\n\r\n[B]\r\nz=3\r\ni=-4\r\nt=1\r\nf=0\r\n[C]\r\nc=c\r\n");
}

TEST(ProfileFileTest, AFreshProfileHoldsOnlyWhatWasWritten) {
  ProfileFile p;
  EXPECT_EQ(p.text(), "");
  ASSERT_TRUE(p.WriteString("HEADER", "Version", "Ver1.00"));
  EXPECT_EQ(p.text(), "[HEADER]\r\nVersion=Ver1.00\r\n");
}

TEST(ProfileFileTest, WritingNeverRemovesAndEndsEveryLineWithCrLf) {
  ProfileFile p("[S]\na=1\nkeep=me\n[T]\nother=x");
  ASSERT_TRUE(p.WriteString("S", "a", "2"));
  EXPECT_EQ(p.text(), "[S]\r\na=2\r\nkeep=me\r\n[T]\r\nother=x\r\n");
}

TEST(ProfileFileTest, ABreakInANameOrValueIsRefusedAndNothingWritten) {
  ProfileFile p("[S]\r\na=1\r\n");
  EXPECT_FALSE(p.WriteString("S", "a", "two\r\nlines"));
  EXPECT_FALSE(p.WriteString("S", "b", "x\ny"));
  EXPECT_FALSE(p.WriteString("S", "k=v", "x"));
  EXPECT_FALSE(p.WriteString("S]", "k", "x"));
  EXPECT_FALSE(p.WriteString("S", "", "x"));
  EXPECT_EQ(p.text(), "[S]\r\na=1\r\n");
}

TEST(ProfileFileTest, ALoneCarriageReturnInAValueReadsAndWritesBack) {
  // Only LF ends a line, so a hand-edited file can give a value holding a CR; writing it
  // back must work, or a loaded book could never be saved.
  ProfileFile p("[S]\r\na=x\ry\r\nb=end\r\r\n");
  EXPECT_EQ(p.ReadString("S", "a", ""), "x\ry");
  EXPECT_EQ(p.ReadString("S", "b", ""), "end\r");
  ASSERT_TRUE(p.WriteString("S", "a", "p\rq"));
  ASSERT_TRUE(p.WriteString("S", "c", "\r"));
  const ProfileFile again(p.text());
  EXPECT_EQ(again.ReadString("S", "a", ""), "p\rq");
  EXPECT_EQ(again.ReadString("S", "b", ""), "end\r");
  EXPECT_EQ(again.ReadString("S", "c", ""), "\r");
  EXPECT_FALSE(p.WriteString("S", "d", "p\nq"));
  EXPECT_FALSE(p.WriteString("S", "d\r", "v"));
  EXPECT_FALSE(p.WriteString("S\r", "d", "v"));
}

TEST(ProfileFileTest, TwoSignsAreNotANumber) {
  const ProfileFile p("[S]\r\na=+-5\r\nb=-+5\r\nc=++5\r\nd=--5\r\ne=+5\r\nf=-5\r\n");
  for (const char* k : {"a", "b", "c", "d"}) EXPECT_EQ(p.ReadInteger("S", k, 9), 9) << k;
  EXPECT_EQ(p.ReadInteger("S", "e", 9), 5);
  EXPECT_EQ(p.ReadInteger("S", "f", 9), -5);
  EXPECT_FALSE(p.ReadBool("S", "a", false));
}

TEST(ProfileFileTest, ThousandsOfNewKeysStayInWritingOrder) {
  ProfileFile p("[S]\r\n\r\n[T]\r\nt=1\r\n");
  for (int i = 0; i < 3000; ++i) ASSERT_TRUE(p.WriteInteger("S", "k" + std::to_string(i), i));
  for (int i = 0; i < 3000; i += 499) EXPECT_EQ(p.ReadInteger("S", "K" + std::to_string(i), -1), i);
  const std::string text = p.text();
  EXPECT_EQ(text.rfind("[S]\r\nk0=0\r\nk1=1\r\n", 0), 0u);
  EXPECT_NE(text.find("k2999=2999\r\n\r\n[T]\r\nt=1\r\n"), std::string::npos);
}

// Lines refer to the text the file holds: a copy, a moved file and a file parsed from its
// own text keep reading and writing after the text they came from is gone.
TEST(ProfileFileTest, CopiedMovedAndReparsedFilesOutliveTheirOriginal) {
  std::optional<ProfileFile> original(std::in_place, "[S]\r\nkey=value\r\n");
  ASSERT_TRUE(original->WriteString("S", "new", "written"));
  ASSERT_TRUE(original->WriteString("T", "t", "1"));
  ProfileFile copy(*original);
  ProfileFile assigned;
  assigned = *original;
  ProfileFile moved(std::move(*original));
  original.reset();
  ProfileFile reparsed("[X]\r\nx=1\r\n");
  reparsed.parse(reparsed.text());
  EXPECT_EQ(reparsed.ReadInteger("X", "x", 0), 1);
  for (ProfileFile* p : {&copy, &assigned, &moved}) {
    EXPECT_EQ(p->ReadString("s", "KEY", ""), "value");
    EXPECT_EQ(p->ReadString("S", "new", ""), "written");
    ASSERT_TRUE(p->WriteString("S", "key", "changed"));
    EXPECT_EQ(p->text(), "[S]\r\nkey=changed\r\nnew=written\r\n[T]\r\nt=1\r\n");
  }
}

}  // namespace
}  // namespace orivel
