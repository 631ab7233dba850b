#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRawFont>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "common/Fonts.h"
#include "print/VerticalTypesetter.h"

namespace orivel {
namespace {

// The blocks of the card at their neutral places, in design pixels on the page.
const QRectF kZipCode(54, 30, 33, 209);
const QRectF kName(112, 144, 402, 57);
const QRectF kAddress(104, 64, 361, 65);

class VerticalTypesetterTest : public ::testing::Test {
 protected:
  // The glyph that plain horizontal setting gives the character.
  static quint32 horizontalGlyph(const QString& c) {
    const QRawFont face =
        QRawFont::fromFont(fonts::proportionalMincho(27), QFontDatabase::Japanese);
    const QList<quint32> glyphs = face.glyphIndexesForString(c);
    return glyphs.isEmpty() ? 0 : glyphs.front();
  }

  // The one glyph that the typesetter sets for a character standing alone.
  quint32 placedGlyph(const QString& c, bool* upright) {
    const auto runs = typesetter.layout({kZipCode, c, 27});
    EXPECT_EQ(runs.size(), 1u);
    if (runs.empty() || runs.front().glyphs.size() != 1) return 0;
    *upright = runs.front().upright;
    return runs.front().glyphs.front();
  }

  VerticalTypesetter typesetter;
};

TEST_F(VerticalTypesetterTest, FindsAMinchoFace) {
  // The metrics below hold for these faces; fonts-ipafont-mincho gives the first.
  EXPECT_TRUE(
      (QStringList{"IPAPMincho", "IPAexMincho", "IPAMincho", "Noto Serif CJK JP", "MS PMincho"}
           .contains(typesetter.faceFamily())))
      << typesetter.faceFamily().toStdString();
  EXPECT_GT(typesetter.columnPitch(27), 20.0);
  EXPECT_LT(typesetter.columnPitch(27), 33.0);
}

TEST_F(VerticalTypesetterTest, PostalCodeStandsOneDigitAColumnFirstDigitAtTheTop) {
  const auto runs = typesetter.layout({kZipCode, QStringLiteral("７６５４３２１"), 27});
  ASSERT_EQ(runs.size(), 7u);
  const double pitch = typesetter.columnPitch(27);
  const QString digits = QStringLiteral("７６５４３２１");
  for (int i = 0; i < 7; ++i) {
    const PlacedRun& run = runs[static_cast<std::size_t>(i)];
    SCOPED_TRACE(i);
    EXPECT_EQ(run.column, i);
    EXPECT_TRUE(run.upright);
    EXPECT_EQ(run.text, digits.mid(i, 1));
    ASSERT_EQ(run.glyphs.size(), 1);
    // An upright glyph's origin is at the bottom of its column's band on the page.
    const QPointF origin = run.positions.front();
    EXPECT_GT(origin.y(), kZipCode.top() + i * pitch);
    EXPECT_LE(origin.y(), kZipCode.top() + (i + 1) * pitch + 0.5);
    EXPECT_GE(origin.x(), kZipCode.left());
    EXPECT_LE(origin.x(), kZipCode.right());
  }
  // All seven columns lie within the block's thickness.
  EXPECT_LE(7 * pitch, kZipCode.height());
}

TEST_F(VerticalTypesetterTest, SenderPostalCodeAlsoTakesOneDigitAColumn) {
  const auto runs =
      typesetter.layout({QRectF(476, 250, 17, 121), QStringLiteral("０５０１００１"), 16});
  ASSERT_EQ(runs.size(), 7u);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(runs[static_cast<std::size_t>(i)].column, i);
}

TEST_F(VerticalTypesetterTest, ProlongedSoundMarkTakesItsVerticalForm) {
  bool upright = false;
  const quint32 glyph = placedGlyph(QStringLiteral("ー"), &upright);
  EXPECT_TRUE(upright);
  EXPECT_NE(glyph, 0u);
  EXPECT_NE(glyph, horizontalGlyph(QStringLiteral("ー")));
}

// The characters that turn in vertical writing stand upright in a vertical form where the
// face has one; where it has none, the typesetter turns them itself, lying sideways.
TEST_F(VerticalTypesetterTest, ATurnedCharacterLiesSidewaysInAFaceWithoutItsVerticalForm) {
  struct Case {
    const char* family;
    QString character;
    bool upright;
  };
  // IPAexMincho has no vertical form for "：", which IPAPMincho has; the brush faces have
  // them for ー, ～ (FULLWIDTH TILDE) and the brackets.
  const Case cases[] = {
      {"IPAPMincho", QStringLiteral("："), true},
      {"IPAexMincho", QStringLiteral("："), false},
      {"IPAexMincho", QStringLiteral("ー"), true},
      {"KouzanBrushFont", QStringLiteral("ー"), true},
      {"KouzanBrushFont", QStringLiteral("～"), true},
      {"KouzanBrushFont", QStringLiteral("（"), true},
      {"AoyagiSosekiFont2", QStringLiteral("」"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.family) + " " + c.character.toStdString());
    typesetter.useFace(QString::fromLatin1(c.family));
    ASSERT_EQ(typesetter.faceFamily(), QString::fromLatin1(c.family));
    const auto runs = typesetter.layout({kZipCode, c.character, 27});
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].glyphs.size(), 1);
    EXPECT_FALSE(runs[0].fallback);
    EXPECT_EQ(runs[0].upright, c.upright);
    const QRawFont face = QRawFont::fromFont(QFont(QString::fromLatin1(c.family)));
    const quint32 nominal = face.glyphIndexesForString(c.character).value(0);
    // Upright in its vertical form, or turned in its own.
    if (c.upright)
      EXPECT_NE(runs[0].glyphs[0], nominal);
    else
      EXPECT_EQ(runs[0].glyphs[0], nominal);
  }
}

