// Ten thousand random operations on the book, each checked against a plain model: a list
// of entries and a list of check marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "../files/TempFiles.h"
#include "book/AddressBook.h"
#include "files/BookFile.h"
#include "files/CsvImport.h"
#include "files/Func.h"

namespace orivel {
namespace {

struct Model {
  std::vector<datatype> entries;
  std::vector<bool> checks;

  bool append(const datatype& e) {
    if (entries.size() >= AddressBook::kCapacity) return false;
    entries.push_back(e);
    checks.push_back(false);
    return true;
  }
};

// Texts a user may type: ASCII, double-byte characters (some with trail bytes 5C and 7C,
// which look like ASCII), full-width spaces inside; no blanks or quotes at the ends, which a
// load would drop, and never the name "0", which a load leaves out.
class Texts {
 public:
  explicit Texts(std::mt19937& rng) : rng_(rng) {}

  std::string text(int maxChars) {
    static const std::array<std::string_view, 12> pieces = {
        "a",        "Z",        "7",        "-",        "\x8e\x52", "\x93\x63",
        "\x83\x5c", "\x95\x7c", "\x81\x40", "\x81\x7c", "\xb1",     " "};
    const int n = pick(0, maxChars);
    std::string s;
    for (int i = 0; i < n; ++i) {
      std::string_view p = pieces[static_cast<std::size_t>(pick(0, pieces.size() - 1))];
      if (p == " " && (i == 0 || i == n - 1)) p = "b";
      s += p;
    }
    return s;
  }
  std::string name() {
    std::string s = text(8);
    return s == "0" ? "n0" : s;
  }
  datatype entry() {
    datatype e;
    e.name = name();
    e.address = text(30);
    e.zip_code = text(8);
    e.sama = text(2);
    for (auto& f : e.ml) f = static_cast<std::uint8_t>(pick(0, 1));
    return e;
  }
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

