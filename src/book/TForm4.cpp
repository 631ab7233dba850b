#include "book/TForm4.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <algorithm>

#include "common/Codec.h"
#include "common/Dialogs.h"
#include "common/EnterKey.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "files/BookFile.h"
#include "postal/PostalService.h"

namespace orivel {

MaskEdit::MaskEdit(QWidget* parent) : QLineEdit(parent) {
  setInputMask(QStringLiteral("999-9999;_"));
  setMaxLength(8);
}

QString MaskEdit::maskedText() const {
  QString shown = displayText();
  shown.replace(QLatin1Char('_'), QLatin1Char(' '));
  return shown;
}

void MaskEdit::setMaskedText(const QString& text) {
  QString digits = text;
  digits.replace(QLatin1Char(' '), QLatin1Char('_'));
  setText(digits);
  setModified(false);
}

void MaskEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // Typing goes into the first empty position, wherever the focus came from; otherwise
  // digits typed after Enter in the name box would fall past the end of the mask.
  if (event->reason() == Qt::MouseFocusReason) return;
  const qsizetype blank = displayText().indexOf(QLatin1Char('_'));
  if (blank >= 0) setCursorPosition(static_cast<int>(blank));
}

void MaskEdit::fitWholeCode() {
  // QLineEdit keeps 2 pixels between its frame and its text; give them to the text.
  constexpr int kInnerMargin = 2;
  setTextMargins(-kInnerMargin, 0, -kInnerMargin, 0);
  QStyleOptionFrame option;
  initStyleOption(&option);
  const int room = style()->subElementRect(QStyle::SE_LineEditContents, &option, this).width();
  const QFontMetricsF metrics(font());
  int needed = 0;
  for (const QChar c : QStringLiteral("0123456789_")) {
    const QString code = QString(3, c) + QLatin1Char('-') + QString(4, c);
    needed = std::max(needed, qRound(metrics.horizontalAdvance(code)) + 1);  // and the cursor
  }
  const int lacking = needed - room;
  if (lacking > 0) setGeometry(x() - lacking, y(), width() + lacking, height());
}

bool MaskEdit::isIncomplete() const {
  if (!isModified()) return false;
  const QString shown = displayText();
  const auto digits =
      std::count_if(shown.begin(), shown.end(), [](QChar c) { return c.isDigit(); });
  return digits > 0 && digits < 7;
}

void MaskEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  const bool leavingDialog = event->reason() == Qt::ActiveWindowFocusReason ||
                             event->reason() == Qt::PopupFocusReason || !isVisible();
  if (!isIncomplete() || leavingDialog) return;
  QWidget* next = window()->focusWidget();
  if (next && next == escape_) return;
  // Keep the focus here until the code is complete, as the masked box does, and say why.
  QTimer::singleShot(0, this, [this] {
    if (!isVisible() || !isIncomplete()) return;
    QWidget* now = window()->focusWidget();
    if (now != this && now != escape_) emit leftIncomplete();
  });
}

}  // namespace orivel