TEST_F(VerticalTypesetterTest, ACharacterTheChosenFaceDrawsNothingForIsSetInTheDefaultFace) {
  struct Case {
    const char* family;
    QString text;
    std::vector<bool> fallback;  // each run's
  };
  const Case cases[] = {
      {"AoyagiKouzanFontT", QStringLiteral("３０２号"), {false, true, false}},
      {"AoyagiKouzanFontT", QStringLiteral("１２"), {false}},
      {"KouzanBrushFont", QStringLiteral("山〜川"), {false, true, false}},  // no 〜 at all
      {"KouzanBrushFont", QStringLiteral("３０２号"), {false}},
      {"IPAPMincho", QStringLiteral("３０２号"), {false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.family) + " " + c.text.toStdString());
    typesetter.useFace(QString::fromLatin1(c.family));
    const auto runs = typesetter.layout({kAddress, c.text, 27});
    std::vector<bool> fallback;
    QString text;
    for (const PlacedRun& run : runs) {
      fallback.push_back(run.fallback);
      text += run.text;
      for (const quint32 glyph : run.glyphs) EXPECT_NE(glyph, 0u);
    }
    EXPECT_EQ(fallback, c.fallback);
    EXPECT_EQ(text, c.text);
  }
}

TEST_F(VerticalTypesetterTest, CommaAndFullStopTakeTheirVerticalForms) {
  for (const QString& c :
       {QStringLiteral("、"), QStringLiteral("。"), QStringLiteral("「"), QStringLiteral("ょ")}) {
    SCOPED_TRACE(c.toStdString());
    bool upright = false;
    const quint32 glyph = placedGlyph(c, &upright);
    EXPECT_TRUE(upright);
    EXPECT_NE(glyph, 0u);
    EXPECT_NE(glyph, horizontalGlyph(c));
  }
}

TEST_F(VerticalTypesetterTest, KanjiKeepTheirGlyphAndStandUpright) {
  bool upright = false;
  const quint32 glyph = placedGlyph(QStringLiteral("様"), &upright);
  EXPECT_TRUE(upright);
  EXPECT_EQ(glyph, horizontalGlyph(QStringLiteral("様")));
}

TEST_F(VerticalTypesetterTest, LatinWordLiesSidewaysWhileKanjiStandUpright) {
  const auto runs = typesetter.layout({kAddress, QStringLiteral("東京ABC Bldg５階"), 21});
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].text, QStringLiteral("東京"));
  EXPECT_TRUE(runs[0].upright);
  EXPECT_EQ(runs[1].text, QStringLiteral("ABC Bldg"));
  EXPECT_FALSE(runs[1].upright);
  EXPECT_EQ(runs[1].glyphs.size(), 8);
  EXPECT_EQ(runs[2].text, QStringLiteral("５階"));
  EXPECT_TRUE(runs[2].upright);
  for (const PlacedRun& run : runs) EXPECT_EQ(run.column, 0);

  // Sideways glyphs sit level on one baseline down the column, proportionally spaced.
  const PlacedRun& latin = runs[1];
  for (qsizetype i = 1; i < latin.positions.size(); ++i) {
    EXPECT_DOUBLE_EQ(latin.positions[i].y(), latin.positions[0].y());
    EXPECT_GT(latin.positions[i].x(), latin.positions[i - 1].x());
  }
  EXPECT_LT(latin.advances[0], 21.0);  // half width, not a full em
  // The run goes on down the column after the kanji, and the kanji after it.
  EXPECT_DOUBLE_EQ(latin.starts[0], kAddress.left() + 2 * 21);
  EXPECT_GT(runs[2].positions[0].x(), latin.positions.back().x());
}

