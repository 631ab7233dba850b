#pragma once

#include <QDialog>
#include <QLineEdit>
#include <array>
#include <string>
#include <vector>

#include "book/EntryEditor.h"
#include "book/datatype.h"
#include "common/Cp932LineEdit.h"

class QCheckBox;
namespace orivel::postal {
class PostalService;
}
class QLabel;
class QPushButton;

namespace orivel {

// The postal code box: a mask of three digits, a fixed hyphen and four digits. Once
// edited, it lets the focus go only when all seven digits or none are there (or to Cancel).
class MaskEdit final : public QLineEdit {
  Q_OBJECT
 public:
  explicit MaskEdit(QWidget* parent = nullptr);
  // Always 8 characters; empty positions read as spaces ("   -    " when untouched).
  QString maskedText() const;
  void setMaskedText(const QString& text);
  // The widget that may take the focus from an incomplete box (the cancel button).
  void setEscapeWidget(QWidget* widget) { escape_ = widget; }
  // Edited, and holding one to six digits.
  bool isIncomplete() const;
  // Draws the code from the inner edge of the frame and widens the box, keeping its right
  // edge, by what the widest code in the box's font still lacks (nothing when it fits).
  void fitWholeCode();

 signals:
  // The focus went elsewhere while the box is incomplete; the dialog says so and brings
  // the focus back.
  void leftIncomplete();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QWidget* escape_ = nullptr;
};

}  // namespace orivel

// The entry editor: one addressee, or the sender's own name, postal code and address.
// It keeps nothing between uses but its controls; callers Prepare, fill, show and read.
class TForm4 final : public QDialog, public orivel::EntryEditor {
  Q_OBJECT
 public:
  static constexpr orivel::ModalResult kConfirmed = orivel::ModalResult::Confirmed;
  static constexpr orivel::ModalResult kCancelled = orivel::ModalResult::Cancelled;

  explicit TForm4(orivel::postal::PostalService& postal, QWidget* parent = nullptr);

  // categoryBoxes: 1 enable, 2 disable the six category boxes; categoryChecks: 1 check,
  // 2 uncheck them; clearTexts: 3 empties the texts and proposes "様". Other values leave
  // that aspect as it is.
  void Prepare(int categoryBoxes, int categoryChecks, int clearTexts);
  void Prepare(orivel::CategoryBoxes boxes, orivel::CategoryChecks checks,
               orivel::EntryTexts texts) override;
  // Shows the editor modally: 6 when confirmed with a name, 2 otherwise.
  orivel::ModalResult ShowModal() override;

  // The boxes in code page 932; text nobody edited comes back byte for byte.
  void fillFrom(const orivel::datatype& entry) override;
  orivel::datatype entry() const override;
  void setNameBytes(const std::string& bytes) override;
  void setZipBytes(const std::string& bytes) override;
  void setAddressBytes(const std::string& bytes) override;
  std::string nameBytes() const override;
  std::string zipBytes() const override;
  std::string addressBytes() const override;
  void setHonorificShown(bool shown) override;
  void setJointNames(const std::vector<std::string>& names) override;
  std::vector<std::string> jointNames() const override;

  // Category box of category k (1..6), in the category order of the book.
  QCheckBox* categoryBox(int k) const;

  void Button1Click();
  bool Edit1KeyDown(int key);
  bool Edit2KeyDown(int key);
  bool MaskEdit2KeyDown(int key);
  bool Edit3KeyDown(int key);
  // With all seven digits in the postal code box and an empty address box, puts the code's
  // address there and the cursor at its end.
  void FillAddressFromZip();
  orivel::postal::PostalService* Postal;  // the postal code dictionary in use

  QLabel* Label1;
  orivel::Cp932LineEdit* Edit1;  // name
  orivel::Cp932LineEdit* Edit2;  // honorific
  QLabel* Label2;
  orivel::MaskEdit* MaskEdit2;  // postal code
  QLabel* Label3;
  orivel::Cp932LineEdit* Edit3;  // address
  QPushButton* Button1;
  QPushButton* Button2;
  QCheckBox* CheckBox1;  // 年賀状
  QCheckBox* CheckBox2;  // 暑中見舞い
  QCheckBox* CheckBox4;  // バースデー
  QCheckBox* CheckBox3;  // クリスマス
  QCheckBox* CheckBox5;  // その他１
  QCheckBox* CheckBox6;  // その他２

  // Below the boxes above: the card's further people, then the fields for a card to work.
  QLabel* JointLabel;  // 連名
  std::array<orivel::Cp932LineEdit*, orivel::kMaxJoints> JointNameEdits{};
  std::array<orivel::Cp932LineEdit*, orivel::kMaxJoints> JointSamaEdits{};
  QLabel* CompanyLabel;
  orivel::Cp932LineEdit* CompanyEdit;
  QLabel* DepartmentLabel;
  orivel::Cp932LineEdit* DepartmentEdit;
  QLabel* TitleLabel;
  orivel::Cp932LineEdit* TitleEdit;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool refuseUnencodable(orivel::Cp932LineEdit* box);
  bool refuseIncompleteZip();
  void buildJointArea();
  bool extraBoxEnter(QObject* watched);
  void fillJoints(const std::vector<orivel::JointName>& joints);
  // The boxes below the specified ones that are shown, in Tab order.
  std::vector<orivel::Cp932LineEdit*> shownExtraBoxes() const;

  // The entry as filled: fields this editor does not show come back as they were.
  orivel::datatype held_;

  bool refusingZip_ = false;
  // The postal code as setZipBytes held it, and as the mask showed it then.
  std::string zipHeld_;
  QString zipShown_;
};
