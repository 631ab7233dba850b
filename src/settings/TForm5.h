#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <array>
#include <string>

#include <functional>

#include "book/EntryEditor.h"
#include "common/Cp932LineEdit.h"
#include "settings/CalibrationShift.h"
#include "settings/SenderProfiles.h"
#include "settings/SenderRules.h"
#include "settings/SenderSettings.h"
#include "settings/usertype.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace orivel {

// An image control: a picture that is drawn on and shown as it is. Blank until first drawn.
class ImageBox final : public QWidget {
  Q_OBJECT
 public:
  explicit ImageBox(QWidget* parent = nullptr);
  // The picture to draw on, created at the control's size on first use, with as many
  // pixels as the screen shows there (its device pixel ratio), so that it stays sharp.
  QImage& canvas();
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace orivel

// The personal settings dialog: the sender's data, the print offsets and the users. Its
// controls hold the current user's profile, loaded from the store when the dialog is
// built; every change is written back to the store at once.
class TForm5 final : public QDialog, public orivel::SenderSettings {
  Q_OBJECT
 public:
  static constexpr orivel::ModalResult kConfirmed = orivel::ModalResult::Confirmed;
  static constexpr orivel::ModalResult kCancelled = orivel::ModalResult::Cancelled;

  // The dialog edits the sender's own data in `editor`; `nowUserRead` learns the current
  // user number that each showing reads from the store.
  TForm5(orivel::EntryEditor& editor, std::function<void(int)> nowUserRead,
         QWidget* parent = nullptr);

  // The current sender settings, as the dialog's controls hold them now.
  orivel::usertype CurrentUser() const override;
  // The user whose profile the dialog holds (-1: none, profile 0).
  int ProfileUser() const { return profiles_.user(); }

  // Shows the dialog modally; 6 after "設定", 2 otherwise.
  orivel::ModalResult ShowModal() override;

  // The sender texts in code page 932. Each box gives back the very bytes it was filled
  // with, so text that came from the entry editor is never re-encoded.
  void setNameBytes(const std::string& bytes);
  void setZipBytes(const std::string& bytes);
  void setAddressBytes(const std::string& bytes);
  std::string nameBytes() const;
  std::string zipBytes() const;
  std::string addressBytes() const;

  // The scroll bar whose Tag is k (1..12).
  QScrollBar* OffsetBar(int k) const;

  void FormShow();
  void BarChange(QScrollBar* bar);
  void DrawOffsetPreview();
  void ResetOffsets(orivel::OffsetGroups groups);
  void AddUser();
  void Button1Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton5Click();
  // How 印刷位置の確認 prints the calibration card: through the print service to the
  // printer the cards go to; false when the card did not go through.
  // Prints the calibration card; false with the printer's reason when it could not.
  using CalibrationPrint = std::function<bool(QString* reason)>;
  void setCalibrationPrint(CalibrationPrint print) { printCalibration_ = std::move(print); }
  // 印刷位置の確認: prints the calibration card, then asks for the shift read off it.
  void N7Click();
  // Sets the twelve offsets from the shifts read off the calibration card.
  void ApplyCalibration(orivel::PrintedShift addressee, orivel::PrintedShift sender);

  // Steps the current user back (-1) or on (+1) and loads that user's profile.
  void StepUser(int step);

  // The area below the menu bar that holds the controls, 452 x 430.
  QWidget* ClientArea;

  // Controls, by their layout names.
  QMenuBar* MainMenu1;
  QAction* N3;  // ユーザー / 追加
  QAction* N2;  // ユーザー / 削除
  QAction* N5;  // 初期値 / 宛先位置の初期化
  QAction* N6;  // 初期値 / 送りもと位置の初期化
  QAction* N7;  // 初期値 / 印刷位置の確認
  QFrame* Panel1;
  QToolButton* SpeedButton1;
  QToolButton* SpeedButton2;
  QToolButton* SpeedButton5;
  QToolButton* SpeedButton4;
  QLabel* Label13;
  QGroupBox* GroupBox2;
  QLabel* Label12;
  orivel::Cp932LineEdit* Edit1;  // name
  QLabel* Label11;
  orivel::Cp932LineEdit* Edit2;  // postal code
  QPushButton* Button3;
  QLabel* Label10;
  orivel::Cp932LineEdit* Edit3;  // address
  QGroupBox* GroupBox1;
  QPushButton* Button4;
  QGroupBox* GroupBox3;
  QCheckBox* CheckBox1;
  QCheckBox* CheckBox2;  // the digits of the addresses in kanji numerals
  orivel::ImageBox* Image1;
  QGroupBox* GroupBox4;
  QPushButton* Button5;
  QPushButton* Button1;
  QPushButton* Button2;
  // Below the specified area: the sender's family, edited with 変更.
  QGroupBox* GroupBox5;
  QLabel* Label23;
  orivel::Cp932LineEdit* Edit4;  // joint names
  // The card's typeface, among the installed faces that cover Japanese.
  QGroupBox* GroupBox6;
  QComboBox* ComboBox1;
  QScrollBar *ScrollBar1, *ScrollBar2, *ScrollBar3, *ScrollBar4, *ScrollBar5, *ScrollBar6;
  QScrollBar *ScrollBar7, *ScrollBar8, *ScrollBar9, *ScrollBar10, *ScrollBar11, *ScrollBar12;
  QLabel *Label4, *Label5, *Label6, *Label7, *Label8, *Label9;
  QLabel *Label17, *Label18, *Label19, *Label20, *Label21, *Label22;
  // Entry k-1 is the label of print offset k.
  std::array<QLabel*, orivel::kOffsetCount> OffsetLabels{};

 public slots:
  // The close box and Escape give the cancel result.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void buildControls();
  void buildOffsetGroup(QGroupBox* group, int firstTag);
  void buildMenu();
  void setUserLabel(const QString& text);
  void showUserLabel(int nowUser);
  void setNowUser(int nowUser);
  // Puts a profile into the controls without writing it back, then names its bad values.
  void showProfile(const orivel::usertype& user);
  void reportBadValues();
  // Writes the controls' settings to the current profile; says once when that fails.
  void SaveProfile();
  void reportSaveFailure();

  orivel::SenderProfiles profiles_;
  bool showingProfile_ = false;

  // Fills the sender's texts from the editor shown modally; false when not confirmed.
  bool editSender();
  void setJoints(const std::vector<std::string>& joints);
  void showFace(const std::string& face);
  std::vector<std::string> joints_;  // the sender's family as Edit4 shows it

  std::array<QScrollBar*, orivel::kOffsetCount> bars_{};
  orivel::EntryEditor& editor_;
  std::function<void(int)> nowUserRead_;
  CalibrationPrint printCalibration_;
};