namespace {

constexpr int kEnterKey = 13;

// The specified dialog's height; the area for joint names and work fields lies below it.
constexpr int kSpecifiedHeight = 157;
constexpr int kRowStep = 26;
constexpr int kFirstExtraRow = kSpecifiedHeight + 8;
constexpr int kFirstBusinessRow = kFirstExtraRow + orivel::kMaxJoints * kRowStep;
constexpr int kBottomMargin = 8;
constexpr int kBoxHeight = 20;

bool isEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

TForm4::TForm4(orivel::postal::PostalService& postal, QWidget* parent)
    : QDialog(parent), Postal(&postal) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("設定"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(orivel::fonts::proportionalGothic(12));
  move(319, 279);

  const QFont big = orivel::fonts::proportionalGothic(16);
  auto label = [&](const char* name, const QString& text, int x, int y) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QLatin1String(name));
    l->setFont(big);
    l->move(x, y);
    l->adjustSize();
    return l;
  };
  auto edit = [&](const char* name, int x, int y, int w, int h) {
    auto* e = new orivel::Cp932LineEdit(this);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(x, y, w, h);
    e->setAttribute(Qt::WA_InputMethodEnabled, true);
    e->installEventFilter(this);
    return e;
  };
  auto check = [&](const char* name, const QString& text, int x, int y) {
    auto* c = new QCheckBox(text, this);
    c->setObjectName(QLatin1String(name));
    c->setFont(big);
    c->setGeometry(x, y, 97, 17);
    return c;
  };

  Label1 = label("Label1", QStringLiteral("名前"), 8, 8);
  Edit1 = edit("Edit1", 48, 8, 121, 20);
  Edit2 = edit("Edit2", 184, 8, 49, 20);
  Label2 = label("Label2", QStringLiteral("郵便番号"), 240, 8);
  MaskEdit2 = new orivel::MaskEdit(this);
  MaskEdit2->setObjectName(QStringLiteral("MaskEdit2"));
  MaskEdit2->setGeometry(320, 8, 57, 20);
  MaskEdit2->fitWholeCode();
  MaskEdit2->setAttribute(Qt::WA_InputMethodEnabled, false);
  MaskEdit2->installEventFilter(this);
  Label3 = label("Label3", QStringLiteral("住所"), 8, 40);
  Edit3 = edit("Edit3", 48, 40, 329, 20);

  Button1 = new QPushButton(QStringLiteral("設定"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(264, 72, 113, 33);
  Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setGeometry(264, 120, 113, 33);
  MaskEdit2->setEscapeWidget(Button2);
  connect(MaskEdit2, &orivel::MaskEdit::leftIncomplete, this, [this] { refuseIncompleteZip(); });

  CheckBox1 = check("CheckBox1", QStringLiteral("年賀状"), 24, 80);
  CheckBox2 = check("CheckBox2", QStringLiteral("暑中見舞い"), 144, 80);
  CheckBox4 = check("CheckBox4", QStringLiteral("バースデー"), 24, 104);
  CheckBox3 = check("CheckBox3", QStringLiteral("クリスマス"), 144, 104);
  CheckBox5 = check("CheckBox5", QStringLiteral("その他１"), 24, 128);
  CheckBox6 = check("CheckBox6", QStringLiteral("その他２"), 144, 128);

  // Tab order: name, honorific, address, the two buttons, the boxes, the postal code.
  // Then the joint rows (name, honorific) and the fields for a card to work.
  buildJointArea();
  std::vector<QWidget*> order = {Edit1,     Edit2,     Edit3,     Button1,   Button2,   CheckBox1,
                                 CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6, MaskEdit2};
  for (int k = 0; k < orivel::kMaxJoints; ++k) {
    order.push_back(JointNameEdits[static_cast<std::size_t>(k)]);
    order.push_back(JointSamaEdits[static_cast<std::size_t>(k)]);
  }
  order.insert(order.end(), {CompanyEdit, DepartmentEdit, TitleEdit});
  for (std::size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);

  connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
  connect(MaskEdit2, &QLineEdit::textEdited, this, &TForm4::FillAddressFromZip);
  connect(Button2, &QPushButton::clicked, this, [this] { done(static_cast<int>(kCancelled)); });
  // Enter moves between the boxes and presses the button it reaches, never a default one.
  orivel::pressFocusedButtonOnEnter(this);
}

void TForm4::buildJointArea() {
  const QFont big = orivel::fonts::proportionalGothic(16);
  auto* rule = new QFrame(this);
  rule->setObjectName(QStringLiteral("JointRule"));
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  rule->setGeometry(8, kSpecifiedHeight, width() - 16, 2);
  auto label = [&](const char* name, const QString& text, int y) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QLatin1String(name));
    l->setFont(big);
    l->move(8, y);
    l->adjustSize();
    return l;
  };
  auto edit = [&](const QString& name, int x, int y, int w) {
    auto* e = new orivel::Cp932LineEdit(this);
    e->setObjectName(name);
    e->setGeometry(x, y, w, kBoxHeight);
    e->setAttribute(Qt::WA_InputMethodEnabled, true);
    e->installEventFilter(this);
    return e;
  };
  // The rows stand under the name and honorific boxes, as wide as they are.
  JointLabel = label("JointLabel", QStringLiteral("連名"), kFirstExtraRow);
  for (int k = 0; k < orivel::kMaxJoints; ++k) {
    const int y = kFirstExtraRow + k * kRowStep;
    const auto i = static_cast<std::size_t>(k);
    JointNameEdits[i] = edit(QStringLiteral("JointName%1").arg(k + 1), 48, y, 121);
    JointSamaEdits[i] = edit(QStringLiteral("JointSama%1").arg(k + 1), 184, y, 49);
  }
  CompanyLabel = label("CompanyLabel", QStringLiteral("会社名"), kFirstBusinessRow);
  CompanyEdit = edit(QStringLiteral("CompanyEdit"), 72, kFirstBusinessRow, 305);
  DepartmentLabel = label("DepartmentLabel", QStringLiteral("部署"), kFirstBusinessRow + kRowStep);
  DepartmentEdit = edit(QStringLiteral("DepartmentEdit"), 72, kFirstBusinessRow + kRowStep, 305);
  TitleLabel = label("TitleLabel", QStringLiteral("役職"), kFirstBusinessRow + 2 * kRowStep);
  TitleEdit = edit(QStringLiteral("TitleEdit"), 72, kFirstBusinessRow + 2 * kRowStep, 305);
  setHonorificShown(true);
}

