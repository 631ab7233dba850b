#include "settings/TForm5.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "common/Codec.h"
#include "common/Dialogs.h"
#include "common/EnterKey.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "print/CardFaces.h"
#include "settings/CalibrationDialog.h"

namespace orivel {

ImageBox::ImageBox(QWidget* parent) : QWidget(parent) {}

QImage& ImageBox::canvas() {
  const qreal ratio = devicePixelRatioF();
  if (picture_.deviceIndependentSize() != QSizeF(size()) || picture_.devicePixelRatio() != ratio) {
    picture_ = QImage((QSizeF(size()) * ratio).toSize(), QImage::Format_RGB32);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(Qt::white);
  }
  return picture_;
}

void ImageBox::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;  // an image without a picture shows nothing
  QPainter p(this);
  p.drawImage(0, 0, picture_);
}

}  // namespace orivel

namespace {

// A group box drawn the classic way: the etched frame starts at half the caption's height
// and the caption sits on the frame line at left 8, so that controls placed near the top
// (the "D" buttons, the check box at 16) fall where the layout means them to.
class GroupFrame final : public QGroupBox {
 public:
  GroupFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QFontMetrics metrics(font());
    const QRect frame = rect().adjusted(0, metrics.height() / 2, -1, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(frame.adjusted(1, 1, 0, 0));
    const QRect caption(8, 0, metrics.horizontalAdvance(title()), metrics.height());
    p.fillRect(caption, palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, title());
  }
};

// An offset scroll bar: it takes the focus with Tab, the arrow keys move it by 1 and
// Page Up / Page Down by 10 (a click beside the thumb still moves it by 1); Home and End
// go to 0 and 100.
class OffsetScrollBar final : public QScrollBar {
 public:
  explicit OffsetScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    // As a horizontal scroll bar of the platform the dialog comes from: left and up lower
    // the offset, right and down raise it; Page Up and Page Down by 10.
    int step = 0;
    switch (event->key()) {
      case Qt::Key_Left:
      case Qt::Key_Up:
        step = -1;
        break;
      case Qt::Key_Right:
      case Qt::Key_Down:
        step = 1;
        break;
      case Qt::Key_PageUp:
        step = -10;
        break;
      case Qt::Key_PageDown:
        step = 10;
        break;
      default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    setValue(value() + step);
    event->accept();
  }
};

constexpr int kClientWidth = 452;
constexpr int kClientHeight = 430;
constexpr int kFamilyHeight = 56;  // the family's group below the specified area
constexpr int kFaceHeight = 56;    // the typeface's group below the family's
constexpr int kUserLabelRight = 441;

// The tool bar's pictures, 24 x 24 on a transparent ground.
enum class ToolPicture { Left, Right, New, Delete };

QIcon toolIcon(ToolPicture kind) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor green(0, 150, 60);
  const QPen outline(QColor(0, 90, 30), 1);
  switch (kind) {
    case ToolPicture::Left:
    case ToolPicture::Right: {
      QPainterPath triangle;
      if (kind == ToolPicture::Left) {
        triangle.moveTo(5, 12);
        triangle.lineTo(18, 4);
        triangle.lineTo(18, 20);
      } else {
        triangle.moveTo(19, 12);
        triangle.lineTo(6, 4);
        triangle.lineTo(6, 20);
      }
      triangle.closeSubpath();
      p.setPen(outline);
      p.setBrush(green);
      p.drawPath(triangle);
      break;
    }
    case ToolPicture::New:
    case ToolPicture::Delete: {
      QFont font = orivel::fonts::proportionalGothic(9);
      font.setBold(true);
      p.setFont(font);
      p.setPen(QColor(0, 0, 128));
      p.drawText(QRect(0, 0, 24, 11), Qt::AlignCenter,
                 kind == ToolPicture::New ? QStringLiteral("NEW") : QStringLiteral("DEL"));
      p.setPen(Qt::NoPen);
      p.setBrush(kind == ToolPicture::New ? green : QColor(200, 30, 30));
      p.drawRect(QRectF(6, 15.5, 12, 3));
      if (kind == ToolPicture::New) p.drawRect(QRectF(10.5, 11, 3, 12));
      break;
    }
  }
  p.end();
  return QIcon(pixmap);
}

}  // namespace

