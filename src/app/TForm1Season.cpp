#include "app/TForm1.h"
#include "book/SeasonWindow.h"

// The season record: its window and the selections that follow from it.

void TForm1::SeasonRecord1Click() {
  if (!SeasonWindow1) {
    SeasonWindow1 = new orivel::SeasonWindow(Book, this);
    connect(SeasonWindow1, &orivel::SeasonWindow::recordChanged, this, [this] { Modified = true; });
    connect(SeasonWindow1, &orivel::SeasonWindow::lineActivated, this, &TForm1::EditLine);
  }
  SeasonWindow1->showRecord(orivel::ThisSeason());
  SeasonWindow1->show();
  SeasonWindow1->raise();
  SeasonWindow1->activateWindow();
}

void TForm1::SelectSeason(orivel::SeasonSelection selection) {
  Book.SelectSeason(selection, orivel::ThisSeason());
}

void TForm1::refreshSeasonRecord() {
  if (SeasonWindow1 && SeasonWindow1->isVisible())
    SeasonWindow1->showRecord(SeasonWindow1->season());
}
