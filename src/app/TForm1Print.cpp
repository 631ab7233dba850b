#include "app/TForm1.h"

// Composing, previewing and printing postcards.

#include <QCoreApplication>
#include <QProgressDialog>
#include <algorithm>

#include "common/Dialogs.h"
#include "common/Messages.h"
#include "print/Postcard.h"

void TForm1::SetupPostcard(int row) {
  orivel::ComposePostcard(links_.report->card(), Book.entry(row), links_.settings->CurrentUser());
}

void TForm1::Button1Click() {
  const std::vector<int> checked = Book.checkedLines();
  if (checked.empty()) {
    orivel::ShowError(this, orivel::messages::nothingToPreview());
    return;
  }
  SetupPostcard(checked.front());
  PreviewIndex = checked.front();
  links_.report->Preview();
}

// One job per checked row, in list order, each composed into the report as SetupPostcard
// does, while a progress window counts the cards and offers 中止, which stops after the job
// in progress. A failed job ends the command with a message that says why; the jobs before
// it stay printed. When every card went through, it offers to record them as sent in this
// season; after 中止 it says how many were printed and records nothing.
void TForm1::Button2Click() {
  const std::vector<int> printed = Book.checkedLines();
  const int total = static_cast<int>(printed.size());
  QProgressDialog progress(orivel::messages::printingProgress(std::min(1, total), total),
                           orivel::messages::stopPrinting(), 0, total, this);
  progress.setObjectName(QStringLiteral("PrintProgress"));
  progress.setWindowTitle(QStringLiteral("印刷"));
  // The other windows stay painted but take no input while the cards go out.
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(0);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  if (total > 0) {
    progress.show();
    QCoreApplication::processEvents();
  }
  const orivel::PrintOutcome outcome = links_.printing->print(
      Book, orivel::PrintSelection::checked(), links_.settings->CurrentUser(), *links_.printer,
      links_.report->card(), [&progress](int done, int all) {
        progress.setValue(done);
        progress.setLabelText(orivel::messages::printingProgress(std::min(done + 1, all), all));
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
      });
  progress.close();
  switch (outcome) {
    case orivel::PrintOutcome::Printed:
      break;
    case orivel::PrintOutcome::NothingToPrint:
      orivel::ShowError(this, orivel::messages::nothingToPrint());
      return;
    case orivel::PrintOutcome::Failed:
      orivel::ShowError(this, orivel::messages::printFailed(links_.printer->failureReason()));
      return;
    case orivel::PrintOutcome::Stopped:
      orivel::ShowInformation(
          this, orivel::messages::printStopped(links_.printing->printedCount(), total));
      return;
  }
  const int season = orivel::ThisSeason();
  if (!orivel::AskYes(
          this, orivel::messages::recordPrintedAsSent(static_cast<int>(printed.size()), season)))
    return;
  for (int line : printed) Book.setSeasonMark(line, season, orivel::SeasonMark::Sent, true);
  Modified = true;
  refreshSeasonRecord();
}
