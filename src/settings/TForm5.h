#pragma once

#include <QDialog>

#include "settings/usertype.h"

// The personal settings dialog: the sender's data, the print offsets and the users.
class TForm5 final : public QDialog {
  Q_OBJECT
 public:
  explicit TForm5(QWidget* parent = nullptr);

  // The current sender settings, as the dialog's controls hold them now.
  orivel::usertype CurrentUser() const;
};

extern TForm5* Form5;