 private:
  std::mt19937& rng_;
};

bool markModel(std::string_view cell) {
  static const std::array<std::string_view, 9> marks = {
      "Y", "y", "O", "o", "\x82\x78", "\x82\x99", "\x82\x6E", "\x82\x8F", "\x81\x9B"};
  return std::find(marks.begin(), marks.end(), cell) != marks.end();
}

// Line i shows slot i; with `allSlots`, every slot past the lines is empty too. Plain loops,
// so that the sanitizer build stays quick.
void expectSame(const AddressBook& book, const Model& model, int step, bool allSlots) {
  ASSERT_EQ(book.count(), static_cast<int>(model.entries.size())) << "step " << step;
  ASSERT_LE(book.count(), AddressBook::kCapacity);
  for (int i = 0; i < book.count(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (!(book.entry(i) == model.entries[k]) || book.isChecked(i) != model.checks[k])
      FAIL() << "line " << i << " step " << step;
  }
  if (!allSlots) return;
  static const datatype empty{};
  for (int i = book.count(); i < AddressBook::kCapacity; ++i)
    if (!(book.entry(i) == empty)) FAIL() << "slot " << i << " step " << step;
}

TEST(BookSoakTest, TenThousandRandomOperationsKeepTheBookAndItsFileRight) {
  test::TempFolder folder;
  const std::filesystem::path path = folder.path("soak.orv");
  std::mt19937 rng(20240915);
  Texts texts(rng);
  AddressBook book;
  Model model;
  Model saved;  // what the file holds since the last save
  bool haveFile = false;
  StringGrid grid;  // kept from one import to the next, as the window keeps it
  static const std::array<std::string_view, 8> marks = {"Y", "o", "\x81\x9B", "\x82\x99",
                                                        "",  "N", "1",        " Y"};
  int saves = 0;
  int loads = 0;
  int full = 0;

  for (int step = 0; step < 10000; ++step) {
    const int op = texts.pick(0, 999);
    const int n = book.count();
    if (op < 290) {  // add
      const datatype e = texts.entry();
      ASSERT_EQ(book.append(e), model.append(e));
    } else if (op < 390) {  // change
      if (n == 0) continue;
      const int i = texts.pick(0, n - 1);
      const datatype e = texts.entry();
      book.replace(i, e);
      model.entries[static_cast<std::size_t>(i)] = e;
      model.checks[static_cast<std::size_t>(i)] = false;
    } else if (op < 590) {  // delete, now and then a line that is not there
      const int i = texts.pick(-1, n);
      book.remove(i);
      if (i >= 0 && i < n) {
        model.entries.erase(model.entries.begin() + i);
        model.checks.erase(model.checks.begin() + i);
      }
    } else if (op < 670) {  // check commands, any kind including none
      const int kind = texts.pick(0, 10);
      book.SelectChecks(kind);
      for (std::size_t i = 0; i < model.checks.size(); ++i) {
        if (kind >= 1 && kind <= kCategoryCount)
          model.checks[i] = model.entries[i].ml[static_cast<std::size_t>(kind - 1)] != 0;
        else if (kind == 7)
          model.checks[i] = true;
        else if (kind == 8)
          model.checks[i] = false;
        else if (kind == 9)
          model.checks[i] = !model.checks[i];
      }
    } else if (op < 770) {  // tick one line
      if (n == 0) continue;
      const int i = texts.pick(0, n - 1);
      const bool on = texts.pick(0, 1) == 1;
      book.setChecked(i, on);
      model.checks[static_cast<std::size_t>(i)] = on;
    } else if (op < 980) {  // import a CSV file of up to 12 lines
      std::string csv = "header\n";
      std::vector<datatype> rows;
      const int lines = texts.pick(0, 12);
      for (int k = 0; k < lines; ++k) {
        datatype e;
        e.name = texts.pick(0, 9) == 0 ? "" : texts.name();
        e.zip_code = texts.text(8);
        e.address = texts.text(30);
        std::string line = e.name + "," + e.zip_code + "," + e.address;
        for (auto& f : e.ml) {
          const std::string_view m = marks[static_cast<std::size_t>(texts.pick(0, 7))];
          f = markModel(m) ? 1 : 0;
          line += ",";
          line += m;
        }
        e.sama = texts.text(2);
        line += "," + e.sama;
        if (texts.pick(0, 3) == 0) line += ",extra";
        csv += line + (texts.pick(0, 1) ? "\r\n" : "\n");
        rows.push_back(e);
      }
      grid.clearCells();
      SplitCsvBytes(csv, grid);
      const CsvImportResult r = AppendGridRows(grid, book);
      int added = 0;
      int leftOut = 0;
      for (const datatype& e : rows) {
        if (e.name.empty()) continue;
        (model.append(e) ? added : leftOut)++;
      }
      ASSERT_EQ(r.added, added);
      ASSERT_EQ(r.leftOut, leftOut);
      if (leftOut > 0) ++full;
    } else if (op < 992) {  // save, then load into a second book: the model's entries
      ASSERT_TRUE(SaveBook(book, path)) << "step " << step;
      saved = model;
      std::fill(saved.checks.begin(), saved.checks.end(), false);
      haveFile = true;
      ++saves;
      AddressBook loaded;
      ASSERT_TRUE(LoadBook(path, loaded).ok());
      ASSERT_NO_FATAL_FAILURE(expectSame(loaded, saved, step, true));
    } else if (op < 998) {  // load the last saved file over the book
      if (!haveFile) continue;
      ASSERT_TRUE(LoadBook(path, book).ok()) << "step " << step;
      model = saved;
      ++loads;
    } else {  // empty the book, so that it fills up again
      book.clear();
      model = Model{};
    }
    // The slots past the lines after every shrinking step and now and then besides.
    const bool shrank = book.count() < n || op >= 980;
    ASSERT_NO_FATAL_FAILURE(expectSame(book, model, step, shrank || step % 50 == 0));
  }
  // The seed reaches every kind of step, a full book included.
  EXPECT_GT(saves, 80);
  EXPECT_GT(loads, 30);
  EXPECT_GT(full, 0);
}

}  // namespace
}  // namespace orivel
