#include "print/NameGroupLayout.h"

#include <algorithm>
#include <cmath>

#include "common/Codec.h"

namespace orivel {
namespace {

const QString kFullWidthSpace = QStringLiteral("　");

// One column of the group: its pieces' texts and where each starts down the column.
struct Column {
  QString title;
  QString name;
  QString sama;
  bool givenNameOnly = false;
};

// The room the longest column needs down the page, and where its pieces start, at one
// face height.
struct Along {
  double titleSize = 0;
  double mainStart = 0;   // where the main name starts: after the title and a space
  double givenStart = 0;  // where the main name's given name starts
  double samaStart = 0;   // where every honorific starts
  double length = 0;      // the whole group's length down the column
  std::vector<double> starts;
};

Along measure(VerticalTypesetter& t, const std::vector<Column>& columns, double size,
              bool honorifics) {
  Along a;
  const Column& main = columns.front();
  if (!main.title.isEmpty()) {
    a.titleSize = std::max(1.0, std::round(size / 2));
    a.mainStart = t.lineLength(main.title + kFullWidthSpace, a.titleSize);
  }
  const qsizetype space = main.name.indexOf(kFullWidthSpace);
  a.givenStart = a.mainStart + (space < 0 ? 0 : t.lineLength(main.name.left(space + 1), size));
  double nameEnd = 0;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const double start = c == 0                     ? a.mainStart
                         : columns[c].givenNameOnly ? a.givenStart
                                                    : a.mainStart;
    a.starts.push_back(start);
    nameEnd = std::max(nameEnd, start + t.lineLength(columns[c].name, size));
  }
  a.length = nameEnd;
  if (honorifics) {
    a.samaStart = nameEnd + t.lineLength(kFullWidthSpace, size);
    for (const Column& column : columns)
      a.length = std::max(a.length, a.samaStart + t.lineLength(column.sama, size));
  }
  return a;
}

VerticalBlock piece(const QString& text, const QRectF& block, double along, double bandTop,
                    double thickness, double size) {
  VerticalBlock b;
  b.rect = QRectF(block.left() + along, bandTop, std::max(0.0, block.width() - along), thickness);
  b.text = text;
  b.pixelSize = static_cast<int>(size);
  b.maxColumns = 1;
  return b;
}

}  // namespace

std::vector<VerticalBlock> LayoutNameGroup(VerticalTypesetter& t, const NameGroup& group,
                                           const NameGroupFrame& frame, QStringList* printed) {
  std::vector<Column> columns;
  columns.push_back({codec::toQString(group.title), codec::toQString(group.name),
                     codec::toQString(group.sama), false});
  for (const JointName& joint : group.joints)
    columns.push_back({{},
                       codec::toQString(joint.name),
                       codec::toQString(joint.sama),
                       IsGivenNameOnly(joint.name)});
  const double n = static_cast<double>(columns.size());
  const double room = std::max(0.0, frame.high - frame.low);

  // The largest whole face height at which the group fits, down to 60 %; below that the
  // columns stand closer instead.
  const double full = frame.pixelSize;
  const double smallest = std::ceil(full * VerticalTypesetter::kSmallestScale);
  double size = full;
  Along along = measure(t, columns, size, frame.honorifics);
  while (size > smallest &&
         (n * t.columnPitch(size) > room || along.length > frame.block.width())) {
    size -= 1;
    along = measure(t, columns, size, frame.honorifics);
  }
  const double pitch = t.columnPitch(size);
  double step = pitch;
  double first = 0;
  if (n * pitch <= room) {
    // Centred on the one column's centre line, moved only as far as the band needs.
    const double centre = frame.block.top() + t.columnPitch(full) / 2;
    first = std::clamp(centre - n * pitch / 2, frame.low, frame.high - n * pitch);
  } else {
    first = frame.low;
    if (n > 1) step = std::max(0.0, (room - pitch) / (n - 1));
  }

  std::vector<VerticalBlock> pieces;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const Column& column = columns[c];
    const double bandTop = first + static_cast<double>(c) * step;
    QStringList parts;
    if (!column.title.isEmpty()) {
      // Smaller, on the column's centre line.
      const double thin = t.columnPitch(along.titleSize);
      pieces.push_back(
          piece(column.title, frame.block, 0, bandTop + (pitch - thin) / 2, thin, along.titleSize));
      parts << column.title;
    }
    if (!column.name.isEmpty()) {
      pieces.push_back(piece(column.name, frame.block, along.starts[c], bandTop, pitch, size));
      parts << column.name;
    }
    if (frame.honorifics) {
      if (!column.sama.isEmpty())
        pieces.push_back(piece(column.sama, frame.block, along.samaStart, bandTop, pitch, size));
      parts << column.sama;
    }
    if (printed) printed->append(parts.join(kFullWidthSpace));
  }
  return pieces;
}

}  // namespace orivel
