// The card of a family, read back from the printed PDF: where each glyph stands.
#include <QRectF>
#include <algorithm>
#include <vector>

#include "cli/CliRun.h"

namespace orivel::test {
namespace {

constexpr double kHalfMillimetre = 72.0 / 25.4 / 2;  // in points

// A glyph as the card's columns read it: x runs down a column (from the card's top edge),
// y leftward from the card's right edge, in points.
struct Glyph {
  QString text;
  QRectF box;
};

std::vector<Glyph> pageGlyphs(const QString& pdf, int page) {
  const QString xml =
      runTool(QStringLiteral("pdftotext"),
              {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
               QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
  static const QRegularExpression pageWidth(QStringLiteral("<page width=\"([0-9.]+)\""));
  static const QRegularExpression word(
      QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                     "yMax=\"([0-9.]+)\">([^<]*)<"));
  // The page is the card upright.
  const double width = pageWidth.match(xml).captured(1).toDouble();
  std::vector<Glyph> glyphs;
  for (auto it = word.globalMatch(xml); it.hasNext();) {
    const auto m = it.next();
    const QPointF topLeft(m.captured(2).toDouble(), width - m.captured(3).toDouble());
    const QPointF bottomRight(m.captured(4).toDouble(), width - m.captured(1).toDouble());
    glyphs.push_back({m.captured(5), QRectF(topLeft, bottomRight)});
  }
  return glyphs;
}

// The glyphs of one size class, by their advance down the column: the addressee's name
// block (36 pt), the sender's (about 22 pt), the rest (the postal codes' digits, about 20 pt,
// and the address).
enum class Size { AddresseeName, SenderName, Small };
Size sizeOf(const Glyph& g) {
  if (g.box.width() > 30) return Size::AddresseeName;
  return g.box.width() > 21 ? Size::SenderName : Size::Small;
}

// The `nth` glyph `text` of that size, counted from the card's right (the first column).
const Glyph* find(const std::vector<Glyph>& glyphs, const QString& text, Size size, int nth = 0) {
  std::vector<const Glyph*> hits;
  for (const Glyph& g : glyphs)
    if (g.text == text && sizeOf(g) == size) hits.push_back(&g);
  std::sort(hits.begin(), hits.end(),
            [](const Glyph* a, const Glyph* b) { return a->box.top() < b->box.top(); });
  return nth < static_cast<int>(hits.size()) ? hits[static_cast<std::size_t>(nth)] : nullptr;
}

class JointCardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString book = dir_.filePath(QStringLiteral("family.orv"));
    ASSERT_EQ(runCli({QStringLiteral("import"), QStringLiteral("--out"), book,
                      dataFile("joint-card.csv")})
                  .exitCode,
              0);
    pdf_ = dir_.filePath(QStringLiteral("family.pdf"));
    const CliRun print = runCli(
        {QStringLiteral("print"), book, QStringLiteral("--all"), QStringLiteral("--pdf"), pdf_,
         QStringLiteral("--no-profile"), QStringLiteral("--own"), QStringLiteral("--sender-name"),
         QStringLiteral("山田　太郎"), QStringLiteral("--sender-joint"), QStringLiteral("花子")});
    ASSERT_EQ(print.exitCode, 0) << print.errText().toStdString();
    family_ = pageGlyphs(pdf_, 1);
    fullName_ = pageGlyphs(pdf_, 2);
  }

  QTemporaryDir dir_;
  QString pdf_;
  std::vector<Glyph> family_;    // 山田　太郎 様, 花子 様, 健太 くん
  std::vector<Glyph> fullName_;  // 佐藤　一郎 様, 佐藤　花子 様
};

TEST_F(JointCardTest, EachPersonHasAColumnStartingWhereTheirNameLinesUp) {
  struct Level {
    const char* rule;
    const std::vector<Glyph>* page;
    Size size;
    // Two glyphs that must start at the same place down their columns, and the column
    // of the second one must stand left of the first one's.
    QString first;
    int firstNth;
    QString second;
    int secondNth;
  };
  const Level cases[] = {
      {"a given-name joint starts level with the given name", &family_, Size::AddresseeName,
       QStringLiteral("太"), 0, QStringLiteral("花"), 0},
      {"the next joint too", &family_, Size::AddresseeName, QStringLiteral("花"), 0,
       QStringLiteral("健"), 0},
      {"the honorifics stand level", &family_, Size::AddresseeName, QStringLiteral("様"), 0,
       QStringLiteral("様"), 1},
      {"くん level with 様", &family_, Size::AddresseeName, QStringLiteral("様"), 1,
       QStringLiteral("く"), 0},
      {"a full-name joint starts level with the surname", &fullName_, Size::AddresseeName,
       QStringLiteral("佐"), 0, QStringLiteral("佐"), 1},
      {"and its honorific is level", &fullName_, Size::AddresseeName, QStringLiteral("様"), 0,
       QStringLiteral("様"), 1},
      {"the sender's family starts level with the given name", &family_, Size::SenderName,
       QStringLiteral("太"), 0, QStringLiteral("花"), 0},
  };
  for (const Level& c : cases) {
    SCOPED_TRACE(c.rule);
    const Glyph* a = find(*c.page, c.first, c.size, c.firstNth);
    const Glyph* b = find(*c.page, c.second, c.size, c.secondNth);
    ASSERT_TRUE(a && b);
    EXPECT_NEAR(a->box.left(), b->box.left(), kHalfMillimetre);
    EXPECT_GE(b->box.top(), a->box.bottom() - kHalfMillimetre) << "the column stands to the left";
  }
}

TEST_F(JointCardTest, TheNameColumnsKeepClearOfEveryOtherText) {
  for (const std::vector<Glyph>* page : {&family_, &fullName_}) {
    std::size_t names = 0;
    for (const Glyph& name : *page) {
      if (sizeOf(name) != Size::AddresseeName) continue;
      ++names;
      for (const Glyph& other : *page) {
        if (sizeOf(other) == Size::AddresseeName) continue;
        EXPECT_FALSE(name.box.intersects(other.box))
            << name.text.toStdString() << " on " << other.text.toStdString();
      }
    }
    EXPECT_GE(names, 10u);  // 佐藤一郎様 and 佐藤花子様 at the least
  }
}

}  // namespace
}  // namespace orivel::test
