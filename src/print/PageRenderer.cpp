#include "print/PageRenderer.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "common/Codec.h"
#include "print/NameGroupLayout.h"
#include "print/PostalCodeFrame.h"
#include "print/VerticalTypesetter.h"

namespace orivel {
namespace {

constexpr double kDesignDpi = kDesignPixelsPerInch;
constexpr double kPixelsPerMm = kDesignDpi / kMmPerInch;
// The card lies on the design page with its top-right corner at the origin, its 100 mm width
// down the page.
constexpr double kCardWidth = postal_frame::kCardWidthMm * kPixelsPerMm;
// What name columns keep clear of the card's sides and of the columns beside them.
constexpr double kCardMargin = 3 * kPixelsPerMm;
constexpr double kColumnGap = 1 * kPixelsPerMm;
// A company's and a department's columns start this many characters lower than the address.
constexpr int kBusinessIndent = 2;

// The postal code frame as the screen shows it: the light red of the printed boxes.
const QColor kFrameRed(240, 150, 150);

// How far a digit of the postal code may stand from its box's centre to stay in its block.
constexpr double kDigitNudge = 0.25 * kPixelsPerMm;

// What digitInBox() says of a digit that cannot stay inside the block.
constexpr double kNoFit = 1e9;

// The move that brings the span low ... high within min ... max, where it fits.
double nudgeInto(double low, double high, double min, double max) {
  if (low < min) return min - low;
  if (high > max) return max - high;
  return 0;
}

bool isFullWidthDigit(QChar c) {
  return c >= QChar(0xFF10) && c <= QChar(0xFF19);
}

bool overlapsAlong(const PostcardBlock& a, const PostcardBlock& b) {
  return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width;
}

}  // namespace

VerticalBlock PageRenderer::blockOf(const Postcard& card, std::size_t i) {
  const PostcardBlock& b = *card.blocks()[i];
  VerticalBlock block;
  block.rect = QRectF(b.Left, b.Top, b.Width, b.Height);
  block.text = codec::toQString(card.printedText(i));
  block.pixelSize = b.FontPixels;
  // A name stands in one column; the sender's address, composed as one line, breaks at its
  // full-width spaces.
  if (i == Postcard::kNameBlock || i == Postcard::kSenderNameBlock) block.maxColumns = 1;
  block.breakAtSpaces = i == Postcard::kSenderAddressBlock;
  return block;
}

void PageRenderer::useFaceOf(const Postcard& card) {
  typesetter_->useFace(QString::fromStdString(card.face));
}

QStringList PageRenderer::printedColumns(const Postcard& card, std::size_t i) {
  useFaceOf(card);
  QStringList columns;
  if (card.blocks()[i]->text.empty()) return columns;
  QStringList grouped;
  // Digits set in the frame's boxes still read as the block's columns.
  const std::vector<VerticalBlock> blocks = i == Postcard::kZipCodeBlock
                                                ? std::vector<VerticalBlock>{blockOf(card, i)}
                                                : blocksToDraw(card, i, &grouped);
  if (!grouped.isEmpty()) return grouped;
  for (const VerticalBlock& block : blocks) {
    for (const PlacedRun& run : typesetter_->layout(block)) {
      while (columns.size() <= run.column) columns.append(QString());
      columns[run.column] += run.text;
    }
  }
  return columns;
}

std::optional<double> PageRenderer::lastColumnEnd(const Postcard& card, std::size_t i) {
  std::optional<double> end;
  if (card.blocks()[i]->text.empty()) return end;
  for (const PlacedRun& run : typesetter_->layout(blockOf(card, i)))
    end = std::max(end.value_or(run.bandBottom), run.bandBottom);
  return end;
}

std::vector<VerticalBlock> PageRenderer::businessColumns(const Postcard& card) {
  useFaceOf(card);
  std::vector<VerticalBlock> columns;
  const PostcardBlock& address = card.QRaddress;
  const double pitch = typesetter_->columnPitch(address.FontPixels);
  const double indent = kBusinessIndent * address.FontPixels;
  double top =
      lastColumnEnd(card, Postcard::kAddressBlock).value_or(address.Top - kColumnGap) + kColumnGap;
  for (const std::string* text : {&card.company, &card.department}) {
    if (text->empty()) continue;
    VerticalBlock block;
    block.rect = QRectF(address.Left + indent, top, address.Width - indent, pitch);
    block.text = codec::toQString(*text);
    block.pixelSize = address.FontPixels;
    block.maxColumns = 1;
    columns.push_back(block);
    top += pitch;
  }
  return columns;
}

NameGroupFrame PageRenderer::addresseeFrame(const Postcard& card) {
  NameGroupFrame frame;
  const PostcardBlock& name = card.QRname;
  frame.block = QRectF(name.Left, name.Top, name.Width, name.Height);
  frame.pixelSize = name.FontPixels;
  frame.honorifics = true;
  // Left of the address and the company's columns, right of the sender's blocks.
  frame.low = kCardMargin;
  if (const auto end = lastColumnEnd(card, Postcard::kAddressBlock))
    frame.low = std::max(frame.low, *end + kColumnGap);
  for (const VerticalBlock& column : businessColumns(card))
    frame.low = std::max(frame.low, column.rect.bottom() + kColumnGap);
  frame.high = kCardWidth - kCardMargin;
  for (std::size_t i = Postcard::kFirstSenderBlock; i < card.blocks().size(); ++i) {
    const PostcardBlock& sender = *card.blocks()[i];
    if (!sender.text.empty() && overlapsAlong(sender, name))
      frame.high = std::min<double>(frame.high, sender.Top - kColumnGap);
  }
  return frame;
}

NameGroupFrame PageRenderer::senderFrame(const Postcard& card) {
  NameGroupFrame frame;
  const PostcardBlock& name = card.QRu_name;
  frame.block = QRectF(name.Left, name.Top, name.Width, name.Height);
  frame.pixelSize = name.FontPixels;
  // Within the sender's corner: left of the sender's address.
  frame.low = card.QRu_address.Top;
  if (const auto end = lastColumnEnd(card, Postcard::kSenderAddressBlock))
    frame.low = std::max(frame.low, *end + kColumnGap);
  frame.high = kCardWidth - kCardMargin;
  return frame;
}

std::vector<VerticalBlock> PageRenderer::blocksToDraw(const Postcard& card, std::size_t i,
                                                      QStringList* columns) {
  useFaceOf(card);
  if (card.blocks()[i]->text.empty()) return {};
  if (i == Postcard::kNameBlock &&
      (card.names.used() || !card.company.empty() || !card.department.empty()))
    return LayoutNameGroup(*typesetter_, card.names, addresseeFrame(card), columns);
  if (i == Postcard::kZipCodeBlock) {
    std::vector<VerticalBlock> digits = boxedDigits(card);
    if (!digits.empty()) return digits;
  }
  if (i == Postcard::kSenderNameBlock && card.senderNames.used())
    return LayoutNameGroup(*typesetter_, card.senderNames, senderFrame(card), columns);
  return {blockOf(card, i)};
}

namespace {

// Draws `text` upright on the card (a quarter turn counter-clockwise on the page), its top
// at `at` on the page and its right end there too, or its middle when `centred`.
void drawUpright(QPainter& painter, QPointF at, const QString& text, bool centred = false) {
  painter.save();
  painter.translate(at);
  painter.rotate(-90);
  const QFontMetricsF metrics(painter.font());
  const double advance = metrics.horizontalAdvance(text);
  painter.drawText(QPointF(centred ? -advance / 2 : -advance, metrics.ascent()), text);
  painter.restore();
}

}  // namespace

void PageRenderer::renderCalibration(QPainter& painter, const QPaintDevice& device) {
  static constexpr std::array<const char*, 6> kBlockLabels = {
      "宛名", "住所", "郵便番号", "差出人の名前", "差出人の住所", "差出人の郵便番号"};
  painter.save();
  beginPage(painter, device);
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(9);
  painter.setFont(font);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, 0.2 * kPixelsPerMm));
  for (std::size_t i = 0; i < postal_frame::kBoxCount; ++i) painter.drawRect(frameBoxOnPage(i));

  // A cross at each block's neutral corner: its top-right corner on the card.
  const double arm = 3 * kPixelsPerMm;
  painter.setPen(QPen(Qt::black, 0.15 * kPixelsPerMm));
  for (std::size_t i = 0; i < Postcard::kPlacements.size(); ++i) {
    const BlockPlacement& p = Postcard::kPlacements[i];
    const QPointF corner(p.neutralLeft(), p.neutralTop());
    painter.drawLine(corner - QPointF(arm, 0), corner + QPointF(arm, 0));
    painter.drawLine(corner - QPointF(0, arm), corner + QPointF(0, arm));
    // Above the cross and to its left; the postal code's below the boxes, where its cross
    // stands among them.
    const QPointF label =
        i == Postcard::kZipCodeBlock
            ? QPointF((postal_frame::kTopMm + postal_frame::kBoxHeightMm + 1) * kPixelsPerMm,
                      corner.y())
            : corner + QPointF(-3.2 * kPixelsPerMm, 0.8 * kPixelsPerMm);
    drawUpright(painter, label, QString::fromUtf8(kBlockLabels[i]));
  }

  // Millimetre scales from each edge inward, starting 5 mm beyond it so that a print that
  // falls short of the edge shows how far: along the top edge measured from the right edge,
  // along the right edge measured from the top.
  const double tick = kPixelsPerMm;
  for (int mm = -5; mm <= static_cast<int>(postal_frame::kCardWidthMm); ++mm) {
    const double length = (mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.5) * tick;
    const double y = mm * kPixelsPerMm;
    painter.drawLine(QPointF(0, y), QPointF(length, y));
    if (mm % 10 == 0 && mm > 0)
      drawUpright(painter, QPointF(length + 0.5 * tick, y), QString::number(mm), true);
  }
  for (int mm = -5; mm <= static_cast<int>(postal_frame::kCardHeightMm); ++mm) {
    const double length = (mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.5) * tick;
    const double x = mm * kPixelsPerMm;
    painter.drawLine(QPointF(x, 0), QPointF(x, length));
    if (mm % 10 == 0 && mm > 0)
      drawUpright(painter, QPointF(x - 1.5 * tick, length + 5 * tick), QString::number(mm));
  }
  font.setPixelSize(14);
  painter.setFont(font);
  drawUpright(painter, QPointF(88 * kPixelsPerMm, 45 * kPixelsPerMm),
              QStringLiteral("印刷位置の確認"));
  font.setPixelSize(9);
  painter.setFont(font);
  drawUpright(painter, QPointF(96 * kPixelsPerMm, 45 * kPixelsPerMm),
              QStringLiteral("枠と目盛りが、はがきの赤い枠と縁から"));
  drawUpright(painter, QPointF(100 * kPixelsPerMm, 45 * kPixelsPerMm),
              QStringLiteral("何mmずれたかを読み取ってください。"));
  painter.restore();
}

