#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../files/TempFiles.h"
#include "files/FileBytes.h"
#include "postal/AddressCheck.h"
#include "postal/PostalDictionary.h"
#include "postal/PostalSources.h"
#include "postal/SkkZipcode.h"

namespace orivel::postal {
namespace {

const std::filesystem::path kSmallDictionary =
    std::filesystem::path(ORIVEL_TEST_DATA) / "postal-dict.txt";

PostalDictionary smallDictionary() {
  std::string bytes;
  EXPECT_EQ(ReadFileBytes(kSmallDictionary, &bytes), FileReadStatus::Ok);
  ZipParseResult parsed;
  ParseSkkZipcode(bytes, &parsed);
  PostalDictionary d;
  EXPECT_TRUE(d.adopt(PostalDictionary::Build(parsed.lines, 1)));
  return d;
}

std::vector<std::string> addresses(const PostalDictionary& d, std::uint32_t code) {
  std::vector<std::string> out;
  const auto range = d.find(code);
  for (auto n = range.first; n < range.last; ++n) out.push_back(d.candidate(n).address());
  return out;
}

TEST(EucJis2004ToCp932, KeepsWhatCodePage932HoldsAndRefusesTheRest) {
  struct Case {
    std::string euc;
    bool held;
    std::string cp932;
  } cases[] = {
      {"1500001 /", true, "1500001 /"},
      {"\xC5\xEC\xB5\xFE\xC5\xD4", true, "\x93\x8C\x8B\x9E\x93\x73" /* 東京都 */},
      {"\x8E\xB1", true, "\xB1"},               // half-width ｱ
      {"\xAD\xEA", true, "\x87\x8A" /* ㈱ */},  // NEC row 13 in the same cell
      {"\xA1\xDD", true, "\x81\x7C"},           // 1-1-61, MINUS SIGN in EUC-JIS-2004
      {"\x8F\xA1\xA2", false, ""},              // plane 2
      {"\xA2\xAF", false, ""},                  // a cell JIS X 0213 added to row 2
      {"\xAF\xA1", false, ""},                  // row 15, none of code page 932
      {"\xC5", false, ""},                      // cut off
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(EucJis2004ToCp932(c.euc, &out), c.held) << c.cp932;
    if (c.held) {
      EXPECT_EQ(out, c.cp932);
    }
  }
}

TEST(ParseSkkZipcode, ReadsCodesAndCandidatesAndLeavesOutWhatCannotBeHeld) {
  const PostalDictionary d = smallDictionary();
  EXPECT_EQ(addresses(d, 1500001),
            std::vector<std::string>{"\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B"
                                     "\x7B\x91\x4F" /* 東京都渋谷区神宮前 */});
  EXPECT_EQ(addresses(d, 28089),
            (std::vector<std::string>{
                "\x96\x6B\x8A\x43\x93\xB9\x90\xCE\x8E\xEB\x8C\x53\x93\x96\x95\xCA\x92\xAC\x83\x72"
                "\x83\x67\x83\x47" /* 北海道石狩郡当別町ビトエ */,
                "\x96\x6B\x8A\x43\x93\xB9\x90\xCE\x8E\xEB\x8C\x53\x93\x96\x95\xCA\x92\xAC\x83\x72"
                "\x83\x67\x83\x47\x92\x86\x93\x87" /* 北海道石狩郡当別町ビトエ中島 */}));
  // The annotation after ";" is dropped; a candidate with 𠀋 stays out, and so does a code
  // with nothing else.
  EXPECT_EQ(addresses(d, 1500003),
            std::vector<std::string>{"\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B"
                                     "\x7B\x91\x4F" /* 東京都渋谷区神宮前 */});
  EXPECT_EQ(
      addresses(d, 9990001),
      std::vector<std::string>{"\x96\x6B\x8A\x43\x93\xB9\x90\xCE\x8E\xEB\x8C\x53\x93\x96\x95\xCA"
                               "\x92\xAC\x95\xD9\x89\xD8\x95\xCA" /* 北海道石狩郡当別町弁華別 */});
  EXPECT_TRUE(d.find(9990002).empty());
  EXPECT_TRUE(d.find(1500009).empty());
  std::string bytes;
  ReadFileBytes(kSmallDictionary, &bytes);
  ZipParseResult parsed;
  ParseSkkZipcode(bytes, &parsed);
  EXPECT_EQ(parsed.candidatesLeftOut, 2u);
}

TEST(ParseSkkZipcode, KeepsTheOfficeNameApartFromItsAddress) {
  const PostalDictionary d = smallDictionary();
  const auto range = d.find(6308501);
  ASSERT_EQ(range.size(), 2u);
  const PostalCandidate c = d.candidate(range.first);
  EXPECT_EQ(c.office, "\x93\xDE\x97\xC7\x8C\xA7\x92\xA1" /* 奈良県庁 */);
  EXPECT_EQ(c.prefecture, "\x93\xDE\x97\xC7\x8C\xA7" /* 奈良県 */);
  EXPECT_EQ(c.city, "\x93\xDE\x97\xC7\x8E\x73" /* 奈良市 */);
  EXPECT_EQ(c.town, "\x93\x6F\x91\xE5\x98\x48\x92\xAC\x82\x52\x82\x4F" /* 登大路町３０ */);
  EXPECT_EQ(d.codeOfCandidate(range.first + 1), 6308501u);
}

TEST(SplitAddress, FindsPrefectureCityAndTown) {
  struct Case {
    std::string address, city, town;
  } cases[] = {
      {"\x96\x6B\x8A\x43\x93\xB9\x90\xCE\x8E\xEB\x8C\x53\x93\x96\x95\xCA\x92\xAC\x83\x72\x83"
       "\x67\x83\x47" /* 北海道石狩郡当別町ビトエ */,
       "\x90\xCE\x8E\xEB\x8C\x53\x93\x96\x95\xCA\x92\xAC" /* 石狩郡当別町 */,
       "\x83\x72\x83\x67\x83\x47" /* ビトエ */},
      {"\x8B\x7B\x8F\xE9\x8C\xA7\x90\xE5\x91\xE4\x8E\x73\x90\xC2\x97\x74\x8B\xE6\x88\xEA\x94"
       "\xD4\x92\xAC" /* 宮城県仙台市青葉区一番町 */,
       "\x90\xE5\x91\xE4\x8E\x73\x90\xC2\x97\x74\x8B\xE6" /* 仙台市青葉区 */,
       "\x88\xEA\x94\xD4\x92\xAC" /* 一番町 */},
      {"\x93\x8C\x8B\x9E\x93\x73\x90\x56\x8F\x68\x8B\xE6\x8E\x73\x92\x4A\x89\xC1\x89\xEA\x92"
       "\xAC" /* 東京都新宿区市谷加賀町 */,
       "\x90\x56\x8F\x68\x8B\xE6" /* 新宿区 */,
       "\x8E\x73\x92\x4A\x89\xC1\x89\xEA\x92\xAC" /* 市谷加賀町 */},
      {"\x93\x8C\x8B\x9E\x93\x73\x95\x90\x91\xA0\x91\xBA\x8E\x52\x8E\x73\x97\xCE\x82\xAA\x8B"
       "\x75" /* 東京都武蔵村山市緑が丘 */,
       "\x95\x90\x91\xA0\x91\xBA\x8E\x52\x8E\x73" /* 武蔵村山市 */,
       "\x97\xCE\x82\xAA\x8B\x75" /* 緑が丘 */},
      {"\x8E\x4F\x8F\x64\x8C\xA7\x8E\x6C\x93\xFA\x8E\x73\x8E\x73\x94\xAA\x93\x63" /* 三重県四日市市八田
                                                                                   */
       ,
       "\x8E\x6C\x93\xFA\x8E\x73\x8E\x73" /* 四日市市 */, "\x94\xAA\x93\x63" /* 八田 */},
      {"\x8E\x4F\x8F\x64\x8C\xA7\x97\xE9\x8E\xAD\x8E\x73\x8C\x53\x8E\x52\x92\xAC" /* 三重県鈴鹿市郡山町
                                                                                   */
       ,
       "\x97\xE9\x8E\xAD\x8E\x73" /* 鈴鹿市 */, "\x8C\x53\x8E\x52\x92\xAC" /* 郡山町 */},
      {"\x95\x9F\x93\x87\x8C\xA7\x8C\x53\x8E\x52\x8E\x73\x89\x77\x91\x4F" /* 福島県郡山市駅前 */
       ,
       "\x8C\x53\x8E\x52\x8E\x73" /* 郡山市 */, "\x89\x77\x91\x4F" /* 駅前 */},
      {"\x96\x6B\x8A\x43\x93\xB9\x97\x5D\x8E\x73\x8C\x53\x97\x5D\x8E\x73\x92\xAC\x8D\x95\x90"
       "\xEC\x92\xAC" /* 北海道余市郡余市町黒川町 */,
       "\x97\x5D\x8E\x73\x8C\x53\x97\x5D\x8E\x73\x92\xAC" /* 余市郡余市町 */,
       "\x8D\x95\x90\xEC\x92\xAC" /* 黒川町 */},
      {"\x90\x56\x8A\x83\x8C\xA7\x8F\x5C\x93\xFA\x92\xAC\x8E\x73\x96\x7B\x92\xAC" /* 新潟県十日町市本町
                                                                                   */
       ,
       "\x8F\x5C\x93\xFA\x92\xAC\x8E\x73" /* 十日町市 */, "\x96\x7B\x92\xAC" /* 本町 */},
      {"\x93\x8C\x8B\x9E\x93\x73\x91\xE5\x93\x87\x92\xAC\x8C\xB3\x92\xAC" /* 東京都大島町元町 */
       ,
       "\x91\xE5\x93\x87\x92\xAC" /* 大島町 */, "\x8C\xB3\x92\xAC" /* 元町 */},
  };
  for (const Case& c : cases) {
    AddressParts parts;
    ASSERT_TRUE(SplitAddress(c.address, &parts)) << c.address;
    EXPECT_EQ(parts.city, c.city);
    EXPECT_EQ(parts.town, c.town);
  }
  AddressParts parts;
  EXPECT_FALSE(
      SplitAddress("\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B\x7B\x91\x4F" /* 渋谷区神宮前 */, &parts));
}

TEST(PostalDictionary, RefusesADamagedTable) {
  const PostalDictionary d = smallDictionary();
  PostalDictionary::Image image = d.image();
  PostalDictionary copy;
  EXPECT_TRUE(copy.adopt(image));
  image.pop_back();
  EXPECT_FALSE(copy.adopt(image));
  EXPECT_TRUE(copy.empty());
  image = d.image();
  image[9] = 0;  // the second code before the first
  EXPECT_FALSE(copy.adopt(image));
}

TEST(OpenPostalDictionary, ConvertsOnceAndThenLoadsTheCachedTable) {
  test::TempFolder folder;
  const std::filesystem::path cache = folder.path("cache/postal.table");
  PostalDictionary d;
  EXPECT_EQ(OpenPostalDictionary({kSmallDictionary}, cache, &d), PostalOpenStatus::Converted);
  EXPECT_TRUE(std::filesystem::exists(cache));
  PostalDictionary again;
  EXPECT_EQ(OpenPostalDictionary({kSmallDictionary}, cache, &again), PostalOpenStatus::Loaded);
  EXPECT_EQ(addresses(again, 1500001),
            std::vector<std::string>{"\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B"
                                     "\x7B\x91\x4F" /* 東京都渋谷区神宮前 */});
  // Another source makes the cached table stale.
  const std::filesystem::path other = folder.write(
      "other.txt", "1000001 /\xC5\xEC\xB5\xFE\xC5\xD4\xC0\xE9\xC2\xE5\xC5\xC4\xB6\xE8/\n");
  EXPECT_EQ(OpenPostalDictionary({other}, cache, &again), PostalOpenStatus::Converted);
  EXPECT_EQ(again.codeCount(), 1u);
  EXPECT_EQ(OpenPostalDictionary({}, cache, &again), PostalOpenStatus::NotFound);
  EXPECT_EQ(OpenPostalDictionary({folder.path("missing.txt")}, {}, &again),
            PostalOpenStatus::Unreadable);
}

TEST(FindPostalSources, TakesTheNamedFileOrSearchesTheDataFolders) {
#ifdef _WIN32
  GTEST_SKIP() << "the XDG data folders are a Unix convention";
#else
  test::TempFolder folder;
  const std::string data = folder.path("data").string();
  std::filesystem::create_directories(data + "/skk");
  folder.write("data/skk/SKK-JISYO.zipcode", "");
  unsetenv(kDictionaryVariable);
  setenv("XDG_DATA_HOME", folder.path("nowhere").c_str(), 1);
  setenv("XDG_DATA_DIRS", (folder.path("none").string() + ":" + data).c_str(), 1);
  EXPECT_EQ(FindPostalSources(),
            std::vector<std::filesystem::path>{data + "/skk/SKK-JISYO.zipcode"});
  setenv(kDictionaryVariable, "/some/file", 1);
  EXPECT_EQ(FindPostalSources(), std::vector<std::filesystem::path>{"/some/file"});
  unsetenv(kDictionaryVariable);
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_DATA_DIRS");
#endif
}

TEST(ParseZipCode, ReadsTheFormsABookHolds) {
  using F = ZipCode::Form;
  struct Case {
    std::string text;
    F form;
    std::uint32_t code;
  } cases[] = {
      {"150-0001", F::Valid, 1500001},
      {"1500001", F::Valid, 1500001},
      {"\x82\x50\x82\x54\x82\x4F\x81\x7C\x82\x4F\x82\x4F\x82\x4F\x82\x50" /* １５０－０００１ */,
       F::Valid, 1500001},
      {" 150-0001 ", F::Valid, 1500001},
      {"", F::Missing, 0},
      {"   -    ", F::Missing, 0},
      {"___-____", F::Missing, 0},
      {"150-001", F::Malformed, 0},
      {"15-00001", F::Malformed, 0},
      {"150-000A", F::Malformed, 0},
      {"1500-001", F::Malformed, 0},
  };
  for (const Case& c : cases) {
    const ZipCode z = ParseZipCode(c.text);
    EXPECT_EQ(z.form, c.form) << c.text;
    EXPECT_EQ(z.code, c.code) << c.text;
  }
  EXPECT_EQ(FormatZipCode(28089), "002-8089");
}

TEST(FillAddress, GivesTheAddressOrTheCommonBeginningOfSeveral) {
  const PostalDictionary d = smallDictionary();
  EXPECT_EQ(FillAddress(d, 1500001), "\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B\x7B\x91\x4F" /* 東京都渋谷区神宮前 */);
  EXPECT_EQ(FillAddress(d, 28089),
            "\x96\x6B\x8A\x43\x93\xB9\x90\xCE\x8E\xEB\x8C\x53\x93\x96\x95\xCA\x92\xAC\x83\x72\x83"
            "\x67\x83\x47" /* 北海道石狩郡当別町ビトエ */);
  EXPECT_EQ(FillAddress(d, 1008798),
            "\x93\x8C\x8B\x9E\x93\x73\x90\xE7\x91\xE3\x93\x63\x8B\xE6\x91\xE5\x8E\xE8\x92\xAC\x82"
            "\x51\x92\x9A\x96\xDA\x82\x52\x81\x7C\x82\x50" /* 東京都千代田区大手町２丁目３－１ */);
  EXPECT_EQ(FillAddress(d, 6308501),
            "\x93\xDE\x97\xC7\x8C\xA7\x93\xDE\x97\xC7\x8E\x73\x93\x6F\x91\xE5\x98\x48\x92\xAC\x82"
            "\x52\x82\x4F" /* 奈良県奈良市登大路町３０ */);
  EXPECT_EQ(FillAddress(d, 1500009), "");
}

// One entry per kind of finding, and entries that are right in the ways people write them.
TEST(CheckBook, FindsEachKindOfProblem) {
  const PostalDictionary d = smallDictionary();
  struct Case {
    std::string zip, address;
    bool found;
    Problem problem;
    std::vector<std::uint32_t> codes;
  } cases[] = {
      {"150-0001",
       "\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B\x7B\x91\x4F\x82\x50\x81"
       "\x7C\x82\x51\x81\x7C\x82\x52" /* 東京都渋谷区神宮前１－２－３ */,
       false,
       {},
       {}},
      {"\x82\x50\x82\x54\x82\x4F\x82\x4F\x82\x4F\x82\x4F\x82\x50" /* １５００００１ */,
       "\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B\x7B\x91\x4F\x31\x2D\x32\x2D\x33" /* 渋谷区神宮前1-2-3
                                                                               */
       ,
       false,
       {},
       {}},
      {"208-0012",
       "\x93\x8C\x8B\x9E\x93\x73\x95\x90\x91\xA0\x91\xBA\x8E\x52\x8E\x73\x97\xCE\x83\x96\x8B"
       "\x75\x82\x50" /* 東京都武蔵村山市緑ヶ丘１ */,
       false,
       {},
       {}},
      {"132-0024",
       "\x93\x8C\x8B\x9E\x93\x73\x8D\x5D\x8C\xCB\x90\xEC\x8B\xE6\x88\xEA\x83\x6D\x8D\x5D\x82"
       "\x51" /* 東京都江戸川区一ノ江２ */,
       false,
       {},
       {}},
      {"980-0811",
       "\x8B\x7B\x8F\xE9\x8C\xA7\x90\xE5\x91\xE4\x8E\x73\x90\xC2\x97\x74\x8B\xE6\x88\xEA\x94"
       "\xD4\x92\xAC\x82\x50\x92\x9A\x96\xDA\x82\x51" /* 宮城県仙台市青葉区一番町１丁目２ */,
       false,
       {},
       {}},
      {"980-0811",
       "\x8B\x7B\x8F\xE9\x8C\xA7\x90\xE5\x91\xE4\x8E\x73\x90\xC2\x97\x74\x8B\xE6\x88\xEA\x94"
       "\xD4\x92\xAC\x31\x2D\x32" /* 宮城県仙台市青葉区一番町1-2 */,
       false,
       {},
       {}},
      {"002-8089",
       "\x96\x6B\x8A\x43\x93\xB9\x93\x96\x95\xCA\x92\xAC\x83\x72\x83\x67\x83\x47\x92\x86\x93"
       "\x87\x82\x54" /* 北海道当別町ビトエ中島５ */,
       false,
       {},
       {}},
      {"150-0000",
       "\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x82\xC7\x82\xB1\x82\xA9" /* 東京都渋谷区どこか
                                                                                   */
       ,
       false,
       {},
       {}},
      {"100-8798",
       "\x93\x8C\x8B\x9E\x93\x73\x90\xE7\x91\xE3\x93\x63\x8B\xE6\x91\xE5\x8E\xE8\x92\xAC\x32"
       "\x2D\x33\x2D\x31" /* 東京都千代田区大手町2-3-1 */,
       false,
       {},
       {}},
      {"   -    ",
       "\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B\x7B\x91\x4F\x82\x50" /* 東京都渋谷区神宮前１
                                                                                           */
       ,
       true,
       Problem::Missing,
       {1500001, 1500003}},
      {"150-01",
       "\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x8F\x61\x92\x4A\x82\x51" /* 東京都渋谷区渋谷２
                                                                                   */
       ,
       true,
       Problem::Malformed,
       {1500002}},
      {"150-0009",
       "\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B\x7B\x91\x4F\x82\x50" /* 東京都渋谷区神宮前１
                                                                                           */
       ,
       true,
       Problem::Unknown,
       {1500001, 1500003}},
      {"150-0001",
       "\x93\x8C\x8B\x9E\x93\x73\x90\x56\x8F\x68\x8B\xE6\x90\xBC\x90\x56\x8F\x68\x82\x51" /* 東京都新宿区西新宿２
                                                                                           */
       ,
       true,
       Problem::City,
       {1600023}},
      {"150-0001",
       "\x91\xE5\x8D\xE3\x95\x7B\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B\x7B\x91\x4F\x82\x50" /* 大阪府渋谷区神宮前１
                                                                                           */
       ,
       true,
       Problem::City,
       {}},
      {"150-0001",
       "\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x8F\x61\x92\x4A\x82\x51" /* 東京都渋谷区渋谷２
                                                                                   */
       ,
       true,
       Problem::Town,
       {1500002}},
      {"980-0811",
       "\x8B\x7B\x8F\xE9\x8C\xA7\x90\xE5\x91\xE4\x8E\x73\x90\xC2\x97\x74\x8B\xE6\x88\xEA\x94"
       "\xD4\x92\xAC\x82\x51\x92\x9A\x96\xDA" /* 宮城県仙台市青葉区一番町２丁目 */,
       true,
       Problem::Town,
       {}},
      // A run of numerals far longer than a number: text, not a number that overflows.
      {"980-0811",
       "\x8B\x7B\x8F\xE9\x8C\xA7\x90\xE5\x91\xE4\x8E\x73\x90\xC2\x97\x74\x8B\xE6\x88\xEA\x94"
       "\xD4\x92\xAC\x8B\xE3\x8B\xE3\x8B\xE3\x8B\xE3\x8B\xE3\x8B\xE3\x8B\xE3\x8B\xE3\x8B\xE3\x8B"
       "\xE3\x8B\xE3\x8B\xE3\x92\x9A\x96\xDA" /* 宮城県仙台市青葉区一番町九九九九九九九九九九九九丁目
                                               */
       ,
       true,
       Problem::Town,
       {}},
  };
  AddressBook book;
  for (const Case& c : cases) {
    datatype e;
    e.name = "n";
    e.zip_code = c.zip;
    e.address = c.address;
    book.append(e);
  }
  const std::vector<Finding> findings = CheckBook(book, d);
  std::size_t next = 0;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const bool found = next < findings.size() && findings[next].index == static_cast<int>(i);
    EXPECT_EQ(found, c.found) << i << " " << c.address;
    if (!found) continue;
    EXPECT_EQ(findings[next].problem, c.problem) << i;
    EXPECT_EQ(findings[next].codes, c.codes) << i;
    ++next;
  }
  EXPECT_EQ(next, findings.size()) << "a finding for no case, or one twice";
  // A wrong city or town names the code's own address.
  const auto city = std::find_if(findings.begin(), findings.end(),
                                 [](const Finding& f) { return f.problem == Problem::City; });
  ASSERT_NE(city, findings.end());
  EXPECT_EQ(city->expected,
            std::vector<std::string>{"\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B"
                                     "\x7B\x91\x4F" /* 東京都渋谷区神宮前 */});
  EXPECT_EQ(ProblemName(Problem::Town), "town");
}

// The installed Debian list, when the machine has it.
TEST(InstalledDictionary, ConvertsTheDebianListsAndChecksRealAddresses) {
  const std::filesystem::path zip = "/usr/share/skk/SKK-JISYO.zipcode";
  const std::filesystem::path office = "/usr/share/skk/SKK-JISYO.office.zipcode";
  // scripts/setup.sh installs skkdic-extra: without it the machine is not set up.
  ASSERT_TRUE(std::filesystem::exists(zip) && std::filesystem::exists(office))
      << "skkdic-extra is not installed";
  test::TempFolder folder;
  PostalDictionary d;
  ASSERT_EQ(OpenPostalDictionary({zip, office}, folder.path("postal.table"), &d),
            PostalOpenStatus::Converted);
  EXPECT_GT(d.codeCount(), 140000u);
  EXPECT_GT(d.cityCount(), 1800u);
  EXPECT_EQ(FillAddress(d, 1500001), "\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B\x7B\x91\x4F" /* 東京都渋谷区神宮前 */);
  EXPECT_EQ(FillAddress(d, 1000001), "\x93\x8C\x8B\x9E\x93\x73\x90\xE7\x91\xE3\x93\x63\x8B\xE6\x90\xE7\x91\xE3\x93\x63" /* 東京都千代田区千代田 */);
  AddressBook book;
  datatype right{"a",
                 "\x93\x8C\x8B\x9E\x93\x73\x90\xE7\x91\xE3\x93\x63\x8B\xE6\x90\xE7\x91\xE3\x93\x63"
                 "\x82\x50\x81\x7C\x82\x50" /* 東京都千代田区千代田１－１ */,
                 "100-0001",
                 "",
                 {}};
  datatype wrong{
      "b",
      "\x93\x8C\x8B\x9E\x93\x73\x8F\x61\x92\x4A\x8B\xE6\x90\x5F\x8B\x7B\x91\x4F\x82\x50" /* 東京都渋谷区神宮前１
                                                                                          */
      ,
      "100-0001",
      "",
      {}};
  book.append(right);
  book.append(wrong);
  const std::vector<Finding> findings = CheckBook(book, d);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].index, 1);
  EXPECT_EQ(findings[0].problem, Problem::City);
  EXPECT_EQ(findings[0].codes, std::vector<std::uint32_t>{1500001});
}

}  // namespace
}  // namespace orivel::postal
