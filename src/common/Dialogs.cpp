#include "common/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStringList>

namespace orivel {
namespace {

class RealDialogs final : public DialogSeam {
 public:
  Answer message(QWidget* parent, MessageKind kind, const QString& text) override {
    QMessageBox box(parent);
    box.setWindowTitle(titleOf(kind));
    box.setText(text);
    switch (kind) {
      case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
      case MessageKind::Question:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
      case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    // QMessageBox fixes its own size when shown, from its layout's minimum width: a spacer
    // across the layout's last row raises that minimum to what the title needs.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
      grid->addItem(new QSpacerItem(titleBarWidth(box.windowTitle()), 0, QSizePolicy::Minimum,
                                    QSizePolicy::Minimum),
                    grid->rowCount(), 0, 1, grid->columnCount());
    }
    const int r = box.exec();
    if (kind != MessageKind::Question) return Answer::Ok;
    return r == QMessageBox::Yes ? Answer::Yes : Answer::No;
  }

  QString openFileName(QWidget* parent, const QString& filter, const QString& start) override {
    // The dialog accepts a name of a file that does not exist; the caller checks it.
    QFileDialog dlg(parent);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setNameFilter(qtFilter(filter));
    if (!start.isEmpty()) dlg.selectFile(start);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().first();
  }

  QString saveFileName(QWidget* parent, const QString& filter, const QString& start) override {
    // No extension is added, and the command asks before it overwrites another file.
    QFileDialog dlg(parent);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    dlg.setNameFilter(qtFilter(filter));
    if (!start.isEmpty()) dlg.selectFile(start);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().first();
  }
};

RealDialogs realDialogs;
DialogSeam* current = nullptr;

}  // namespace

QString titleOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error:
      return QStringLiteral("ＥＲＲＯＲ");
    case MessageKind::Question:
      return QStringLiteral("Ｃｏｎｆｉｒｍａｔｉｏｎ");
    case MessageKind::Information:
      return QStringLiteral("Ｉｎｆｏｒｍａｔｉｏｎ");
  }
  return {};
}

int titleBarWidth(const QString& title) {
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  constexpr double kMinimumPoints = 11;
  if (font.pointSizeF() > 0 && font.pointSizeF() < kMinimumPoints) {
    font.setPointSizeF(kMinimumPoints);
  }
  // The window icon and the minimize, maximize and close buttons, with the bar's padding.
  constexpr int kDecoration = 4 * 32 + 2 * 16;
  return QFontMetrics(font).horizontalAdvance(title) + kDecoration;
}

DialogSeam& dialogs() {
  return current ? *current : realDialogs;
}
void setDialogs(DialogSeam* seam) {
  current = seam;
}

void ShowError(QWidget* parent, const QString& text) {
  dialogs().message(parent, MessageKind::Error, text);
}

void ShowInformation(QWidget* parent, const QString& text) {
  dialogs().message(parent, MessageKind::Information, text);
}

bool AskYes(QWidget* parent, const QString& text) {
  return dialogs().message(parent, MessageKind::Question, text) == Answer::Yes;
}

QString qtFilter(const QString& pipeFilter) {
  const QStringList parts = pipeFilter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString caption = parts[i];
    const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt reads the patterns from the last parentheses of the caption.
    const qsizetype open = caption.lastIndexOf(QLatin1Char('('));
    if (open >= 0) caption.truncate(open);
    filters << QStringLiteral("%1 (%2)").arg(caption, patterns);
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace orivel