QRectF PageRenderer::frameBoxOnPage(std::size_t i) {
  const postal_frame::Box box = postal_frame::Boxes()[i];
  // Down the card is across the page; leftward from the card's right edge is down the page.
  return QRectF(box.topMm * kPixelsPerMm, box.rightMm * kPixelsPerMm, box.heightMm * kPixelsPerMm,
                box.widthMm * kPixelsPerMm);
}

QRectF PageRenderer::cardOnPage() {
  return QRectF(0, 0, postal_frame::kCardHeightMm * kPixelsPerMm,
                postal_frame::kCardWidthMm * kPixelsPerMm);
}

VerticalBlock PageRenderer::digitInBox(QChar digit, int size, QPointF centre, const QRectF& area,
                                       double* nudged) {
  VerticalBlock block;
  block.text = QString(digit);
  block.pixelSize = size;
  block.maxColumns = 1;
  const double length = typesetter_->lineLength(block.text, size);
  const double pitch = typesetter_->columnPitch(size);
  // A hair longer than the digit, so that it is never wrapped for rounding.
  block.rect = QRectF(centre.x() - length / 2, centre.y() - pitch / 2, length + 1e-3, pitch);
  QRectF ink;
  for (const PlacedRun& run : typesetter_->layout(block))
    for (qsizetype g = 0; g < run.glyphs.size(); ++g) ink |= typesetter_->inkRect(run, g);
  const QPointF nudge(nudgeInto(ink.left(), ink.right(), area.left(), area.right()),
                      nudgeInto(ink.top(), ink.bottom(), area.top(), area.bottom()));
  block.rect.translate(nudge);
  *nudged = area.contains(ink.translated(nudge)) ? std::hypot(nudge.x(), nudge.y()) : kNoFit;
  return block;
}