TForm5::TForm5(orivel::EntryEditor& editor, std::function<void(int)> nowUserRead, QWidget* parent)
    : QDialog(parent), editor_(editor), nowUserRead_(std::move(nowUserRead)) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QStringLiteral("個人設定"));
  // Single fixed border with the system menu only.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(orivel::fonts::proportionalGothic(12));
  buildMenu();
  buildControls();
  // The current user's profile, before the first card can be composed.
  showProfile(profiles_.load(orivel::ReadNowUser()));

  // The menu bar sits above the client area; the window takes exactly their sizes.
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(0, 0, 0, 0);
  frame->setSpacing(0);
  frame->setMenuBar(MainMenu1);
  frame->addWidget(ClientArea);
  frame->setSizeConstraint(QLayout::SetFixedSize);
  move(183, 284);
}

void TForm5::buildMenu() {
  MainMenu1 = new QMenuBar(this);
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  auto action = [](QMenu* menu, const char* name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    return a;
  };
  QMenu* users = MainMenu1->addMenu(QStringLiteral("ユーザー"));
  N3 = action(users, "N3", QStringLiteral("追加"));
  N2 = action(users, "N2", QStringLiteral("削除"));
  QMenu* defaults = MainMenu1->addMenu(QStringLiteral("初期値"));
  N5 = action(defaults, "N5", QStringLiteral("宛先位置の初期化"));
  N6 = action(defaults, "N6", QStringLiteral("送りもと位置の初期化"));
  N7 = action(defaults, "N7", QStringLiteral("印刷位置の確認"));
  connect(N3, &QAction::triggered, this, &TForm5::SpeedButton5Click);
  // N2 (削除) has no command.
  connect(N5, &QAction::triggered, this, &TForm5::Button4Click);
  connect(N6, &QAction::triggered, this, &TForm5::Button5Click);
  connect(N7, &QAction::triggered, this, &TForm5::N7Click);
}

