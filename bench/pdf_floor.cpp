// What any Qt program pays to write a PDF: start Qt Gui on the offscreen platform and draw
// one line of Japanese text into a QPdfWriter. cli_print_bench.sh times orivel-cli against
// it: pdf_floor OUT.pdf
#include <QFont>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
  pdf.setPageSize(QPageSize(QSizeF(148, 110), QPageSize::Millimeter));
  QPainter painter(&pdf);
  QFont font(QStringLiteral("IPAPMincho"));
  font.setPixelSize(200);
  painter.setFont(font);
  painter.drawText(QPointF(300, 600), QStringLiteral("山田　太郎　様"));
  return painter.end() ? 0 : 1;
}