void TForm4::Prepare(int categoryBoxes, int categoryChecks, int clearTexts) {
  Prepare(static_cast<orivel::CategoryBoxes>(categoryBoxes),
          static_cast<orivel::CategoryChecks>(categoryChecks),
          static_cast<orivel::EntryTexts>(clearTexts));
}

void TForm4::Prepare(orivel::CategoryBoxes boxes, orivel::CategoryChecks checks,
                     orivel::EntryTexts texts) {
  using orivel::CategoryBoxes;
  using orivel::CategoryChecks;
  for (int k = 1; k <= orivel::kCategoryCount; ++k) {
    QCheckBox* box = categoryBox(k);
    if (boxes == CategoryBoxes::Enable) box->setEnabled(true);
    if (boxes == CategoryBoxes::Disable) box->setEnabled(false);
    if (checks == CategoryChecks::Check) box->setChecked(true);
    if (checks == CategoryChecks::Uncheck) box->setChecked(false);
  }
  if (texts == orivel::EntryTexts::Clear) {
    Edit1->setBytes({});
    Edit2->setText(QStringLiteral("様"));
    Edit3->setBytes({});
    MaskEdit2->setMaskedText(QString());
    zipHeld_.clear();  // a new entry's code is what the box shows
    zipShown_.clear();
    fillJoints({});
    CompanyEdit->setBytes({});
    DepartmentEdit->setBytes({});
    TitleEdit->setBytes({});
    held_ = {};
  }
}

orivel::ModalResult TForm4::ShowModal() {
  return exec() == static_cast<int>(kConfirmed) ? kConfirmed : kCancelled;
}

void TForm4::setHonorificShown(bool shown) {
  Edit2->setVisible(shown);
  for (orivel::Cp932LineEdit* box : JointSamaEdits) box->setVisible(shown);
  for (QWidget* w : std::initializer_list<QWidget*>{CompanyLabel, CompanyEdit, DepartmentLabel,
                                                    DepartmentEdit, TitleLabel, TitleEdit})
    w->setVisible(shown);
  // The dialog grows downward by the rows it shows; the specified area keeps its place.
  const int lastRow = shown ? kFirstBusinessRow + 2 * kRowStep : kFirstBusinessRow - kRowStep;
  setFixedSize(389, lastRow + kBoxHeight + kBottomMargin);
}

void TForm4::fillJoints(const std::vector<orivel::JointName>& joints) {
  for (std::size_t k = 0; k < JointNameEdits.size(); ++k) {
    if (k < joints.size()) {
      JointNameEdits[k]->setBytes(joints[k].name);
      JointSamaEdits[k]->setBytes(joints[k].sama);
    } else {
      // A row not used yet proposes the usual honorific.
      JointNameEdits[k]->setBytes({});
      JointSamaEdits[k]->setText(QStringLiteral("様"));
    }
  }
}

