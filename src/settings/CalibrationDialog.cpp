#include "settings/CalibrationDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace orivel {
namespace {

// An offset moves a block at most 50 steps either way.
constexpr double kLargestShiftMm = 50 * kMmPerOffsetStep;

QDoubleSpinBox* shiftBox(QWidget* parent, const char* name) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setRange(-kLargestShiftMm, kLargestShiftMm);
  box->setDecimals(1);
  box->setSingleStep(0.5);
  box->setSuffix(QStringLiteral(" mm"));
  return box;
}

}  // namespace

CalibrationDialog::CalibrationDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CalibrationDialog"));
  setWindowTitle(QStringLiteral("印刷位置の確認"));
  auto* layout = new QVBoxLayout(this);
  auto* hint =
      new QLabel(QStringLiteral("印刷した確認用はがきで、印刷された枠と十字が、はがきの赤い枠や\n"
                                "あるべき位置からどれだけずれたかを mm で入れてください。\n"
                                "左へ: 左にずれたら＋、右にずれたら－。\n"
                                "下へ: 下にずれたら＋、上にずれたら－。\n"
                                "確認用はがきは印字位置のずらしなしで印刷されるので、\n"
                                "入れたずれから印字位置を設定し直します。"),
                 this);
  layout->addWidget(hint);
  auto group = [this, layout](const QString& title, QDoubleSpinBox** left, QDoubleSpinBox** down,
                              const char* leftName, const char* downName) {
    auto* box = new QGroupBox(title, this);
    auto* form = new QFormLayout(box);
    *left = shiftBox(box, leftName);
    *down = shiftBox(box, downName);
    form->addRow(QStringLiteral("横: 左へのずれ（右へは－）"), *left);
    form->addRow(QStringLiteral("縦: 下へのずれ（上へは－）"), *down);
    layout->addWidget(box);
  };
  group(QStringLiteral("宛先"), &AddresseeLeft, &AddresseeDown, "AddresseeLeft", "AddresseeDown");
  group(QStringLiteral("自分"), &SenderLeft, &SenderDown, "SenderLeft", "SenderDown");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

PrintedShift CalibrationDialog::addresseeShift() const {
  return {AddresseeLeft->value(), AddresseeDown->value()};
}

PrintedShift CalibrationDialog::senderShift() const {
  return {SenderLeft->value(), SenderDown->value()};
}

}  // namespace orivel