TEST_F(VerticalTypesetterTest, LongLineWrapsIntoTheNextColumn) {
  // 402 px of 48 px characters hold eight a column; this block is thick enough for two.
  const QRectF block(112, 144, 402, 120);
  const QString name = QStringLiteral("寿限無寿限無五劫の擦り切れ");
  const auto runs = typesetter.layout({block, name, 48});
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].column, 0);
  EXPECT_EQ(runs[0].text, name.left(8));
  EXPECT_EQ(runs[1].column, 1);
  EXPECT_EQ(runs[1].text, name.mid(8));
  // The second column starts again at the block's left edge, one pitch further down.
  const double pitch = typesetter.columnPitch(48);
  EXPECT_DOUBLE_EQ(runs[0].starts[0], block.left());
  EXPECT_DOUBLE_EQ(runs[1].starts[0], block.left());
  EXPECT_NEAR(runs[1].positions[1].y() - runs[0].positions[1].y(), pitch, 0.01);
  // Nothing passes the end of the column, and the next character would have.
  const PlacedRun& first = runs[0];
  const double end = first.starts.back() + first.advances.back();
  EXPECT_LE(end, block.right());
  EXPECT_GT(end + runs[1].advances[0], block.right());
}

// The text of each column, first column first.
QStringList columnsOf(const std::vector<PlacedRun>& runs) {
  QStringList columns;
  for (const PlacedRun& run : runs) {
    while (columns.size() <= run.column) columns.append(QString());
    columns[run.column] += run.text;
  }
  return columns;
}

