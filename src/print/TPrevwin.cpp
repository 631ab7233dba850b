#include "print/TPrevwin.h"

TPrevwin* Prevwin = nullptr;

TPrevwin::TPrevwin(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("Prevwin"));
  setWindowTitle(QStringLiteral("Prevwin"));
}
