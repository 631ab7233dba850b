#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's name and version.
class TForm6 final : public QDialog {
  Q_OBJECT
 public:
  explicit TForm6(QWidget* parent = nullptr);
  int ShowModal();

  void FormShow();
  void Button1Click();

  QLabel* Image1;  // an empty picture area
  QLabel* Label1;
  QPushButton* Button1;

 protected:
  void showEvent(QShowEvent* event) override;
};
