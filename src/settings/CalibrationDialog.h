#pragma once

#include <QDialog>

#include "settings/CalibrationShift.h"

class QDoubleSpinBox;

namespace orivel {

// Takes the shift read off a printed calibration card: for the addressee's blocks and for
// the sender's, how far the marks stood left of and below where they belong.
class CalibrationDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit CalibrationDialog(QWidget* parent = nullptr);

  PrintedShift addresseeShift() const;
  PrintedShift senderShift() const;

  QDoubleSpinBox* AddresseeLeft;
  QDoubleSpinBox* AddresseeDown;
  QDoubleSpinBox* SenderLeft;
  QDoubleSpinBox* SenderDown;
};

}  // namespace orivel