void TForm5::buildControls() {
  ClientArea = new QWidget(this);
  ClientArea->setObjectName(QStringLiteral("ClientArea"));
  ClientArea->setFixedSize(kClientWidth, kClientHeight + kFamilyHeight + kFaceHeight);
  const QFont big = orivel::fonts::proportionalGothic(16);

  Panel1 = new QFrame(ClientArea);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameShape(QFrame::Panel);
  Panel1->setFrameShadow(QFrame::Raised);
  Panel1->setGeometry(0, 0, kClientWidth, 32);
  auto tool = [&](const char* name, ToolPicture picture, int x) {
    auto* b = new QToolButton(Panel1);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, 4, 25, 25);
    b->setIconSize(QSize(24, 24));
    b->setIcon(toolIcon(picture));
    b->setAutoRaise(true);
    return b;
  };
  SpeedButton1 = tool("SpeedButton1", ToolPicture::Left, 16);
  SpeedButton2 = tool("SpeedButton2", ToolPicture::Right, 40);
  SpeedButton5 = tool("SpeedButton5", ToolPicture::New, 72);
  SpeedButton4 = tool("SpeedButton4", ToolPicture::Delete, 96);
  connect(SpeedButton1, &QToolButton::clicked, this, &TForm5::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &TForm5::SpeedButton2Click);
  connect(SpeedButton5, &QToolButton::clicked, this, &TForm5::SpeedButton5Click);
  // SpeedButton4 (DEL) has no command: users are never deleted.

  Label13 = new QLabel(Panel1);
  Label13->setObjectName(QStringLiteral("Label13"));
  Label13->setFont(big);
  Label13->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label13->setGeometry(389, 8, 52, 16);

  auto group = [&](const char* name, const QString& title, const QRect& place) {
    auto* g = new GroupFrame(title, ClientArea);
    g->setObjectName(QLatin1String(name));
    g->setFont(big);  // and so every control inside it
    g->setGeometry(place);
    return g;
  };
  auto label = [](QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->move(x, y);
    l->adjustSize();
    return l;
  };
  auto senderBox = [](QWidget* parent, const char* name, const QRect& place) {
    auto* e = new orivel::Cp932LineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(place);
    e->setReadOnly(true);
    return e;
  };
  auto button = [](QWidget* parent, const char* name, const QString& text, const QRect& place) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(place);
    // Enter must not press a button the user did not choose.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
  };

  GroupBox2 = group("GroupBox2", QStringLiteral("個人設定"), {8, 32, 441, 89});
  Label12 = label(GroupBox2, "Label12", QStringLiteral("名前"), 8, 24);
  Edit1 = senderBox(GroupBox2, "Edit1", {48, 24, 169, 24});
  Label11 = label(GroupBox2, "Label11", QStringLiteral("郵便番号"), 224, 24);
  Edit2 = senderBox(GroupBox2, "Edit2", {296, 24, 81, 24});
  Button3 = button(GroupBox2, "Button3", QStringLiteral("変更"), {384, 24, 41, 25});
  Label10 = label(GroupBox2, "Label10", QStringLiteral("住所"), 8, 56);
  Edit3 = senderBox(GroupBox2, "Edit3", {48, 56, 377, 24});
  connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);

  GroupBox1 = group("GroupBox1", QStringLiteral("印字位置（宛先）"), {8, 128, 241, 145});
  Button4 = button(GroupBox1, "Button4", QStringLiteral("D"), {120, 0, 17, 17});
  connect(Button4, &QPushButton::clicked, this, &TForm5::Button4Click);
  buildOffsetGroup(GroupBox1, 1);

  // The group is taller than the print-own choice alone needs, for the kanji numerals'
  // choice below it; the preview below the group starts lower by as much, and keeps every
  // point that an offset can reach.
  GroupBox3 = group("GroupBox3", QStringLiteral("印字種別"), {256, 128, 193, 57});
  CheckBox1 = new QCheckBox(QStringLiteral("自分の宛名を印字する"), GroupBox3);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->setGeometry(8, 16, 177, 17);
  CheckBox2 = new QCheckBox(QStringLiteral("住所の数字を漢数字で印字する"), GroupBox3);
  CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
  // The dialog's own size: the caption is too long for the group's larger one.
  CheckBox2->setFont(orivel::fonts::proportionalGothic(12));
  CheckBox2->setGeometry(4, 35, 187, 17);
  connect(CheckBox1, &QCheckBox::toggled, this, &TForm5::SaveProfile);
  connect(CheckBox2, &QCheckBox::toggled, this, &TForm5::SaveProfile);

  Image1 = new orivel::ImageBox(ClientArea);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(264, 192, orivel::kPreviewWidth, orivel::kPreviewHeight);

  GroupBox4 = group("GroupBox4", QStringLiteral("印字位置（自分）"), {8, 280, 241, 145});
  Button5 = button(GroupBox4, "Button5", QStringLiteral("D"), {120, 0, 17, 17});
  connect(Button5, &QPushButton::clicked, this, &TForm5::Button5Click);
  buildOffsetGroup(GroupBox4, 7);

  Button1 = button(ClientArea, "Button1", QStringLiteral("設定"), {264, 400, 81, 25});
  Button2 = button(ClientArea, "Button2", QStringLiteral("キャンセル"), {360, 400, 81, 25});
  connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
  connect(Button2, &QPushButton::clicked, this, [this] { done(static_cast<int>(kCancelled)); });

  GroupBox5 = group("GroupBox5", QStringLiteral("連名（家族）"), {8, kClientHeight, 441, 49});
  Label23 = label(GroupBox5, "Label23", QStringLiteral("連名"), 8, 20);
  Edit4 = senderBox(GroupBox5, "Edit4", {48, 20, 377, 24});

  GroupBox6 =
      group("GroupBox6", QStringLiteral("書体"), {8, kClientHeight + kFamilyHeight, 441, 49});
  ComboBox1 = new QComboBox(GroupBox6);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setGeometry(48, 20, 377, 24);
  for (const orivel::CardFace& face : orivel::JapaneseFaces())
    ComboBox1->addItem(face.japaneseName, face.family);
  connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm5::SaveProfile);

  ScrollBar1 = bars_[0], ScrollBar2 = bars_[1], ScrollBar3 = bars_[2];
  ScrollBar4 = bars_[3], ScrollBar5 = bars_[4], ScrollBar6 = bars_[5];
  ScrollBar7 = bars_[6], ScrollBar8 = bars_[7], ScrollBar9 = bars_[8];
  ScrollBar10 = bars_[9], ScrollBar11 = bars_[10], ScrollBar12 = bars_[11];
  Label4 = OffsetLabels[0], Label5 = OffsetLabels[1], Label6 = OffsetLabels[2];
  Label7 = OffsetLabels[3], Label8 = OffsetLabels[4], Label9 = OffsetLabels[5];
  Label17 = OffsetLabels[6], Label18 = OffsetLabels[7], Label19 = OffsetLabels[8];
  Label20 = OffsetLabels[9], Label21 = OffsetLabels[10], Label22 = OffsetLabels[11];

  // Tab walks the sender's data, the choices, then each group's reset button and its bars
  // in the order of their Tags, then the closing buttons.
  std::vector<QWidget*> order = {Button3, CheckBox1, CheckBox2, ComboBox1, Button4};
  for (int k = 1; k <= 6; ++k) order.push_back(OffsetBar(k));
  order.push_back(Button5);
  for (int k = 7; k <= orivel::kOffsetCount; ++k) order.push_back(OffsetBar(k));
  order.push_back(Button1);
  order.push_back(Button2);
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  orivel::pressFocusedButtonOnEnter(this);
}