int PageRenderer::boxedDigitSize(const PostcardBlock& zip) {
  const std::pair<QString, int> key(typesetter_->faceFamily(),
                                    zip.FontPixels * 1000000 + zip.Width * 1000 + zip.Height);
  if (const auto found = digitSizes_.find(key); found != digitSizes_.end()) return found->second;
  // The largest face at which every digit's ink, centred on any box, needs at most a nudge of
  // kDigitNudge to stay inside the block: the block begins only 1.7 mm above the boxes'
  // centres, so the block's own face would stand out of it. The same for every code, so
  // that all cards' digits are alike.
  const BlockPlacement& placement = Postcard::kPlacements[Postcard::kZipCodeBlock];
  const QRectF area(placement.neutralLeft(), placement.neutralTop(), zip.Width, zip.Height);
  const int smallest = static_cast<int>(zip.FontPixels * VerticalTypesetter::kSmallestScale);
  int size = zip.FontPixels;
  for (; size > smallest; --size) {
    bool fits = true;
    for (std::size_t box = 0; box < postal_frame::kBoxCount && fits; ++box) {
      for (char16_t d = 0xFF10; d <= 0xFF19 && fits; ++d) {
        double nudged = 0;
        digitInBox(QChar(d), size, frameBoxOnPage(box).center(), area, &nudged);
        fits = nudged <= kDigitNudge;
      }
    }
    if (fits) break;
  }
  digitSizes_[key] = size;
  return size;
}

