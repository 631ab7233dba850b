#include "app/TForm1.h"

// Composing, previewing and printing postcards.

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
// does. A failed job ends the command with a message; the jobs before it stay printed.
// When every card went through, it offers to record them as sent in this season.
void TForm1::Button2Click() {
  const std::vector<int> printed = Book.checkedLines();
  const orivel::PrintOutcome outcome = links_.printing->print(
      Book, orivel::PrintSelection::checked(), links_.settings->CurrentUser(), *links_.printer,
      links_.report->card());
  if (outcome == orivel::PrintOutcome::NothingToPrint)
    orivel::ShowError(this, orivel::messages::nothingToPrint());
  else if (outcome == orivel::PrintOutcome::Failed)
    orivel::ShowError(this, orivel::messages::printFailed());
  if (outcome != orivel::PrintOutcome::Printed) return;
  const int season = orivel::ThisSeason();
  if (!orivel::AskYes(
          this, orivel::messages::recordPrintedAsSent(static_cast<int>(printed.size()), season)))
    return;
  for (int line : printed) Book.setSeasonMark(line, season, orivel::SeasonMark::Sent, true);
  Modified = true;
  refreshSeasonRecord();
}
