#include "print/PrintService.h"

#include <algorithm>

namespace orivel {

std::vector<int> PrintSelection::lines(const AddressBook& book) const {
  std::vector<int> out;
  switch (kind) {
    case Kind::Checked:
      return book.checkedLines();
    case Kind::All:
      for (int i = 0; i < book.count(); ++i) out.push_back(i);
      return out;
    case Kind::Category:
      for (int i = 0; i < book.count(); ++i)
        if (book.entry(i).inCategory(category)) out.push_back(i);
      return out;
    case Kind::Rows:
      for (const int r : rows)
        if (r >= 0 && r < book.count()) out.push_back(r);
      std::sort(out.begin(), out.end());
      out.erase(std::unique(out.begin(), out.end()), out.end());
      return out;
  }
  return out;
}

PrintOutcome PrintService::print(const AddressBook& book, const PrintSelection& selection,
                                 const usertype& sender, PrintSink& sink, Postcard& card,
                                 const PrintProgress& progress) {
  printed_ = 0;
  const std::vector<int> lines = selection.lines(book);
  if (lines.empty()) return PrintOutcome::NothingToPrint;
  const int total = static_cast<int>(lines.size());
  if (!sink.begin()) return PrintOutcome::Failed;
  for (const int line : lines) {
    ComposePostcard(card, book.entry(line), sender);
    if (!drawCard(card, sink)) return PrintOutcome::Failed;
    ++printed_;
    // The cards printed so far stay printed: a PDF keeps its pages.
    if (progress && !progress(printed_, total) && printed_ < total)
      return sink.finish() ? PrintOutcome::Stopped : PrintOutcome::Failed;
  }
  return sink.finish() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

PrintOutcome PrintService::print(const AddressBook& book, const PrintSelection& selection,
                                 const usertype& sender, PrintSink& sink,
                                 const PrintProgress& progress) {
  Postcard card = Postcard::design();
  return print(book, selection, sender, sink, card, progress);
}

bool PrintService::printCard(const Postcard& card, PrintSink& sink) {
  return sink.begin() && drawCard(card, sink) && sink.finish();
}

bool PrintService::drawCard(const Postcard& card, PrintSink& sink) {
  return sink.printPage(PageRenderer::pageLayout(),
                        [&](QPainter& painter, const QPaintDevice& device) {
                          renderer_.render(painter, device, card, sink.target());
                        });
}

bool PrintService::printCalibration(PrintSink& sink) {
  return sink.begin() &&
         sink.printPage(PageRenderer::pageLayout(),
                        [&](QPainter& painter, const QPaintDevice& device) {
                          renderer_.renderCalibration(painter, device);
                        }) &&
         sink.finish();
}

}  // namespace orivel