// Three rows (name, address, postal code), each with an across and a down offset.
void TForm5::buildOffsetGroup(QGroupBox* group, int firstTag) {
  static const char* const kRowCaptions[3] = {"宛名", "住所", "郵便番号"};
  // Label names: Label4 .. Label9 for the addressee, Label17 .. Label22 for the sender.
  const int firstLabel = firstTag == 1 ? 4 : 17;
  for (int row = 0; row < 3; ++row) {
    const int top = 24 + 40 * row;
    auto* caption = new QLabel(QString::fromUtf8(kRowCaptions[row]), group);
    caption->setObjectName(QStringLiteral("RowCaption%1_%2").arg(firstTag).arg(row + 1));
    caption->move(8, top);
    caption->adjustSize();
    for (int down = 0; down < 2; ++down) {
      const int tag = firstTag + 2 * row + down;
      const int y = top + 16 * down;
      auto* l = new QLabel(down ? QStringLiteral("縦(0)") : QStringLiteral("横(0)"), group);
      l->setObjectName(QStringLiteral("Label%1").arg(firstLabel + tag - firstTag));
      l->move(80, y);
      l->adjustSize();
      auto* bar = new OffsetScrollBar(group);
      bar->setObjectName(QStringLiteral("ScrollBar%1").arg(tag));
      bar->setProperty("Tag", tag);
      bar->setGeometry(136, y, 97, 14);
      bar->setRange(0, 100);
      bar->setSingleStep(1);
      // A click beside the thumb moves by one as well; the thumb keeps its plain size.
      bar->setPageStep(1);
      bar->setValue(orivel::kNeutralOffset);
      connect(bar, &QScrollBar::valueChanged, this, [this, bar] { BarChange(bar); });
      bars_[static_cast<std::size_t>(tag - 1)] = bar;
      OffsetLabels[static_cast<std::size_t>(tag - 1)] = l;
    }
  }
}

QScrollBar* TForm5::OffsetBar(int k) const {
  if (k < 1 || k > orivel::kOffsetCount) return nullptr;
  return bars_[static_cast<std::size_t>(k - 1)];
}

orivel::ModalResult TForm5::ShowModal() {
  return exec() == static_cast<int>(kConfirmed) ? kConfirmed : kCancelled;
}

void TForm5::reject() {
  done(static_cast<int>(kCancelled));
}

void TForm5::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A window system's own showing (restoring from the task bar) is no new showing.
  if (!event->spontaneous()) FormShow();
}

// --- Sender texts ---

void TForm5::setNameBytes(const std::string& bytes) {
  Edit1->setBytes(bytes);
}
void TForm5::setZipBytes(const std::string& bytes) {
  Edit2->setBytes(bytes);
}
void TForm5::setAddressBytes(const std::string& bytes) {
  Edit3->setBytes(bytes);
}
void TForm5::setJoints(const std::vector<std::string>& joints) {
  joints_ = joints;
  std::string shown;
  for (const std::string& name : joints) {
    if (!shown.empty()) shown += "\x81\x41";  // 、
    shown += name;
  }
  Edit4->setBytes(shown);
}

std::string TForm5::nameBytes() const {
  return Edit1->bytes();
}
std::string TForm5::zipBytes() const {
  return Edit2->bytes();
}
std::string TForm5::addressBytes() const {
  return Edit3->bytes();
}

orivel::usertype TForm5::CurrentUser() const {
  orivel::usertype user;
  user.name = nameBytes();
  user.zip_code = zipBytes();
  user.address = addressBytes();
  user.print_own_address = CheckBox1->isChecked();
  for (int k = 1; k <= orivel::kOffsetCount; ++k)
    user.offsets[static_cast<std::size_t>(k - 1)] = OffsetBar(k)->value();
  user.kanji_digits = CheckBox2->isChecked();
  user.joints = joints_;
  const QString face = ComboBox1->currentData().toString();
  if (face != QLatin1String(orivel::kDefaultCardFace)) user.face = face.toStdString();
  return user;
}