std::vector<VerticalBlock> PageRenderer::boxedDigits(const Postcard& card) {
  const PostcardBlock& zip = card.QRzip_code;
  const QString digits = codec::toQString(card.printedText(Postcard::kZipCodeBlock));
  if (digits.size() != static_cast<qsizetype>(postal_frame::kBoxCount) ||
      !std::all_of(digits.begin(), digits.end(), isFullWidthDigit))
    return {};
  const BlockPlacement& placement = Postcard::kPlacements[Postcard::kZipCodeBlock];
  const QPointF moved(zip.Left - placement.neutralLeft(), zip.Top - placement.neutralTop());
  const QRectF area(zip.Left, zip.Top, zip.Width, zip.Height);
  const int size = boxedDigitSize(zip);
  std::vector<VerticalBlock> blocks;
  for (qsizetype k = 0; k < digits.size(); ++k) {
    // The text runs from the code's last digit, in the rightmost box, to its first.
    const std::size_t box = postal_frame::kBoxCount - 1 - static_cast<std::size_t>(k);
    double nudged = 0;
    blocks.push_back(
        digitInBox(digits[k], size, frameBoxOnPage(box).center() + moved, area, &nudged));
  }
  return blocks;
}

PageRenderer::PageRenderer() : typesetter_(std::make_unique<VerticalTypesetter>()) {}

PageRenderer::~PageRenderer() = default;

QPageLayout PageRenderer::pageLayout() {
  // The card itself, 100 x 148 mm upright: the size a driver knows as its postcard (a PPD's
  // "Postcard", IPP's jpn_hagaki_100x148mm), so that nothing is scaled or turned to fit.
  QPageLayout layout(QPageSize(QPageSize::Postcard), QPageLayout::Portrait, QMarginsF());
  layout.setMode(QPageLayout::FullPageMode);
  return layout;
}

void PageRenderer::beginPage(QPainter& painter, const QPaintDevice& device) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  // A paged device may put its origin at the margins; move it back to the paper's corner.
  if (auto* paged = dynamic_cast<const QPagedPaintDevice*>(&device)) {
    const QRect paint = paged->pageLayout().paintRectPixels(device.logicalDpiX());
    painter.translate(-paint.topLeft());
  }
  painter.scale(device.logicalDpiX() / kDesignDpi, device.logicalDpiY() / kDesignDpi);
  // The blocks are placed on the design page, whose top edge is the card's right edge and
  // whose left edge is the card's top: turn it a quarter clockwise about the card's top-right
  // corner. What would stand beyond the card's left edge falls off the page, as off the card.
  painter.translate(kCardWidth, 0);
  painter.rotate(90);
}

void PageRenderer::render(QPainter& painter, const QPaintDevice& device, const Postcard& card,
                          PageTarget target) {
  useFaceOf(card);
  painter.save();
  beginPage(painter, device);
  if (target == PageTarget::Screen) {
    // What the card itself brings: its edges and the red boxes.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::gray, 0));
    painter.drawRect(cardOnPage());
    painter.setPen(QPen(kFrameRed, 0.3 * kPixelsPerMm));
    for (std::size_t i = 0; i < postal_frame::kBoxCount; ++i) painter.drawRect(frameBoxOnPage(i));
  }
  painter.setPen(Qt::black);
  std::vector<VerticalBlock> blocks;
  for (std::size_t i = 0; i < card.blocks().size(); ++i)
    for (VerticalBlock& block : blocksToDraw(card, i)) blocks.push_back(std::move(block));
  for (VerticalBlock& block : businessColumns(card)) blocks.push_back(std::move(block));
  typesetter_->draw(painter, blocks, target);
  painter.restore();
}

}  // namespace orivel
