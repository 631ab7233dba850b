#include "app/TForm6.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "common/Fonts.h"

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form6"));
  setWindowTitle(QStringLiteral("Form6"));
  // Sizeable border with system menu, minimise and maximise boxes.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setFont(orivel::fonts::proportionalGothic(12));
  // The outer size is 352 x 202; a sizeable frame of 4 pixels and a 23-pixel title bar
  // leave this client area.
  resize(344, 175);
  move(274, 250);

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(64, 0, 177, 97);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1->setGeometry(64, 104, 273, 65);  // fixed size: the text never resizes it

  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(256, 56, 75, 25);
  Button1->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
}

int TForm6::ShowModal() {
  return exec();
}

void TForm6::FormShow() {
  // Set anew before appending, so that every showing reads the same.
  Label1->setText(QStringLiteral("オリベル "));
  Label1->setText(Label1->text() + QStringLiteral("Ver1.00"));
}

void TForm6::Button1Click() {
  close();
}

void TForm6::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}
