#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Runs orivel-cli as a process of its own, the way a script would.
namespace orivel::test {

struct CliRun {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;

  QString errText() const { return QString::fromUtf8(err); }
  QString outText() const { return QString::fromUtf8(out); }
};

// The caller's environment without a display and without a chosen Qt platform, as on a
// server.
inline QProcessEnvironment headlessEnvironment() {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  return env;
}

// Runs orivel-cli, or `program` (a shell that runs it) with `args`.
inline CliRun runCli(const QStringList& args,
                     const QProcessEnvironment& env = headlessEnvironment(),
                     const QString& program = QStringLiteral(ORIVEL_CLI)) {
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(program, args);
  CliRun run;
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    ADD_FAILURE() << "orivel-cli did not finish: " << args.join(u' ').toStdString();
    return run;
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

inline QString dataFile(const char* name) {
  return QStringLiteral(ORIVEL_TEST_DATA "/") + QString::fromUtf8(name);
}

inline QString runTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(30000)) return QStringLiteral("<%1 did not finish>").arg(program);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The number of pages of a PDF and its first page's size in points, read with pdfinfo.
struct PdfInfo {
  int pages = -1;
  double width = 0;
  double height = 0;
};

inline PdfInfo pdfInfo(const QString& path) {
  const QString info = runTool(QStringLiteral("pdfinfo"), {path});
  PdfInfo result;
  const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  if (pages.hasMatch()) result.pages = pages.captured(1).toInt();
  const auto size =
      QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
  if (size.hasMatch()) {
    result.width = size.captured(1).toDouble();
    result.height = size.captured(2).toDouble();
  }
  return result;
}

// The text of one page, 1-based.
inline QString pdfPageText(const QString& path, int page) {
  return runTool(QStringLiteral("pdftotext"),
                 {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                  QString::number(page), path, QStringLiteral("-")});
}

// A wrong command line: exit 2, nothing on standard output, and on standard error two lines,
// what is wrong said by `command` ("orivel-cli print"), and where its usage is told.
inline void expectUsageError(const CliRun& run, const QString& command, const QString& trace) {
  SCOPED_TRACE(trace.toStdString());
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
  const QStringList lines = run.errText().split(u'\n');
  ASSERT_EQ(lines.size(), 3) << run.err.toStdString();  // two lines, each ended
  EXPECT_TRUE(lines[0].startsWith(command + QStringLiteral(": "))) << run.err.toStdString();
  EXPECT_GT(lines[0].size(), command.size() + 2) << "says what is wrong";
  EXPECT_EQ(lines[1], command + QStringLiteral(" --help で使い方を表示します。"));
  EXPECT_TRUE(lines[2].isEmpty());
}

inline QByteArray readBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

}  // namespace orivel::test
