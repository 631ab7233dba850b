#include "print/TQRFM.h"

TQRFM* QRFM = nullptr;

TQRFM::TQRFM(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("QRFM"));
  setWindowTitle(QStringLiteral("QRFM"));
}
