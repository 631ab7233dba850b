#include "app/TForm1.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <utility>

#include "app/SpeedButtonIcons.h"
#include "book/AddressListModel.h"
#include "book/CheckListBox.h"
#include "common/Dialogs.h"
#include "common/EnterKey.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "postal/PostalService.h"
#include "settings/SenderProfiles.h"

namespace {

const char* const kSpeedButtonTips[9] = {
    "年賀状",   "暑中見舞い",       "バースデー",       "クリスマス",      "その他１",
    "その他２", "全てチェックオン", "全てチェックオフ", "チェック入れ替え"};
const char* const kSelectMenuTexts[9] = {
    "年賀状",   "暑中見舞い",       "バースデー",       "クリスマス",        "その他１",
    "その他２", "全てチェックオン", "全てチェックオフ", "チェックの入れ替え"};
constexpr int kSpeedButtonLeft[9] = {104, 128, 152, 176, 200, 224, 256, 280, 312};

}  // namespace

TForm1::TForm1(orivel::postal::PostalService& postal, QWidget* parent)
    : QMainWindow(parent), Postal(&postal) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Form1"));
  // Fixed single border: system menu and minimise box, no maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(orivel::fonts::proportionalGothic(12));
  buildControls();
  buildMenus();
  orivel::pressFocusedButtonOnEnter(this);
  // Fixed single border: the window keeps the size of its menu bar and client area.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  move(199, 134);
  FormCreate();
}

TForm1::~TForm1() {
  // The list model watches Book, a member that dies before the window's children do.
  CheckListBox1->setModel(nullptr);
  delete model_;
}

void TForm1::setLinks(Links links) {
  links_ = std::move(links);
}

void TForm1::buildControls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(480, 231);
  setCentralWidget(client);

  Panel1 = new QFrame(client);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameShape(QFrame::Panel);
  Panel1->setFrameShadow(QFrame::Raised);
  Panel1->setGeometry(0, 0, 480, 32);

  Label1 = new QLabel(QStringLiteral("オリベル"), Panel1);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(orivel::fonts::proportionalGothic(16));
  Label1->setAlignment(Qt::AlignCenter);
  Label1->move(8, 8);
  Label1->adjustSize();

  for (int i = 0; i < 9; ++i) {
    auto* b = new QToolButton(Panel1);
    b->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
    b->setGeometry(kSpeedButtonLeft[i], 4, 25, 25);
    b->setIconSize(QSize(24, 24));
    b->setIcon(orivel::speedButtonIcon(i + 1));
    b->setToolTip(QString::fromUtf8(kSpeedButtonTips[i]));
    const auto command = static_cast<orivel::CheckCommand>(i + 1);
    connect(b, &QToolButton::clicked, this, [this, command] { SelectChecks(command); });
    SpeedButtons[static_cast<std::size_t>(i)] = b;
  }

  auto button = [&](const char* name, const QString& text, int x, int y) {
    auto* b = new QPushButton(text, client);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, y, 113, 41);
    return b;
  };
  Button1 = button("Button1", QStringLiteral("プレビュー"), 8, 40);
  Button2 = button("Button2", QStringLiteral("印刷"), 8, 88);
  Button3 = button("Button3", QStringLiteral("削除"), 8, 136);
  Button4 = button("Button4", QStringLiteral("新規追加"), 8, 184);
  Button5 = button("Button5", QStringLiteral("インポート"), 128, 40);
  Button6 = button("Button6", QStringLiteral("エクスポート"), 128, 88);
  Button7 = button("Button7", QStringLiteral("住所確認"), 128, 136);
  Button8 = button("Button8", QStringLiteral("設定"), 128, 184);
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm1::DeleteSelectedEntry);
  connect(Button4, &QPushButton::clicked, this, &TForm1::AddEntry);
  connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
  connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
  connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
  connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);

  CheckListBox1 = new orivel::CheckListBox(client);
  CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
  CheckListBox1->setFont(orivel::fonts::fixedGothic(12));
  CheckListBox1->setGeometry(248, 40, 225, 185);
  model_ = new orivel::AddressListModel(Book, this);
  CheckListBox1->setModel(model_);
  connect(model_, &QAbstractItemModel::modelReset, this, &TForm1::refreshFindings);
  connect(model_, &QAbstractItemModel::rowsInserted, this, &TForm1::refreshFindings);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &TForm1::refreshFindings);
  connect(model_, &QAbstractItemModel::dataChanged, this, &TForm1::refreshFindings);
  connect(model_, &QAbstractItemModel::modelReset, this, &TForm1::refreshSeasonRecord);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &TForm1::refreshSeasonRecord);
  connect(model_, &QAbstractItemModel::rowsInserted, this, &TForm1::refreshSeasonRecord);
  connect(model_, &QAbstractItemModel::dataChanged, this, &TForm1::refreshSeasonRecord);
  connect(CheckListBox1, &orivel::CheckListBox::deletePressed, this, &TForm1::DeleteSelectedEntry);
  connect(CheckListBox1, &QListView::doubleClicked, this, [this] { ChangeSelectedEntry(); });
}