void TForm4::setJointNames(const std::vector<std::string>& names) {
  std::vector<orivel::JointName> joints;
  for (const std::string& name : names) joints.push_back({name, {}});
  fillJoints(joints);
}

std::vector<std::string> TForm4::jointNames() const {
  std::vector<std::string> names;
  for (const orivel::Cp932LineEdit* box : JointNameEdits)
    if (!box->text().isEmpty()) names.push_back(box->bytes());
  return names;
}

std::vector<orivel::Cp932LineEdit*> TForm4::shownExtraBoxes() const {
  std::vector<orivel::Cp932LineEdit*> boxes;
  for (std::size_t k = 0; k < JointNameEdits.size(); ++k) {
    boxes.push_back(JointNameEdits[k]);
    if (JointSamaEdits[k]->isVisibleTo(this)) boxes.push_back(JointSamaEdits[k]);
  }
  for (orivel::Cp932LineEdit* box : {CompanyEdit, DepartmentEdit, TitleEdit})
    if (box->isVisibleTo(this)) boxes.push_back(box);
  return boxes;
}

QCheckBox* TForm4::categoryBox(int k) const {
  switch (k) {
    case 1:
      return CheckBox1;
    case 2:
      return CheckBox2;
    case 3:
      return CheckBox4;
    case 4:
      return CheckBox3;
    case 5:
      return CheckBox5;
    case 6:
      return CheckBox6;
    default:
      return nullptr;
  }
}

void TForm4::fillFrom(const orivel::datatype& entry) {
  held_ = entry;
  Edit1->setBytes(entry.name);
  Edit2->setBytes(entry.sama);
  Edit3->setBytes(entry.address);
  setZipBytes(entry.zip_code);
  for (int k = 1; k <= orivel::kCategoryCount; ++k) categoryBox(k)->setChecked(entry.inCategory(k));
  fillJoints(entry.joints);
  CompanyEdit->setBytes(entry.company);
  DepartmentEdit->setBytes(entry.department);
  TitleEdit->setBytes(entry.title);
}

orivel::datatype TForm4::entry() const {
  orivel::datatype e = held_;
  e.name = nameBytes();
  e.address = addressBytes();
  e.zip_code = zipBytes();
  e.sama = Edit2->bytes();
  for (int k = 1; k <= orivel::kCategoryCount; ++k)
    e.ml[static_cast<std::size_t>(k - 1)] = categoryBox(k)->isChecked() ? 1 : 0;
  std::vector<orivel::JointName> rows;
  for (std::size_t k = 0; k < JointNameEdits.size(); ++k)
    rows.push_back({JointNameEdits[k]->bytes(), JointSamaEdits[k]->bytes()});
  e.joints = orivel::KeptJoints(rows);
  e.company = CompanyEdit->bytes();
  e.department = DepartmentEdit->bytes();
  e.title = TitleEdit->bytes();
  return e;
}

void TForm4::setNameBytes(const std::string& bytes) {
  Edit1->setBytes(bytes);
}
void TForm4::setAddressBytes(const std::string& bytes) {
  Edit3->setBytes(bytes);
}
void TForm4::setZipBytes(const std::string& bytes) {
  MaskEdit2->setMaskedText(orivel::codec::toQString(bytes));
  zipHeld_ = bytes;
  zipShown_ = MaskEdit2->maskedText();
}
std::string TForm4::nameBytes() const {
  return Edit1->bytes();
}
std::string TForm4::addressBytes() const {
  return Edit3->bytes();
}
std::string TForm4::zipBytes() const {
  // A code nobody edited comes back as it was held, though the mask shows it otherwise (an
  // empty code, one without its hyphen, a foreign one).
  const QString shown = MaskEdit2->maskedText();
  if (shown == zipShown_) return zipHeld_;
  return orivel::codec::encodeKnown(shown);
}

