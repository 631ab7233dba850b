#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box.
class TForm6 final : public QDialog {
  Q_OBJECT
 public:
  explicit TForm6(QWidget* parent = nullptr);
  int ShowModal();
};

extern TForm6* Form6;