void TForm1::buildMenus() {
  auto action = [&](QMenu* menu, const char* name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    return a;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル"));
  N1 = action(file, "N1", QStringLiteral("保存"));
  N2 = action(file, "N2", QStringLiteral("読み込み"));
  N3 = action(file, "N3", QStringLiteral("インポート"));
  N4 = action(file, "N4", QStringLiteral("エクスポート"));
  connect(N1, &QAction::triggered, this, &TForm1::N1Click);
  connect(N2, &QAction::triggered, this, &TForm1::N2Click);
  connect(N3, &QAction::triggered, this, &TForm1::Button5Click);
  connect(N4, &QAction::triggered, this, &TForm1::Button6Click);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("編集"));
  N5 = action(edit, "N5", QStringLiteral("新規追加"));
  connect(N5, &QAction::triggered, this, &TForm1::AddEntry);
  QMenu* select = edit->addMenu(QStringLiteral("セレクト"));
  select->menuAction()->setObjectName(QStringLiteral("N7"));
  for (int i = 0; i < 9; ++i) {
    const QByteArray name = QByteArray("N") + QByteArray::number(8 + i);
    QAction* a = action(select, name.constData(), QString::fromUtf8(kSelectMenuTexts[i]));
    const auto command = static_cast<orivel::CheckCommand>(i + 1);
    connect(a, &QAction::triggered, this, [this, command] { SelectChecks(command); });
    SelectActions[static_cast<std::size_t>(i)] = a;
  }
  // The selections of the season record, after the nine check commands.
  select->addSeparator();
  const std::pair<const char*, orivel::SeasonSelection> seasonSelections[] = {
      {"今年の年賀状", orivel::SeasonSelection::ToSend},
      {"返事が必要", orivel::SeasonSelection::ToAnswer},
      {"喪中の方", orivel::SeasonSelection::Mourning},
  };
  for (std::size_t i = 0; i < SeasonSelectActions.size(); ++i) {
    const auto [text, selection] = seasonSelections[i];
    const QByteArray name = QByteArray("SeasonSelect") + QByteArray::number(int(i) + 1);
    QAction* a = action(select, name.constData(), QString::fromUtf8(text));
    connect(a, &QAction::triggered, this, [this, selection] { SelectSeason(selection); });
    SeasonSelectActions[i] = a;
  }
  AddressCheck1 = action(edit, "AddressCheck1", QStringLiteral("住所確認"));
  connect(AddressCheck1, &QAction::triggered, this, &TForm1::Button7Click);
  SeasonRecord1 = action(edit, "SeasonRecord1", QStringLiteral("送受履歴"));
  connect(SeasonRecord1, &QAction::triggered, this, &TForm1::SeasonRecord1Click);

  QMenu* print = menuBar()->addMenu(QStringLiteral("印刷"));
  N6 = action(print, "N6", QStringLiteral("全て印刷"));
  connect(N6, &QAction::triggered, this, &TForm1::Button2Click);

  // The keys a keyboard user expects, shown in the menus beside the commands. プレビュー has
  // no menu item: its key is the window's own, named in the button's tip.
  N2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  N1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  N6->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  auto* preview = new QAction(this);
  preview->setObjectName(QStringLiteral("PreviewShortcut"));
  preview->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  connect(preview, &QAction::triggered, this, &TForm1::Button1Click);
  addAction(preview);
  Button1->setToolTip(QStringLiteral("プレビュー (%1)")
                          .arg(preview->shortcut().toString(QKeySequence::NativeText)));
  Button2->setToolTip(
      QStringLiteral("印刷 (%1)").arg(N6->shortcut().toString(QKeySequence::NativeText)));
  // F10 opens the menu bar's first menu, as on other desktops.
  auto* menuKey = new QAction(this);
  menuKey->setObjectName(QStringLiteral("MenuBarShortcut"));
  menuKey->setShortcut(QKeySequence(Qt::Key_F10));
  connect(menuKey, &QAction::triggered, this, [this] {
    menuBar()->setFocus(Qt::ShortcutFocusReason);
    menuBar()->setActiveAction(menuBar()->actions().value(0));
  });
  addAction(menuKey);

  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ"));
  About1 = action(help, "About1", QStringLiteral("バージョン情報"));
  connect(About1, &QAction::triggered, this, &TForm1::About1Click);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  N18 = action(PopupMenu1, "N18", QStringLiteral("チェック"));
  Delete2 = action(PopupMenu1, "Delete2", QStringLiteral("削除"));
  Delete1 = action(PopupMenu1, "Delete1", QStringLiteral("変更"));
  connect(N18, &QAction::triggered, this, &TForm1::N18Click);
  connect(Delete2, &QAction::triggered, this, &TForm1::DeleteSelectedEntry);
  connect(Delete1, &QAction::triggered, this, &TForm1::ChangeSelectedEntry);
  connect(CheckListBox1, &orivel::CheckListBox::popupRequested, this,
          [this](const QPoint& pos) { PopupMenu1->popup(pos); });
}