TEST_F(VerticalTypesetterTest, LinesBreakByTheJapaneseRules) {
  // Columns four ems long unless said otherwise; the block holds eight columns.
  struct Case {
    const char* rule;
    QString text;
    bool atSpaces;
    QStringList columns;
    int ems = 4;
  };
  const Case cases[] = {
      {"no column starts with ー",
       QStringLiteral("山田山川ー田"),
       false,
       {QStringLiteral("山田山"), QStringLiteral("川ー田")}},
      {"nor with a small kana",
       QStringLiteral("山田山川ょ田"),
       false,
       {QStringLiteral("山田山"), QStringLiteral("川ょ田")}},
      {"nor with a closing bracket",
       QStringLiteral("山田山川」田"),
       false,
       {QStringLiteral("山田山"), QStringLiteral("川」田")}},
      {"nor with punctuation",
       QStringLiteral("山田山川、田"),
       false,
       {QStringLiteral("山田山"), QStringLiteral("川、田")}},
      {"no column ends with an opening bracket",
       QStringLiteral("山田山「川田"),
       false,
       {QStringLiteral("山田山"), QStringLiteral("「川田")}},
      {"a number stays whole",
       QStringLiteral("山田１２ー３"),
       false,
       {QStringLiteral("山田"), QStringLiteral("１２ー３")}},
      {"so does one in kanji numerals",
       QStringLiteral("山田四ー一二"),
       false,
       {QStringLiteral("山田"), QStringLiteral("四ー一二")}},
      {"a number longer than a column breaks",
       QStringLiteral("１２３４５６"),
       false,
       {QStringLiteral("１２３４"), QStringLiteral("５６")}},
      {"a space that meets the edge is not set",
       QStringLiteral("山田山川　田"),
       false,
       {QStringLiteral("山田山川"), QStringLiteral("田")}},
      {"breakAtSpaces breaks after the space",
       QStringLiteral("山田山　川田区"),
       true,
       {QStringLiteral("山田山　"), QStringLiteral("川田区")},
       5},
      {"without it the line fills the column",
       QStringLiteral("山田山　川田区"),
       false,
       {QStringLiteral("山田山　川"), QStringLiteral("田区")},
       5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    VerticalBlock block{QRectF(0, 0, c.ems * 21, 8 * 21), c.text, 21};
    block.breakAtSpaces = c.atSpaces;
    const auto runs = typesetter.layout(block);
    EXPECT_EQ(columnsOf(runs), c.columns);
    for (const PlacedRun& run : runs) EXPECT_EQ(run.pixelSize, 21);
  }
}

TEST_F(VerticalTypesetterTest, WithoutABreakOpportunityTheLineBreaksAtTheEdge) {
  const QString word = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  const QRectF block(0, 0, 84, 200);
  const auto runs = typesetter.layout({block, word, 21});
  ASSERT_GE(runs.size(), 2u);
  EXPECT_EQ(columnsOf(runs).join(QString()), word);
  const double end = runs[0].starts.back() + runs[0].advances.back();
  EXPECT_LE(end, block.right());
  EXPECT_GT(end + runs[1].advances[0], block.right());
}

TEST_F(VerticalTypesetterTest, TextThatOverflowsShrinksUntilEveryGlyphIsInsideItsBlock) {
  const struct {
    const char* block;
    VerticalBlock text;
    int columns;  // how many it takes; 0: as many as fit
    bool shrinks;
  } cases[] = {
      {"an address that fits stays as it is",
       {kAddress, QStringLiteral("東京都港区南青山５ー１２ー８\r\n　　　　青山ハイツ１０２"), 21},
       2,
       false},
      {"an address of four columns",
       {kAddress,
        QStringLiteral("北海道札幌市中央区北一条西二十丁目商業ビル街区１２ー３４ー５\r\n"
                       "　　　　グランドメゾン南青山１２０５号室"),
        21},
       0,
       true},
      {"an address of eight lines",
       {kAddress, QStringLiteral("一\r\n二\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八"), 21},
       8,
       true},
      {"a company's name with 御中",
       {kName, QStringLiteral("株式会社オリベル商事　御中"), 48, 1},
       1,
       true},
      {"a long sender's address",
       {QRectF(224, 272, 249, 25),
        QStringLiteral("東京都千代田区丸の内一丁目１２ー３　オリベルタワー２７階"), 16, 0, true},
       2,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.block);
    const auto runs = typesetter.layout(c.text);
    ASSERT_FALSE(runs.empty());
    QString set;
    for (const PlacedRun& run : runs) {
      set += run.text;
      EXPECT_GE(run.pixelSize, c.text.pixelSize * VerticalTypesetter::kSmallestScale - 1e-9);
      EXPECT_GE(run.bandTop, c.text.rect.top() - 1e-9);
      EXPECT_LE(run.bandBottom, c.text.rect.bottom() + 1e-9);
      EXPECT_GE(run.starts.front(), c.text.rect.left());
      EXPECT_LE(run.starts.back() + run.advances.back(), c.text.rect.right() + 1e-6);
    }
    // Nothing is left out.
    EXPECT_EQ(set, QString(c.text.text).remove(QStringLiteral("\r\n")));
    if (c.columns > 0) {
      EXPECT_EQ(columnsOf(runs).size(), c.columns);
    }
    EXPECT_EQ(runs.front().pixelSize < c.text.pixelSize, c.shrinks);
  }
}
TEST_F(VerticalTypesetterTest, ExactlyFullColumnDoesNotWrap) {
  // Kanji advance a full em: 54 px hold exactly two 27 px kanji.
  const auto runs = typesetter.layout({QRectF(0, 0, 54, 100), QStringLiteral("山川林"), 27});
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, QStringLiteral("山川"));
  EXPECT_EQ(runs[1].text, QStringLiteral("林"));
  EXPECT_DOUBLE_EQ(runs[0].advances[0] + runs[0].advances[1], 54.0);
}

TEST_F(VerticalTypesetterTest, LineBreaksStartNewColumns) {
  const auto runs = typesetter.layout({kAddress, QStringLiteral("東京都\r\n　　　　千代田区"), 21});
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].column, 0);
  EXPECT_EQ(runs[0].text, QStringLiteral("東京都"));
  EXPECT_EQ(runs[1].column, 1);
  EXPECT_EQ(runs[1].text, QStringLiteral("　　　　千代田区"));
  // The four full-width spaces indent the second column by four ems.
  EXPECT_NEAR(runs[1].starts[4] - runs[0].starts[0], 4 * 21.0, 0.01);
}

TEST_F(VerticalTypesetterTest, EmptyLineKeepsItsColumn) {
  const auto runs = typesetter.layout({kAddress, QStringLiteral("一\r\n\r\n三"), 21});
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].column, 0);
  EXPECT_EQ(runs[1].column, 2);
}

TEST_F(VerticalTypesetterTest, EmptyTextSetsAndDrawsNothing) {
  EXPECT_TRUE(typesetter.layout({kName, QString(), 48}).empty());
  QImage image(600, 420, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  typesetter.draw(painter, {kName, QString(), 48});
  typesetter.draw(painter, {kAddress, QStringLiteral("\r\n"), 21});
  painter.end();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255));
}

