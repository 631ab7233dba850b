// orivel-cli: the program's main work without its windows, for scripts, print shops and
// machines without a display.
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/CommandLine.h"
#include "common/Version.h"

namespace {

// Qt's own notes (missing runtime folders and the like) would mix with the messages that
// scripts read from standard error; they are shown only when asked for.
void quietQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  static const bool verbose = qEnvironmentVariableIsSet("ORIVEL_CLI_DEBUG");
  if (verbose || type == QtFatalMsg || type == QtCriticalMsg)
    std::fputs(qFormatLogMessage(type, context, text).toLocal8Bit().append('\n').constData(),
               stderr);
}

// The commands that set no text with a font, and so need Qt's core only.
int runWithoutText(const orivel::cli::Arguments& args) {
  using namespace orivel::cli;
  switch (args.command) {
    case Command::Show:
      return Show(args);
    case Command::Import:
      return Import(args);
    case Command::Profile:
      return Profile(args);
    case Command::Export:
      return Export(args);
    case Command::Mark:
      return Mark(args);
    case Command::Select:
      return Select(args);
    case Command::Check:
      return Check(args);
    default:
      return kExitFailure;
  }
}

}  // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // Qt's PDF writer allocates and frees its compression buffers for every page; above
  // glibc's default threshold each one is a fresh mmap with its page faults, and below the
  // trim threshold's top each free gives the memory back to the system only to fault it in
  // again for the next page. Keeping them on the heap makes a card several times cheaper.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
  using namespace orivel::cli;
  const ParsedArguments parsed =
      ParseArguments(Utf8Arguments(argc, argv), std::string("orivel-cli ") + orivel::kVersion);
  if (!parsed.ok) {
    if (!parsed.problem.isEmpty()) {
      Say(parsed.problem);
      return kExitUsage;
    }
    std::printf("%s", parsed.output.toUtf8().constData());
    return kExitSuccess;
  }
  qInstallMessageHandler(quietQtMessages);

  // Qt is given no arguments of ours: a file named like one of its options stays ours.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  switch (parsed.args.command) {
    case Command::Show:
    case Command::Import:
    case Command::Profile:
    case Command::Export:
    case Command::Mark:
    case Command::Select:
    case Command::Check: {
      QCoreApplication app(qtArgc, qtArgv);
      return runWithoutText(parsed.args);
    }
    case Command::Compose:
    case Command::Print:
    case Command::Calibration: {
      // Both set the card's text with its font. Nothing is ever shown: the offscreen
      // platform serves fonts and printing without a display, and needs no connection to
      // one when there is.
      if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
      QGuiApplication app(qtArgc, qtArgv);
      switch (parsed.args.command) {
        case Command::Compose:
          return Compose(parsed.args);
        case Command::Calibration:
          return Calibration(parsed.args);
        default:
          return Print(parsed.args);
      }
    }
  }
  return kExitFailure;
}
