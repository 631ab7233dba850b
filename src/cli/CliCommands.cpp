#include "cli/CliCommands.h"

#include <QByteArray>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <cstdio>
#include <filesystem>

#include "book/AddressBook.h"
#include "cli/Json.h"
#include "common/Codec.h"
#include "common/Messages.h"
#include "files/BookFile.h"
#include "files/CsvImport.h"
#include "print/PageRenderer.h"
#include "print/Postcard.h"

namespace orivel::cli {
namespace {

std::filesystem::path nativePath(const std::string& bytes) {
  return std::filesystem::path(bytes);
}

// False when standard output did not take it all (a full disk, say): the listing is then
// incomplete and the command has failed.
bool writeOut(const QByteArray& bytes) {
  const auto size = static_cast<std::size_t>(bytes.size());
  if (std::fwrite(bytes.constData(), 1, size, stdout) == size && std::fflush(stdout) == 0)
    return true;
  Say(QStringLiteral("orivel-cli: standard output could not be written"));
  return false;
}

// Loads the book as the load command does and says what the window would show when the
// file is refused.
bool loadBook(const std::string& path, AddressBook& book) {
  const BookLoadResult result = LoadBook(nativePath(path), book);
  if (result.ok()) return true;
  const QString refusal = messages::bookRefusal(result);
  if (!refusal.isEmpty()) Say(refusal);
  Say(messages::loadFailed());
  return false;
}

bool holdsEntry(const AddressBook& book, int row) {
  if (row >= 0 && row < book.count()) return true;
  Say(QStringLiteral("orivel-cli: row %1 holds no entry (the book has %2)")
          .arg(row)
          .arg(book.count()));
  return false;
}

void appendBlock(QByteArray& out, const char* name, const PostcardBlock& block, bool filled) {
  out += '"';
  out += name;
  out += "\": {\"left\": " + QByteArray::number(block.Left) +
         ", \"top\": " + QByteArray::number(block.Top) + ", \"lines\": [";
  if (filled) {
    // Lines were added with the text, so even an empty text is one (empty) line.
    std::string_view rest = block.text;
    for (bool first = true;; first = false) {
      const std::size_t br = rest.find("\r\n");
      if (!first) out += ", ";
      AppendJsonCp932(out, rest.substr(0, br));
      if (br == std::string_view::npos) break;
      rest = rest.substr(br + 2);
    }
  }
  out += "]}";
}

// Marks the rows to print the way the window's check commands would.
bool select(AddressBook& book, const Selection& selection) {
  switch (selection.kind) {
    case Selection::Kind::All:
      book.SelectChecks(7);
      return true;
    case Selection::Kind::Category:
      book.SelectChecks(selection.category);
      return true;
    case Selection::Kind::Rows:
      for (const int row : selection.rows) {
        if (!holdsEntry(book, row)) return false;
        book.setChecked(row, true);
      }
      return true;
    case Selection::Kind::None:
      break;
  }
  return true;
}

// One job a card on the printer, in order; the jobs before a failed one stay printed.
bool printEach(const AddressBook& book, const std::vector<int>& rows, const Arguments& args) {
  const QPrinterInfo printer = args.printer.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                      : QPrinterInfo::printerInfo(args.printer);
  PageRenderer renderer;
  Postcard card = Postcard::design();
  for (const int row : rows) {
    ComposePostcard(card, book.entry(row), args.sender);
    const bool printed = PrintPageOn(printer, PageRenderer::pageLayout(),
                                     [&](QPainter& painter, const QPaintDevice& device) {
                                       renderer.render(painter, device, card);
                                     });
    if (!printed) return false;
  }
  return true;
}

// All cards into one PDF, a page each. The file is replaced only once it is complete.
bool writePdf(const AddressBook& book, const std::vector<int>& rows, const Arguments& args) {
  QSaveFile file(QFile::decodeName(QByteArray::fromStdString(args.pdf)));
  if (!file.open(QIODevice::WriteOnly)) return false;
  {
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Orivel"));
    writer.setTitle(QStringLiteral("Orivel"));
    if (!writer.setPageLayout(PageRenderer::pageLayout())) return false;
    // Design pixels are 1/96 inch, so the page is drawn without scaling.
    writer.setResolution(96);
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    PageRenderer renderer;
    Postcard card = Postcard::design();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (i > 0 && !writer.newPage()) return false;
      ComposePostcard(card, book.entry(rows[i]), args.sender);
      renderer.render(painter, writer, card);
    }
    if (!painter.end()) return false;
  }
  return file.commit();
}

}  // namespace