TEST_F(VerticalTypesetterTest, SameTextIsShapedOnceAndTheStoreStaysBounded) {
  typesetter.layout({kName, QStringLiteral("山田太郎　様"), 48});
  typesetter.layout({kName, QStringLiteral("山田太郎　様"), 29});
  EXPECT_EQ(typesetter.shapedLineCount(), 1);
  for (int i = 0; i < VerticalTypesetter::kShapedLineCapacity + 50; ++i)
    typesetter.layout({kName, QString::number(i), 48});
  EXPECT_EQ(typesetter.shapedLineCount(), VerticalTypesetter::kShapedLineCapacity);
}

// The bounding box of every pixel that is not white.
QRect inkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

TEST_F(VerticalTypesetterTest, DrawnPostalCodeInksOnlyItsBlockFirstDigitAtTheTop) {
  QImage image(600, 420, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(Qt::black);
  typesetter.draw(painter, {kZipCode, QStringLiteral("７６５４３２１"), 27});
  painter.end();

  const QRect ink = inkBounds(image);
  ASSERT_FALSE(ink.isNull());
  EXPECT_TRUE(kZipCode.adjusted(-1, -1, 1, 1).contains(QRectF(ink)))
      << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
  // Seven digits spread over seven columns down the page, the first one at the top.
  const double pitch = typesetter.columnPitch(27);
  EXPECT_GT(ink.height(), 6 * pitch);
  const QImage firstColumn = image.copy(QRect(54, 30, 33, static_cast<int>(pitch)));
  EXPECT_FALSE(inkBounds(firstColumn).isNull());
}

TEST_F(VerticalTypesetterTest, DrawnNameStandsInItsFirstColumn) {
  QImage image(600, 420, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(Qt::black);
  typesetter.draw(painter, {kName, QStringLiteral("山田太郎　様"), 48});
  painter.end();

  const QRect ink = inkBounds(image);
  ASSERT_FALSE(ink.isNull());
  const double pitch = typesetter.columnPitch(48);
  EXPECT_GE(ink.top(), kName.top() - 1);
  EXPECT_LE(ink.bottom(), kName.top() + pitch + 1);
  EXPECT_GE(ink.left(), kName.left() - 1);
  // Six ems down the column, the last one the honorific.
  EXPECT_GT(ink.right(), kName.left() + 5 * 48);
  EXPECT_LE(ink.right(), kName.left() + 6 * 48 + 1);
}

TEST_F(VerticalTypesetterTest, UprightGlyphIsTurnedCounterClockwiseOnThePage) {
  // "一" is a level stroke on the card, so on the page it is a stroke down the column's
  // band: taller than wide.
  QImage image(200, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(Qt::black);
  typesetter.draw(painter, {QRectF(50, 50, 100, 100), QStringLiteral("一"), 48});
  painter.end();
  const QRect ink = inkBounds(image);
  ASSERT_FALSE(ink.isNull());
  EXPECT_GT(ink.height(), 3 * ink.width());
}

TEST_F(VerticalTypesetterTest, APdfFileKeepsVerticalFormsSearchableAndPaperGetsNoHiddenText) {
  const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  ASSERT_FALSE(pdftotext.isEmpty()) << "pdftotext (poppler-utils) is not installed";
  for (const PageTarget target : {PageTarget::PdfFile, PageTarget::Paper}) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("card.pdf"));
    {
      QPdfWriter writer(path);
      writer.setResolution(96);
      QPainter painter(&writer);
      painter.setPen(Qt::black);
      typesetter.draw(painter, {kZipCode, QStringLiteral("７６５"), 27}, target);
      typesetter.draw(painter, {kName, QStringLiteral("さくら様"), 48}, target);
      typesetter.draw(painter, {kAddress, QStringLiteral("中央区一ー二、ABC。"), 21}, target);
    }
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-raw"), path, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(10000));
    // Upright characters come out one a line.
    const QString text = QString::fromUtf8(process.readAllStandardOutput()).remove(u'\n');
    if (target == PageTarget::Paper) {
      // No hidden text: the vertical forms read as nothing.
      EXPECT_FALSE(text.contains(QStringLiteral("ー"))) << text.toStdString();
      continue;
    }
    for (const QString& c : {QStringLiteral("７"), QStringLiteral("６"), QStringLiteral("５"),
                             QStringLiteral("さ"), QStringLiteral("く"), QStringLiteral("ら"),
                             QStringLiteral("様"), QStringLiteral("中央区"), QStringLiteral("ー"),
                             QStringLiteral("、"), QStringLiteral("。"), QStringLiteral("ABC")})
      EXPECT_TRUE(text.contains(c)) << c.toStdString() << " missing from " << text.toStdString();
  }
}

}  // namespace
}  // namespace orivel
