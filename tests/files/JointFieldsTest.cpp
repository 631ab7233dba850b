// Joint addressees, company, department and title in the book file and the CSV files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFiles.h"
#include "files/BookFile.h"
#include "files/CsvExport.h"
#include "files/CsvImport.h"
#include "files/Func.h"

namespace orivel {
namespace {

using test::ReadBytes;
using test::TempFolder;

// Code page 932 texts.
const std::string kYamadaTaro = "\x8e\x52\x93\x63\x81\x40\x91\xbe\x98\x59";  // 山田　太郎
const std::string kHanako = "\x89\xd4\x8e\x71";                              // 花子
const std::string kKenta = "\x8c\x92\x91\xbe";                               // 健太
const std::string kSama = "\x97\x6c";                                        // 様
const std::string kKun = "\x82\xad\x82\xf1";                                 // くん
const std::string kCompany = "\x8a\x94\x8e\xae\x89\xef\x8e\xd0";             // 株式会社
const std::string kDepartment = "\x89\x63\x8b\xc6\x95\x94";                  // 営業部
const std::string kTitle = "\x95\x94\x92\xb7";                               // 部長

datatype family() {
  datatype e;
  e.name = kYamadaTaro;
  e.zip_code = "100-0001";
  e.address = "a";
  e.sama = kSama;
  e.joints = {{kHanako, kSama}, {kKenta, kKun}};
  e.company = kCompany;
  e.department = kDepartment;
  e.title = kTitle;
  return e;
}

datatype plain(const std::string& name) {
  datatype e;
  e.name = name;
  e.sama = kSama;
  return e;
}

TEST(JointFields, EntryKeysFollowTheFlagsOnlyWhereUsed) {
  AddressBook book;
  book.append(family());
  book.append(plain("b"));
  ProfileFile profile;
  ASSERT_TRUE(WriteBook(book, profile));
  const std::string text = profile.text();
  const std::string entry0 =
      "ml6_0=0\r\njoints0=2\r\njoint_name1_0=" + kHanako + "\r\njoint_sama1_0=" + kSama +
      "\r\njoint_name2_0=" + kKenta + "\r\njoint_sama2_0=" + kKun + "\r\ncompany0=" + kCompany +
      "\r\ndepartment0=" + kDepartment + "\r\ntitle0=" + kTitle + "\r\nname1=b\r\n";
  EXPECT_NE(text.find(entry0), std::string::npos) << text;
  // The entry that uses none of them has none of their keys.
  EXPECT_EQ(text.find("joints1"), std::string::npos);
  EXPECT_EQ(text.find("company1"), std::string::npos);
  EXPECT_TRUE(text.ends_with("ml6_1=0\r\n"));

  AddressBook back;
  ASSERT_TRUE(ReadBook(ProfileFile(text), back).ok());
  EXPECT_EQ(back.entry(0), family());
  EXPECT_EQ(back.entry(1), plain("b"));
}

TEST(JointFields, AnEarlierEntrysJointsNeverComeBackUnderALaterOne) {
  TempFolder dir;
  const auto path = dir.path("book.orv");
  AddressBook before;
  before.append(family());
  ASSERT_TRUE(SaveBook(before, path));

  AddressBook after;
  after.append(plain("x"));
  ASSERT_TRUE(SaveBook(after, path));
  const std::string text = ReadBytes(path);
  EXPECT_NE(text.find("joints0=0\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("joint_name1_0=\r\n"), std::string::npos);
  EXPECT_NE(text.find("company0=\r\n"), std::string::npos);
  EXPECT_EQ(text.find(kHanako), std::string::npos) << "no old name stays in the file";

  AddressBook loaded;
  ASSERT_TRUE(LoadBook(path, loaded).ok());
  EXPECT_EQ(loaded.entry(0), plain("x"));
}

TEST(JointFields, TheCountReadsWithinNoneToFive) {
  struct Case {
    const char* count;
    std::size_t joints;
  };
  for (const Case& c :
       {Case{"7", 5}, Case{"5", 5}, Case{"2", 2}, Case{"-1", 0}, Case{"two", 0}, Case{"", 0}}) {
    std::string text = "[HEADER]\r\nVersion=Ver1.00\r\nCnt=1\r\n[DATAS]\r\nname0=n\r\njoints0=";
    text += c.count;
    text += "\r\n";
    for (int k = 1; k <= 7; ++k) text += "joint_name" + std::to_string(k) + "_0=j\r\n";
    AddressBook book;
    ASSERT_TRUE(ReadBook(ProfileFile(text), book).ok());
    EXPECT_EQ(book.entry(0).joints.size(), c.joints) << c.count;
  }
  // A row without a name is dropped; the rows after it move up.
  AddressBook book;
  ASSERT_TRUE(ReadBook(ProfileFile("[HEADER]\r\nVersion=Ver1.00\r\nCnt=1\r\n[DATAS]\r\nname0=n\r\n"
                                   "joints0=2\r\njoint_sama1_0=x\r\njoint_name2_0=j\r\n"),
                       book)
                  .ok());
  EXPECT_EQ(book.entry(0).joints, (std::vector<JointName>{{"j", ""}}));
}

TEST(JointFields, CsvColumnsAreFoundByTheirHeaderFromColumnTenOn) {
  // 会社名 in column 3 is a category mark column, not the company.
  const std::string header =
      "n,z,a,"
      "\x89\xef\x8e\xd0\x96\xbc,4,5,6,7,8,9,x,\x96\xf0\x90\x45,"
      "\x98\x41\x96\xbc"
      "2,\x89\xef\x8e\xd0\x96\xbc,"
      "\x98\x41\x96\xbc"
      "2\x8c\x68\x8f\xcc,\x95\x94\x8f\x90\n";
  const std::string row = "name,1,addr,,,,,,," + kSama + ",ignored," + kTitle + "," + kHanako +
                          "," + kCompany + "," + kKun + "," + kDepartment + "\n";
  StringGrid grid;
  SplitCsvBytes(header + row + "short\n", grid);
  AddressBook book;
  AppendGridRows(grid, book);
  ASSERT_EQ(book.count(), 2);
  const datatype& e = book.entry(0);
  EXPECT_EQ(e.joints, (std::vector<JointName>{{kHanako, kKun}}));
  EXPECT_EQ(e.company, kCompany);
  EXPECT_EQ(e.department, kDepartment);
  EXPECT_EQ(e.title, kTitle);
  EXPECT_EQ(e.ml, (std::array<std::uint8_t, kCategoryCount>{}));
  EXPECT_FALSE(book.entry(1).usesJointOrCompany());
}

TEST(JointFields, ExportWritesTheNamedColumnsOnlyWhenUsedAndReadsBack) {
  AddressBook book;
  book.append(plain("a"));
  std::string csv;
  ASSERT_EQ(BuildCsv(book, &csv).status, CsvExportResult::Status::Written);
  EXPECT_EQ(csv.find("\x98\x41\x96\xbc"), std::string::npos);  // no 連名 column

  datatype five = family();
  for (int k = 3; k <= kMaxJoints; ++k) five.joints.push_back({"j" + std::to_string(k), ""});
  book.append(five);
  book.append(family());
  ASSERT_EQ(BuildCsv(book, &csv).status, CsvExportResult::Status::Written);
  StringGrid grid;
  SplitCsvBytes(csv, grid);
  AddressBook back;
  AppendGridRows(grid, back);
  ASSERT_EQ(back.count(), book.count());
  for (int i = 0; i < book.count(); ++i) EXPECT_EQ(back.entry(i), book.entry(i)) << i;

  book.replace(2, [] {
    datatype e = family();
    e.joints[1].name = "a,b";
    return e;
  }());
  const CsvExportResult refused = BuildCsv(book, &csv);
  EXPECT_EQ(refused.status, CsvExportResult::Status::Refused);
  EXPECT_EQ(refused.field, CsvField::JointName);
  EXPECT_EQ(refused.entry, 2);
}

TEST(JointFields, GivenNamesAreTheOnesWithoutAFullWidthSpace) {
  EXPECT_TRUE(IsGivenNameOnly(kHanako));
  EXPECT_FALSE(IsGivenNameOnly(kYamadaTaro));
  // 8F 81 is one character; its trail byte and the "@" after it are no full-width space.
  EXPECT_TRUE(IsGivenNameOnly("\x8f\x81\x40"));
  EXPECT_EQ(
      KeptJoints({{"", kSama}, {"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}, {"e", ""}, {"f", ""}})
          .size(),
      5u);
}

}  // namespace
}  // namespace orivel