bool TForm4::refuseUnencodable(orivel::Cp932LineEdit* box) {
  const QString bad = box->firstUnencodable();
  if (bad.isEmpty()) return false;
  orivel::ShowError(this, orivel::messages::unusableCharacter(bad));
  // The character commonly written in its place is offered, never put in unasked.
  const QString substitute = orivel::messages::substituteFor(bad);
  if (!substitute.isEmpty() &&
      orivel::AskYes(this, orivel::messages::replaceWithSubstitute(bad, substitute)))
    box->setText(box->text().replace(bad, substitute));
  box->setFocus();
  return true;
}

// One to six digits typed: said once, however many ways the box was left, and the focus
// goes back to the box. An empty or complete code passes.
bool TForm4::refuseIncompleteZip() {
  if (!MaskEdit2->isIncomplete()) return false;
  if (!refusingZip_) {
    refusingZip_ = true;
    orivel::ShowError(this, orivel::messages::zipIncomplete());
    refusingZip_ = false;
  }
  MaskEdit2->setFocus();
  return true;
}

void TForm4::Button1Click() {
  if (Edit1->text().isEmpty()) {
    orivel::ShowError(this, orivel::messages::nameRequired());
    Edit1->setFocus();
    return;
  }
  // An addressee of a name the book file reads as a missing entry would be lost at the next
  // load. The sender's own name (the honorific box hidden) goes to the settings, not the book.
  if (Edit2->isVisibleTo(this) && !orivel::BookKeepsName(Edit1->bytes())) {
    orivel::ShowError(this, orivel::messages::nameNotKept());
    Edit1->setFocus();
    return;
  }
  if (refuseIncompleteZip()) return;
  // The honorific box is hidden while the sender is edited: what it holds is not asked for.
  if (refuseUnencodable(Edit1) || (Edit2->isVisibleTo(this) && refuseUnencodable(Edit2)) ||
      refuseUnencodable(Edit3))
    return;
  for (orivel::Cp932LineEdit* box : shownExtraBoxes())
    if (refuseUnencodable(box)) return;
  // The mask takes any digit, also one code page 932 cannot hold (a pasted ٣).
  if (const QString bad = orivel::codec::firstUnencodable(MaskEdit2->maskedText());
      !bad.isEmpty()) {
    orivel::ShowError(this, orivel::messages::unusableCharacter(bad));
    MaskEdit2->setFocus();
    return;
  }
  done(static_cast<int>(kConfirmed));
}

bool TForm4::Edit1KeyDown(int key) {
  if (key != kEnterKey) return false;
  MaskEdit2->setFocus();
  return true;
}

bool TForm4::Edit2KeyDown(int key) {
  if (key != kEnterKey) return false;
  Edit3->setFocus();
  return true;
}

bool TForm4::MaskEdit2KeyDown(int key) {
  if (key != kEnterKey) return false;
  Edit3->setFocus();
  return true;
}

bool TForm4::Edit3KeyDown(int key) {
  if (key != kEnterKey) return false;
  Button1->setFocus();
  return true;
}

// Enter in a box below the specified ones goes on to the next shown box, and from the last
// one to 設定.
bool TForm4::extraBoxEnter(QObject* watched) {
  const std::vector<orivel::Cp932LineEdit*> boxes = shownExtraBoxes();
  const auto at = std::find(boxes.begin(), boxes.end(), watched);
  if (at == boxes.end()) return false;
  if (std::next(at) == boxes.end())
    Button1->setFocus();
  else
    (*std::next(at))->setFocus();
  return true;
}

void TForm4::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Edit1->setFocus();  // FormShow: the name box takes the focus
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const int code = isEnter(key) ? kEnterKey : key->key();
    bool handled = false;
    if (watched == Edit1)
      handled = Edit1KeyDown(code);
    else if (watched == Edit2)
      handled = Edit2KeyDown(code);
    else if (watched == MaskEdit2)
      handled = MaskEdit2KeyDown(code);
    else if (watched == Edit3)
      handled = Edit3KeyDown(code);
    else if (code == kEnterKey)
      handled = extraBoxEnter(watched);
    if (handled) return true;
  }
  return QDialog::eventFilter(watched, event);
}