bool LoadBookOrSay(const std::string& path, AddressBook& book) {
  return loadBook(path, book);
}

bool WriteOut(const QByteArray& bytes) {
  return writeOut(bytes);
}

void Say(const QString& message) {
  const QByteArray line = message.toUtf8() + '\n';
  std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
}

int Show(const Arguments& args) {
  AddressBook book;
  if (!loadBook(args.book, book)) return kExitFailure;
  QByteArray out;
  for (int i = 0; i < book.count(); ++i) {
    const datatype& e = book.entry(i);
    out += "{\"index\": " + QByteArray::number(i) + ", \"name\": ";
    AppendJsonCp932(out, e.name);
    out += ", \"zip_code\": ";
    AppendJsonCp932(out, e.zip_code);
    out += ", \"address\": ";
    AppendJsonCp932(out, e.address);
    out += ", \"sama\": ";
    AppendJsonCp932(out, e.sama);
    out += ", \"categories\": [";
    bool first = true;
    for (int k = 1; k <= kCategoryCount; ++k) {
      if (!e.inCategory(k)) continue;
      if (!first) out += ", ";
      out += QByteArray::number(k);
      first = false;
    }
    out += "]}\n";
  }
  return writeOut(out) ? kExitSuccess : kExitFailure;
}

int Import(const Arguments& args) {
  AddressBook book;
  if (args.hasInto && !loadBook(args.book, book)) return kExitFailure;
  StringGrid grid;
  for (const std::string& csv : args.csvFiles) {
    grid.clearCells();
    const CsvRead read = ReadCsvFileForImport(nativePath(csv), grid, codec::fromUtf8);
    const QString failure = messages::csvReadFailure(read);
    if (!failure.isEmpty()) {
      Say(failure);
      return kExitFailure;
    }
    const CsvImportResult result = AppendGridRows(grid, book);
    const QString leftOut = messages::importLeftOut(result.leftOut);
    if (!leftOut.isEmpty()) Say(leftOut);
  }
  if (!SaveBook(book, nativePath(args.out))) {
    Say(messages::saveFailed());
    return kExitFailure;
  }
  return kExitSuccess;
}

int Compose(const Arguments& args) {
  AddressBook book;
  if (!loadBook(args.book, book)) return kExitFailure;
  if (!holdsEntry(book, args.row)) return kExitFailure;
  Postcard card = Postcard::design();
  ComposePostcard(card, book.entry(args.row), args.sender);
  const auto blocks = card.blocks();
  QByteArray out = "{";
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    if (i > 0) out += ", ";
    // Without the sender's choice the composition empties the sender's blocks: no lines.
    const bool filled = i < Postcard::kFirstSenderBlock || args.sender.print_own_address;
    appendBlock(out, Postcard::kBlockNames[i], *blocks[i], filled);
  }
  out += "}\n";
  return writeOut(out) ? kExitSuccess : kExitFailure;
}

int Print(const Arguments& args) {
  AddressBook book;
  if (!loadBook(args.book, book)) return kExitFailure;
  if (!select(book, args.selection)) return kExitFailure;
  const std::vector<int> rows = book.checkedLines();
  if (rows.empty()) {
    Say(messages::nothingToPrint());
    return kExitFailure;
  }
  const bool done = args.pdf.empty() ? printEach(book, rows, args) : writePdf(book, rows, args);
  if (!done) {
    Say(messages::printFailed());
    return kExitFailure;
  }
  return kExitSuccess;
}

}  // namespace orivel::cli