// --- The profile ---

void TForm5::showProfile(const orivel::usertype& user) {
  showingProfile_ = true;
  setNameBytes(user.name);
  setZipBytes(user.zip_code);
  setAddressBytes(user.address);
  setJoints(user.joints);
  CheckBox1->setChecked(user.print_own_address);
  CheckBox2->setChecked(user.kanji_digits);
  showFace(user.cardFace());
  for (int k = 1; k <= orivel::kOffsetCount; ++k) OffsetBar(k)->setValue(user.offset(k));
  showingProfile_ = false;
  reportBadValues();
}

// A face the profile names that is not installed is shown by its name and kept, never
// replaced by another.
void TForm5::showFace(const std::string& face) {
  const QString family = QString::fromStdString(face);
  int index = ComboBox1->findData(family);
  if (index < 0) {
    ComboBox1->addItem(family, family);
    index = ComboBox1->count() - 1;
  }
  ComboBox1->setCurrentIndex(index);
}

void TForm5::reportBadValues() {
  const QStringList names = profiles_.takeBadValues();
  if (!names.isEmpty()) orivel::ShowInformation(this, orivel::messages::badSettings(names));
}

void TForm5::SaveProfile() {
  if (showingProfile_) return;
  if (!profiles_.save(CurrentUser())) reportSaveFailure();
}

void TForm5::reportSaveFailure() {
  if (profiles_.takeSaveFailure()) orivel::ShowError(this, orivel::messages::settingsNotSaved());
}

// --- Showing, offsets and the preview ---

void TForm5::setUserLabel(const QString& text) {
  // Sized to its text and right-aligned: the right edge stays where the layout puts it.
  Label13->setText(text);
  Label13->adjustSize();
  Label13->move(kUserLabelRight - Label13->width(), 8);
}

void TForm5::setNowUser(int nowUser) {
  if (nowUserRead_) nowUserRead_(nowUser);
}

void TForm5::showUserLabel(int nowUser) {
  std::optional<int> userName;
  if (nowUser != orivel::kNoUser) userName = orivel::ReadUserName(nowUser);
  setUserLabel(orivel::codec::toQString(orivel::UserLabelText(nowUser, userName)));
}

void TForm5::FormShow() {
  const int nowUser = orivel::ReadNowUser();
  setNowUser(nowUser);
  // Another program (orivel-cli profile use) may have made another user current. The
  // same user's profile stays as the dialog holds it, written or not.
  if (nowUser != profiles_.user()) showProfile(profiles_.load(nowUser));
  showUserLabel(nowUser);
  DrawOffsetPreview();
}

void TForm5::BarChange(QScrollBar* bar) {
  const int k = bar->property("Tag").toInt();
  if (QLabel* label = OffsetLabels.at(static_cast<std::size_t>(k - 1))) {
    label->setText(orivel::codec::toQString(orivel::OffsetLabelText(k, bar->value())));
    label->adjustSize();
  }
  DrawOffsetPreview();
  SaveProfile();
}

void TForm5::DrawOffsetPreview() {
  QImage& picture = Image1->canvas();
  QPainter p(&picture);
  p.fillRect(picture.rect(), Qt::white);
  // The picture's own default font, black on the white brush.
  p.setFont(orivel::fonts::proportionalGothic(12));
  p.setPen(Qt::black);
  p.setBackground(Qt::white);
  p.setBackgroundMode(Qt::OpaqueMode);
  std::array<int, orivel::kOffsetCount> positions{};
  for (int k = 1; k <= orivel::kOffsetCount; ++k)
    positions[static_cast<std::size_t>(k - 1)] = OffsetBar(k)->value();
  for (const orivel::PreviewText& t : orivel::PreviewTexts(positions)) {
    const QString text = orivel::codec::toQString(t.text);
    p.drawText(QPoint(t.x, t.y + p.fontMetrics().ascent()), text);
  }
  p.end();
  Image1->update();
}

