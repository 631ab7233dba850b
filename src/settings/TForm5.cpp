#include "settings/TForm5.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QStringLiteral("個人設定"));
}

orivel::usertype TForm5::CurrentUser() const { return {}; }
