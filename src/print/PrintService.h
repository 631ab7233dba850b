#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>
#include <vector>

#include "book/AddressBook.h"
#include "print/PageRenderer.h"
#include "print/PageTarget.h"
#include "print/Postcard.h"
#include "settings/usertype.h"

class QPainter;
class QPaintDevice;

namespace orivel {

// Draws one page on a painter already begun on `device`.
using PaintPage = std::function<void(QPainter&, const QPaintDevice&)>;

// Where printed cards go: a printer (a job a card) or a file (a page a card).
class PrintSink {
 public:
  virtual ~PrintSink() = default;
  // Before the first card of a run: false when the sink cannot take a postcard at all (no
  // such printer, one that is stopped or has no postcard paper); nothing is sent then, and
  // failureReason() says why.
  virtual bool begin() { return true; }
  // One card with `layout`: `paint` draws it on a painter already begun on the sink's
  // device. False when the card did not go through (no printer, a refused job).
  virtual bool printPage(const QPageLayout& layout, const PaintPage& paint) = 0;
  // Where the pages go: paper, unless the sink writes a PDF file to keep.
  virtual PageTarget target() const { return PageTarget::Paper; }
  // After the last card: false when the output could not be completed.
  virtual bool finish() { return true; }
  // Why the last card or finish() failed, as the print system or Qt put it; empty when
  // nothing more is known.
  virtual QString failureReason() const { return {}; }
};

// Told after each card that went through: how many have, of how many. False asks the
// service to stop there.
using PrintProgress = std::function<bool(int printed, int total)>;

// Which lines of a book to print.
struct PrintSelection {
  enum class Kind { Checked, All, Category, Rows };
  Kind kind = Kind::Checked;
  int category = 0;       // 1..6, for Kind::Category
  std::vector<int> rows;  // for Kind::Rows

  static PrintSelection checked() { return {}; }
  static PrintSelection all() { return {Kind::All, 0, {}}; }
  static PrintSelection inCategory(int k) { return {Kind::Category, k, {}}; }
  static PrintSelection row(int line) { return {Kind::Rows, 0, {line}}; }
  static PrintSelection someRows(std::vector<int> lines) { return {Kind::Rows, 0, lines}; }

  // The selected lines of `book` in list order, each once; lines outside it are left out.
  std::vector<int> lines(const AddressBook& book) const;
};

// Stopped: the progress asked to stop before every card was printed.
enum class PrintOutcome { Printed, NothingToPrint, Failed, Stopped };

// The one way cards are printed, by the windows and orivel-cli alike: the selected lines
// in list order, each composed from the sender settings, drawn by the page renderer on a
// postcard page and handed to the sink.
class PrintService {
 public:
  // Prints the selection, composing each card into `card`. Nothing is sent when the sink
  // cannot begin. Stops at the first card the sink refuses (`card` then holds it); the cards
  // before it stay printed. `progress`, when given, is told after each card and may stop the
  // rest.
  PrintOutcome print(const AddressBook& book, const PrintSelection& selection,
                     const usertype& sender, PrintSink& sink, Postcard& card,
                     const PrintProgress& progress = {});
  PrintOutcome print(const AddressBook& book, const PrintSelection& selection,
                     const usertype& sender, PrintSink& sink, const PrintProgress& progress = {});
  // One card as it is composed already, as a run of its own: one job, or a file of one page.
  bool printCard(const Postcard& card, PrintSink& sink);

  // The calibration card, one page on a postcard, as a job of its own or into a file.
  bool printCalibration(PrintSink& sink);

  PageRenderer& renderer() { return renderer_; }

  // How many cards the last print() put through.
  int printedCount() const { return printed_; }

 private:
  bool drawCard(const Postcard& card, PrintSink& sink);

  PageRenderer renderer_;
  int printed_ = 0;
};

}  // namespace orivel