void TForm5::ResetOffsets(orivel::OffsetGroups groups) {
  // Bar by bar in Tag order; each bar that moves updates its label and the preview.
  for (int k = 1; k <= orivel::kOffsetCount; ++k)
    if (orivel::ResetTouches(groups, k)) OffsetBar(k)->setValue(orivel::kNeutralOffset);
}

// --- Commands ---

void TForm5::Button1Click() {
  done(static_cast<int>(kConfirmed));
}

void TForm5::Button4Click() {
  ResetOffsets(orivel::OffsetGroups::Addressee);
}

void TForm5::Button5Click() {
  ResetOffsets(orivel::OffsetGroups::Sender);
}

void TForm5::N7Click() {
  // The card prints at once: the spare postcard must be in the printer first.
  if (!orivel::AskYes(this, orivel::messages::loadCalibrationCard())) return;
  QString reason;
  if (!printCalibration_ || !printCalibration_(&reason)) {
    orivel::ShowError(this, orivel::messages::printFailed(reason));
    return;
  }
  orivel::CalibrationDialog dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyCalibration(dialog.addresseeShift(), dialog.senderShift());
}

void TForm5::ApplyCalibration(orivel::PrintedShift addressee, orivel::PrintedShift sender) {
  orivel::usertype user = CurrentUser();
  orivel::ApplyPrintedShift(user, orivel::ShiftedBlocks::Addressee, addressee);
  orivel::ApplyPrintedShift(user, orivel::ShiftedBlocks::Sender, sender);
  for (int k = 1; k <= orivel::kOffsetCount; ++k) OffsetBar(k)->setValue(user.offset(k));
}

void TForm5::SpeedButton1Click() {
  StepUser(-1);
}

void TForm5::SpeedButton2Click() {
  StepUser(+1);
}

void TForm5::SpeedButton5Click() {
  AddUser();
}

void TForm5::StepUser(int step) {
  const std::optional<int> count = orivel::ReadUserCounts().count;
  if (!count) return;
  const std::optional<int> user = orivel::SteppedUser(profiles_.user(), *count, step);
  if (!user) return;
  // When now_user cannot be written the switch holds for this run only.
  const bool written = profiles_.switchTo(*user);
  setNowUser(*user);
  showProfile(profiles_.settings());
  showUserLabel(*user);
  if (!written) reportSaveFailure();
}

bool TForm5::editSender() {
  editor_.setHonorificShown(false);
  const orivel::ModalResult result = editor_.ShowModal();
  editor_.setHonorificShown(true);
  return result == kConfirmed;
}

void TForm5::Button3Click() {
  editor_.Prepare(orivel::CategoryBoxes::Disable, orivel::CategoryChecks::Uncheck,
                  orivel::EntryTexts::Keep);
  editor_.setNameBytes(nameBytes());
  editor_.setZipBytes(zipBytes());
  editor_.setAddressBytes(addressBytes());
  editor_.setJointNames(joints_);
  if (!editSender()) return;
  setNameBytes(editor_.nameBytes());
  setAddressBytes(editor_.addressBytes());
  setZipBytes(editor_.zipBytes());
  setJoints(editor_.jointNames());
  SaveProfile();
}

void TForm5::AddUser() {
  const orivel::UserCounts counts = orivel::ReadUserCounts();
  switch (orivel::CheckUserAddition(counts.count, counts.max)) {
    case orivel::UserAddition::Unreadable:
      orivel::ShowError(this, orivel::messages::userUnreadable());
      return;
    case orivel::UserAddition::LimitReached:
      orivel::ShowInformation(this, orivel::messages::userLimitReached());
      return;
    case orivel::UserAddition::Allowed:
      break;
  }

  editor_.Prepare(orivel::CategoryBoxes::Disable, orivel::CategoryChecks::Uncheck,
                  orivel::EntryTexts::Clear);
  if (!editSender()) return;

  // The new sender with the offsets at 50 becomes the new user's profile; the profile the
  // dialog held so far keeps what it had.
  showingProfile_ = true;
  setNameBytes(editor_.nameBytes());
  setZipBytes(editor_.zipBytes());
  setAddressBytes(editor_.addressBytes());
  setJoints(editor_.jointNames());
  ResetOffsets(orivel::OffsetGroups::Both);
  showingProfile_ = false;
  if (!profiles_.add(*counts.count, CurrentUser())) {
    reportSaveFailure();
    return;
  }
  // The dialog now edits the new user's profile, so it names that user at once.
  setNowUser(profiles_.user());
  showUserLabel(profiles_.user());
}