void TForm1::FormCreate() {
  Modified = false;
  // A missing store, or one without a readable now_user, has no current user.
  NowUser = orivel::ReadNowUser();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (Modified && !orivel::AskYes(this, orivel::messages::bookChangedQuit())) {
    event->ignore();
    return;
  }
  event->accept();
}

bool TForm1::editEntry(orivel::CategoryChecks checks, orivel::EntryTexts texts,
                       const datatype* from, datatype* result) {
  orivel::EntryEditor& editor = *links_.editor;
  editor.Prepare(orivel::CategoryBoxes::Enable, checks, texts);
  if (from) editor.fillFrom(*from);
  if (editor.ShowModal() != orivel::ModalResult::Confirmed) return false;
  *result = editor.entry();
  return true;
}

void TForm1::AddEntry() {
  if (Book.isFull()) {
    orivel::ShowError(this, orivel::messages::bookFull());
    return;
  }
  datatype entry;
  if (!editEntry(orivel::CategoryChecks::Uncheck, orivel::EntryTexts::Clear, nullptr, &entry))
    return;
  if (Book.append(entry)) Modified = true;
}

void TForm1::ChangeSelectedEntry() {
  const int i = CheckListBox1->ItemIndex();
  if (i < 0) return;
  const datatype current = Book.entry(i);
  datatype entry;
  if (!editEntry(orivel::CategoryChecks::Keep, orivel::EntryTexts::Keep, &current, &entry)) return;
  entry.history = current.history;  // the editor has no boxes for it
  Book.replace(i, entry);
  CheckListBox1->setItemIndex(i);
  Modified = true;
}

void TForm1::DeleteSelectedEntry() {
  const int i = CheckListBox1->ItemIndex();
  if (i < 0) return;
  if (!orivel::AskYes(this, orivel::messages::confirmDelete())) return;
  Book.remove(i);
  Modified = true;
}

void TForm1::ClearBook() {
  Book.clear();
}

void TForm1::SelectChecks(orivel::CheckCommand command) {
  Book.SelectChecks(command);
}

void TForm1::N18Click() {
  const int i = CheckListBox1->ItemIndex();
  if (i >= 0) Book.setChecked(i, true);
}

void TForm1::About1Click() {
  links_.showAbout();
}
