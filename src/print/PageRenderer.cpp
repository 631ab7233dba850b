#include "print/PageRenderer.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include "common/Codec.h"
#include "print/NameGroupLayout.h"
#include "print/VerticalTypesetter.h"

namespace orivel {
namespace {

constexpr double kDesignDpi = kDesignPixelsPerInch;
constexpr double kPixelsPerMm = kDesignDpi / kMmPerInch;
// The card lies on the page with its top-right corner at the page's origin, its 100 mm
// width down the page.
constexpr double kCardWidth = 100 * kPixelsPerMm;
// What name columns keep clear of the card's sides and of the columns beside them.
constexpr double kCardMargin = 3 * kPixelsPerMm;
constexpr double kColumnGap = 1 * kPixelsPerMm;
// A company's and a department's columns start this many characters lower than the address.
constexpr int kBusinessIndent = 2;

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
  const std::vector<VerticalBlock> blocks = blocksToDraw(card, i, &grouped);
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
  if (i == Postcard::kSenderNameBlock && card.senderNames.used())
    return LayoutNameGroup(*typesetter_, card.senderNames, senderFrame(card), columns);
  return {blockOf(card, i)};
}

PageRenderer::PageRenderer() : typesetter_(std::make_unique<VerticalTypesetter>()) {}

PageRenderer::~PageRenderer() = default;

QPageLayout PageRenderer::pageLayout() {
  const PageSetup& p = kPostcardPage;
  const QPageSize size(QSizeF(p.widthMm, p.lengthMm), QPageSize::Millimeter,
                       QStringLiteral("Postcard 148x110mm"), QPageSize::ExactMatch);
  QPageLayout layout(size, QPageLayout::Portrait,
                     QMarginsF(p.leftMarginMm, p.topMarginMm, p.rightMarginMm, p.bottomMarginMm),
                     QPageLayout::Millimeter);
  // The blocks are placed from the paper's corner; the margins do not move them.
  layout.setMode(QPageLayout::FullPageMode);
  return layout;
}

void PageRenderer::render(QPainter& painter, const QPaintDevice& device, const Postcard& card,
                          PageTarget target) {
  useFaceOf(card);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  // A paged device may put its origin at the margins; move it back to the paper's corner.
  if (auto* paged = dynamic_cast<const QPagedPaintDevice*>(&device)) {
    const QRect paint = paged->pageLayout().paintRectPixels(device.logicalDpiX());
    painter.translate(-paint.topLeft());
  }
  painter.scale(device.logicalDpiX() / kDesignDpi, device.logicalDpiY() / kDesignDpi);
  painter.setPen(Qt::black);
  for (std::size_t i = 0; i < card.blocks().size(); ++i)
    for (const VerticalBlock& block : blocksToDraw(card, i))
      typesetter_->draw(painter, block, target);
  for (const VerticalBlock& block : businessColumns(card))
    typesetter_->draw(painter, block, target);
  painter.restore();
}

}  // namespace orivel
