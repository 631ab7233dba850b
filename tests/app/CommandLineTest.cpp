// The command lines of both front ends, run as processes without a display: the version,
// the usage and a wrong command line must never need one.
#include <QTemporaryDir>

#include "cli/CliRun.h"

namespace orivel::test {
namespace {

CliRun runProgram(const QString& program, const QStringList& args) {
  QProcess process;
  process.setProcessEnvironment(headlessEnvironment());
  process.start(program, args);
  CliRun run;
  if (!process.waitForFinished(30000)) {
    process.kill();
    process.waitForFinished();
    ADD_FAILURE() << program.toStdString() << " did not finish";
    return run;
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

const QString kOrivel = QStringLiteral(ORIVEL_GUI);

TEST(CommandLineTest, BothFrontEndsTellTheVersionOfTheBuild) {
  for (const auto& [program, name] :
       {std::pair{kOrivel, QStringLiteral("orivel")},
        std::pair{QStringLiteral(ORIVEL_CLI), QStringLiteral("orivel-cli")}}) {
    const CliRun run = runProgram(program, {QStringLiteral("--version")});
    EXPECT_EQ(run.exitCode, 0) << name.toStdString();
    EXPECT_EQ(run.outText(), name + QStringLiteral(" " ORIVEL_VERSION "\n"));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  }
}

TEST(CommandLineTest, AWrongCommandLineGivesTheUsageAndExitTwoWithoutAWindow) {
  struct Case {
    QStringList args;
    QString problem;
  };
  const Case cases[] = {
      {{QStringLiteral("a.orv"), QStringLiteral("b.orv")},
       QStringLiteral("orivel: only one book can be opened\n")},
      {{QStringLiteral("--frob")}, QStringLiteral("orivel: unknown option \"--frob\"\n")},
      {{QStringLiteral("-platform")}, QStringLiteral("orivel: unknown option \"-platform\"\n")},
      {{QStringLiteral("--version"), QStringLiteral("a.orv")},
       QStringLiteral("orivel: only one book can be opened\n")},
  };
  for (const Case& c : cases) {
    const CliRun run = runProgram(kOrivel, c.args);
    EXPECT_EQ(run.exitCode, 2) << c.args.join(u' ').toStdString();
    EXPECT_EQ(run.errText(),
              c.problem + QStringLiteral("usage: orivel [--version | --help | BOOK.orv]\n"));
    EXPECT_TRUE(run.out.isEmpty());
  }
}

TEST(CommandLineTest, HelpGoesToStandardOutput) {
  const CliRun run = runProgram(kOrivel, {QStringLiteral("--help")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.outText(), QStringLiteral("usage: orivel [--version | --help | BOOK.orv]\n"));
}

}  // namespace
}  // namespace orivel::test
