// What any Qt program pays to write a PDF: start Qt Gui on the offscreen platform and draw
// Japanese text into a QPdfWriter. cli_print_bench.sh times orivel-cli against it:
//   pdf_floor OUT.pdf           one line of Japanese on one page
//   pdf_floor OUT.pdf PAGES     PAGES pages, each with the text of one of the benchmark's
//                               cards (name, postal code, address and sender, as many
//                               characters in as many sizes), drawn by Qt's own text layout
#include <QFont>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

namespace {

void drawCard(QPainter& painter, int i) {
  static const QStringList families = {QStringLiteral("山田"), QStringLiteral("佐藤"),
                                       QStringLiteral("鈴木"), QStringLiteral("高橋"),
                                       QStringLiteral("田中"), QStringLiteral("伊藤")};
  static const QStringList given = {QStringLiteral("太郎"), QStringLiteral("花子"),
                                    QStringLiteral("一郎"), QStringLiteral("美咲")};
  QFont font(QStringLiteral("IPAPMincho"));
  const auto line = [&](int size, QPointF at, const QString& text) {
    font.setPixelSize(size);
    painter.setFont(font);
    painter.drawText(at, text);
  };
  line(
      48, QPointF(100, 60),
      families[i % families.size()] + u'　' + given[i / 6 % given.size()] + QStringLiteral("　様"));
  line(27, QPointF(100, 100), QStringLiteral("１%1－%2").arg(i % 90 + 10).arg(i * 37 % 10000));
  line(21, QPointF(100, 130),
       QStringLiteral("東京都千代田区丸の内一丁目%1－%2").arg(i % 9 + 1).arg(i % 7 + 1));
  line(21, QPointF(100, 160),
       QStringLiteral("ＡＢＣビル%1階　%2号室").arg(i % 30 + 1).arg(i + 100));
  if (i % 3 == 0) line(48, QPointF(100, 200), QStringLiteral("花子　様　翔太　くん"));
  line(29, QPointF(100, 240), QStringLiteral("山田　一郎"));
  line(12, QPointF(100, 260), QStringLiteral("東京都千代田区千代田一丁目一－一"));
  line(12, QPointF(100, 275), QStringLiteral("千代田ハイツ２０１号"));
  line(16, QPointF(100, 295), QStringLiteral("１００００１"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) return 2;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
  pdf.setPageSize(QPageSize(QSizeF(148, 110), QPageSize::Millimeter));
  QPainter painter(&pdf);
  if (argc == 2) {
    QFont font(QStringLiteral("IPAPMincho"));
    font.setPixelSize(200);
    painter.setFont(font);
    painter.drawText(QPointF(300, 600), QStringLiteral("山田　太郎　様"));
    return painter.end() ? 0 : 1;
  }
  pdf.setResolution(96);
  const int pages = QString::fromLocal8Bit(argv[2]).toInt();
  for (int i = 0; i < pages; ++i) {
    if (i > 0) pdf.newPage();
    drawCard(painter, i);
  }
  return painter.end() ? 0 : 1;
}
