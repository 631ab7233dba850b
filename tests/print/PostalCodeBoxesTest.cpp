// The addressee's postal code in Japan Post's frame: each digit on its box's centre.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "print/PageRenderer.h"
#include "print/PostalCodeFrame.h"
#include "print/VerticalTypesetter.h"

namespace orivel::test {
namespace {

constexpr double kPixelsPerMm = kDesignPixelsPerInch / kMmPerInch;

// Where a digit stands on the card held upright, in millimetres from its top and its right
// edge.
struct OnCard {
  double downMm = 0;
  double fromRightMm = 0;
};

Postcard cardFor(const std::string& zip, int across = kNeutralOffset, int down = kNeutralOffset) {
  datatype entry;
  entry.name = "name";
  entry.zip_code = zip;
  usertype user;
  user.offsets[4] = across;
  user.offsets[5] = down;
  Postcard card = Postcard::design();
  ComposePostcard(card, entry, user);
  return card;
}

class PostalCodeBoxesTest : public ::testing::Test {
 protected:
  // The centre of each glyph of the postal code block, in printing order (the last digit
  // first), and whether its ink stays inside the block.
  std::vector<OnCard> digitCentres(const Postcard& card, bool* inkInside = nullptr) {
    const PostcardBlock& zip = card.QRzip_code;
    const QRectF area(zip.Left, zip.Top, zip.Width, zip.Height);
    std::vector<OnCard> centres;
    if (inkInside) *inkInside = true;
    for (const VerticalBlock& block : renderer_.blocksToDraw(card, Postcard::kZipCodeBlock)) {
      for (const PlacedRun& run : typesetter_.layout(block)) {
        for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
          const double along = run.starts[i] + run.advances[i] / 2;
          const double across = (run.bandTop + run.bandBottom) / 2;
          centres.push_back({along / kPixelsPerMm, across / kPixelsPerMm});
          if (inkInside && !area.contains(typesetter_.inkRect(run, i))) *inkInside = false;
        }
      }
    }
    return centres;
  }

  PageRenderer renderer_;
  VerticalTypesetter typesetter_;
};

TEST_F(PostalCodeBoxesTest, SevenDigitsStandOnTheirBoxesCentresWhereverTheOffsetsPutTheRow) {
  const auto boxes = postal_frame::Boxes();
  struct Case {
    std::string zip;
    int across;  // offset 5
    int down;    // offset 6
  };
  const Case cases[] = {{"150-0001", 50, 50},
                        {"1234567", 50, 50},
                        {"987-6543", 0, 100},
                        {"100-0005", 100, 0},
                        {"060-0000", 62, 41}};
  // The default face, and a brush face whose "０" is empty and so set in the default one.
  for (const std::string face : {"", "AoyagiKouzanFontT"})
    for (const Case& c : cases) {
      SCOPED_TRACE(face + " " + c.zip + " at " + std::to_string(c.across) + ", " +
                   std::to_string(c.down));
      bool inside = false;
      Postcard card = cardFor(c.zip, c.across, c.down);
      card.face = face;
      typesetter_.useFace(QString::fromStdString(face));
      const std::vector<OnCard> centres = digitCentres(card, &inside);
      ASSERT_EQ(centres.size(), 7u);
      EXPECT_TRUE(inside) << "a digit's ink leaves the postal code block";
      // An offset step moves the row by one design pixel.
      const double downShift = (c.down - kNeutralOffset) / kPixelsPerMm;
      const double leftShift = (c.across - kNeutralOffset) / kPixelsPerMm;
      for (std::size_t k = 0; k < 7; ++k) {
        const postal_frame::Box& box = boxes[6 - k];  // printed from the last digit
        EXPECT_NEAR(centres[k].downMm, box.centreDownMm() + downShift, 0.5) << "digit " << 7 - k;
        EXPECT_NEAR(centres[k].fromRightMm, box.centreFromRightMm() + leftShift, 0.5)
            << "digit " << 7 - k;
      }
    }
}

TEST_F(PostalCodeBoxesTest, AnyOtherCodePrintsInTheBlocksColumns) {
  for (const std::string zip : {"150", "150-00", "12345678", ""}) {
    SCOPED_TRACE(zip);
    const Postcard card = cardFor(zip);
    const std::vector<VerticalBlock> blocks = renderer_.blocksToDraw(card, Postcard::kZipCodeBlock);
    if (zip.empty()) {
      EXPECT_TRUE(blocks.empty());
      continue;
    }
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].rect, QRectF(card.QRzip_code.Left, card.QRzip_code.Top,
                                     card.QRzip_code.Width, card.QRzip_code.Height));
  }
}

}  // namespace
}  // namespace orivel::test
