// The vertical typesetter: one card's six blocks, one card to an image, a run of cards
// into one PDF. Run with --write-sample=DIR to write a sample card as card.png and card.pdf
// instead of measuring.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <array>
#include <cstring>

#include "print/VerticalTypesetter.h"

namespace {

using orivel::VerticalBlock;
using orivel::VerticalTypesetter;

// The card's blocks at their neutral places, with their face heights.
const QRectF kName(112, 144, 402, 57);
const QRectF kAddress(104, 64, 361, 65);
const QRectF kZipCode(54, 30, 33, 209);
const QRectF kSenderName(296, 304, 177, 33);
const QRectF kSenderAddress(224, 272, 249, 25);
const QRectF kSenderZipCode(476, 250, 17, 121);

QString nameOf(int i) {
  static const std::array<const char*, 15> families = {"山田", "佐藤", "鈴木", "高橋", "田中",
                                                       "伊藤", "渡辺", "中村", "小林", "加藤",
                                                       "吉田", "山口", "松本", "井上", "木村"};
  static const std::array<const char*, 20> given = {
      "太郎", "花子", "一郎", "次郎", "美咲", "陽菜",   "大輔",   "翔太",   "さくら", "ゆうこ",
      "健一", "直樹", "由美", "恵子", "和也", "真由美", "ケンジ", "リョウ", "誠",     "愛"};
  const auto f = static_cast<std::size_t>(i) % families.size();
  const auto g = static_cast<std::size_t>(i) / families.size() % given.size();
  return QString::fromUtf8(families[f]) + QString::fromUtf8(given[g]) + QStringLiteral("　様");
}

std::array<VerticalBlock, 6> cardOf(int i) {
  return {{
      {kName, nameOf(i), 48},
      {kAddress,
       QStringLiteral("東京都千代田区丸の内一丁目%1ー２\r\n　　　　ABC Bldg ５階")
           .arg(QChar(u'１' + i % 9)),
       21},
      {kZipCode, QStringLiteral("５０００００１"), 27},
      {kSenderName, QStringLiteral("鈴木一郎"), 29},
      {kSenderAddress, QStringLiteral("大阪府大阪市北区梅田三ー一ー三"), 16},
      {kSenderZipCode, QStringLiteral("１０００３５０"), 16},
  }};
}

void drawCard(VerticalTypesetter& typesetter, QPainter& painter, int i) {
  for (const VerticalBlock& block : cardOf(i)) typesetter.draw(painter, block);
}

long residentKb() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  return fields.size() > 1 ? fields[1].toLong() * 4 : 0;
}

QPageLayout cardPage() {
  return QPageLayout(QPageSize(QSizeF(148, 110), QPageSize::Millimeter), QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0));
}

// Lays out one card's six blocks; the texts were shaped before.
void BM_TypesetCard(benchmark::State& state) {
  VerticalTypesetter typesetter;
  const auto card = cardOf(0);
  for (auto _ : state)
    for (const VerticalBlock& block : card) benchmark::DoNotOptimize(typesetter.layout(block));
}
BENCHMARK(BM_TypesetCard);

// Lays out cards whose names and addresses were never seen: shaping included.
void BM_TypesetNewCard(benchmark::State& state) {
  VerticalTypesetter typesetter;
  int i = 0;
  for (auto _ : state) {
    auto card = cardOf(i);
    card[0].text += QString::number(i);
    card[1].text += QString::number(i);
    ++i;
    for (const VerticalBlock& block : card) benchmark::DoNotOptimize(typesetter.layout(block));
  }
}
BENCHMARK(BM_TypesetNewCard);

// Draws one card on a 96 dpi image of the whole page.
void BM_RenderCardToImage(benchmark::State& state) {
  VerticalTypesetter typesetter;
  QImage image(559, 416, QImage::Format_ARGB32_Premultiplied);
  int i = 0;
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    drawCard(typesetter, painter, i++ % 300);
  }
}
BENCHMARK(BM_RenderCardToImage);

// Writes 300 cards with 300 names into one PDF, one page each, with a fresh typesetter.
// The resident size is taken after the first card of all and after the last.
void BM_Render300CardsToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("cards.pdf"));
  constexpr int kCards = 300;
  long rssFirst = 0, rssLast = 0;
  QElapsedTimer elapsed;
  elapsed.start();
  for (auto _ : state) {
    VerticalTypesetter typesetter;
    QPdfWriter writer(path);
    writer.setPageLayout(cardPage());
    writer.setResolution(96);
    QPainter painter(&writer);
    painter.setPen(Qt::black);
    for (int i = 0; i < kCards; ++i) {
      if (i > 0) writer.newPage();
      drawCard(typesetter, painter, i);
      if (rssFirst == 0) rssFirst = residentKb();
    }
    painter.end();
    rssLast = residentKb();
  }
  state.SetItemsProcessed(state.iterations() * kCards);
  state.counters["card_ms"] = static_cast<double>(elapsed.nsecsElapsed()) / 1e6 /
                              static_cast<double>(state.iterations() * kCards);
  state.counters["rss_first_card_kb"] = static_cast<double>(rssFirst);
  state.counters["rss_last_card_kb"] = static_cast<double>(rssLast);
  state.counters["pdf_kb"] = static_cast<double>(QFile(path).size()) / 1024;
}
BENCHMARK(BM_Render300CardsToPdf)->Unit(benchmark::kMillisecond);

// The same 300 pages left empty: what the PDF writer costs by itself.
void BM_Write300EmptyPagesToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("empty.pdf"));
  for (auto _ : state) {
    QPdfWriter writer(path);
    writer.setPageLayout(cardPage());
    writer.setResolution(96);
    QPainter painter(&writer);
    for (int i = 1; i < 300; ++i) writer.newPage();
  }
  state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(BM_Write300EmptyPagesToPdf)->Unit(benchmark::kMillisecond);

int writeSample(const QString& dirPath) {
  QDir().mkpath(dirPath);
  VerticalTypesetter typesetter;
  QImage image(559, 416, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The blocks' outlines, to see where the text falls.
    painter.setPen(QColor(200, 200, 255));
    for (const VerticalBlock& block : cardOf(0)) painter.drawRect(block.rect);
    painter.setPen(Qt::black);
    drawCard(typesetter, painter, 0);
  }
  if (!image.save(QDir(dirPath).filePath(QStringLiteral("card.png")))) return 1;

  QPdfWriter writer(QDir(dirPath).filePath(QStringLiteral("card.pdf")));
  writer.setPageLayout(cardPage());
  writer.setResolution(96);
  QPainter painter(&writer);
  painter.setPen(Qt::black);
  drawCard(typesetter, painter, 0);
  return painter.end() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  for (int i = 1; i < argc; ++i) {
    constexpr const char* kSample = "--write-sample=";
    if (std::strncmp(argv[i], kSample, std::strlen(kSample)) == 0)
      return writeSample(QString::fromLocal8Bit(argv[i] + std::strlen(kSample)));
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
