#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "book/AddressBook.h"
#include "book/EntryEditor.h"
#include "common/Messages.h"
#include "exchange/ForeignBook.h"
#include "files/Func.h"
#include "print/PostcardReport.h"
#include "print/PrintService.h"
#include "settings/SenderSettings.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace orivel {
class AddressListModel;
class CheckListBox;
class FindingsWindow;
class SeasonWindow;
namespace postal {
class PostalService;
}
}  // namespace orivel

// The main window. It owns the address book, the current user number and the book's
// modified flag; the composition root hands them to the windows that use them.
class TForm1 final : public QMainWindow {
  Q_OBJECT
 public:
  using datatype = orivel::datatype;

  // What the main window's commands use besides the book, wired at start-up.
  struct Links {
    orivel::EntryEditor* editor = nullptr;       // add and change
    orivel::SenderSettings* settings = nullptr;  // the sender settings and their dialog
    orivel::PostcardReport* report = nullptr;    // the composed card, preview
    orivel::PrintService* printing = nullptr;    // every print goes through it
    orivel::PrintSink* printer = nullptr;        // where the print command sends its jobs
    std::function<void()> showAbout;             // the about box
  };

  static inline const QString kBookFilter = orivel::messages::bookFileFilter();

  explicit TForm1(orivel::postal::PostalService& postal, QWidget* parent = nullptr);
  ~TForm1() override;
  void setLinks(Links links);
  void setPrinter(orivel::PrintSink* printer) { links_.printer = printer; }

  // State owned by the main window.
  int PreviewIndex = 0;
  int NowUser = -1;
  bool Modified = false;
  // The book's own file: the one it was last loaded from or saved to; empty before either.
  // 保存 overwrites it without asking, and both file dialogs start there.
  QString BookFile;
  orivel::AddressBook Book;
  orivel::StringGrid StringGrid1;  // the CSV import's work area, never shown

  // Address book commands.
  void AddEntry();
  void ChangeSelectedEntry();
  void DeleteSelectedEntry();
  void ClearBook();

  // Check commands.
  void SelectChecks(orivel::CheckCommand command);
  void N18Click();

  // File commands.
  void N1Click();  // 保存
  void N2Click();  // 読み込み
  // The rest of 読み込み for a path chosen elsewhere (the command line): load, then clear
  // Modified or say "読み込みに失敗しました。".
  void OpenBookFile(const QString& path);
  void OpenBookFile(const std::filesystem::path& path);
  bool SaveBookFile(const QString& path);
  bool LoadBookFile(const QString& path);
  bool LoadBookFile(const std::filesystem::path& path);
  void Button5Click();  // インポート
  void ImportCsv();
  // The meanings of a CSV file's columns, asked in the mapping window; nullopt when the user
  // cancels. Tests answer in its place with setColumnMeaningsAnswer.
  std::optional<std::vector<orivel::ColumnMeaning>> AskColumnMeanings(
      const orivel::CsvPreview& preview);
  using ColumnMeaningsAnswer =
      std::function<std::optional<std::vector<orivel::ColumnMeaning>>(const orivel::CsvPreview&)>;
  void setColumnMeaningsAnswer(ColumnMeaningsAnswer answer) {
    askColumnMeanings_ = std::move(answer);
  }
  static constexpr int kMappingPreviewRows = 5;
  static bool ParseCsvFlag(const std::string& text);

  // CSV export and the address check.
  void Button6Click();  // エクスポート
  void Button7Click();  // 住所確認
  // Opens the entry editor for a line of the book, as 変更 does for the selected line.
  void EditLine(int line);
  orivel::postal::PostalService* Postal;  // the postal code dictionary in use
  orivel::FindingsWindow* FindingsWindow1 = nullptr;

  // The season record: its window (編集 → 送受履歴) and the selections it allows.
  void SeasonRecord1Click();
  void SelectSeason(orivel::SeasonSelection selection);
  orivel::SeasonWindow* SeasonWindow1 = nullptr;

  // Postcards.
  void SetupPostcard(int row);
  void Button1Click();  // プレビュー
  void Button2Click();  // 印刷

  // Settings and about box.
  void Button8Click();
  void About1Click();

  void FormCreate();

  // Controls, by their layout names.
  QFrame* Panel1;
  QLabel* Label1;
  std::array<QToolButton*, 9> SpeedButtons{};  // SpeedButton1 .. SpeedButton9
  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* Button3;
  QPushButton* Button4;
  QPushButton* Button5;
  QPushButton* Button6;
  QPushButton* Button7;
  QPushButton* Button8;
  orivel::CheckListBox* CheckListBox1;
  QMenu* PopupMenu1;
  QAction* N1;
  QAction* N2;
  QAction* N3;
  QAction* N4;
  QAction* N5;
  QAction* N6;
  QAction* AddressCheck1;                         // 編集 → 住所確認
  std::array<QAction*, 9> SelectActions{};        // N8 .. N16
  std::array<QAction*, 3> SeasonSelectActions{};  // 今年の年賀状, 返事が必要, 喪中の方
  QAction* SeasonRecord1;                         // 編集 → 送受履歴
  QAction* About1;
  QAction* N18;
  QAction* Delete2;
  QAction* Delete1;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void buildMenus();
  // Entry editor round trip shared by add and change: true when confirmed.
  bool editEntry(orivel::CategoryChecks checks, orivel::EntryTexts texts, const datatype* from,
                 datatype* result);
  // Checks the book again for the findings window while it is shown: its rows name lines
  // by number, which an added, removed, edited or loaded entry would make wrong.
  void refreshFindings();
  void refreshSeasonRecord();

  orivel::AddressListModel* model_;
  Links links_;
  ColumnMeaningsAnswer askColumnMeanings_;
};
