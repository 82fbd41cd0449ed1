#include "support/RunVrdtool.h"

#include <QProcess>

VrdtoolRun RunVrdtool(const QStringList& args) {
  QProcess process;
  process.start(QStringLiteral(BUILD_DIR "/vrdtool"), args);
  VrdtoolRun run;
  if (!process.waitForFinished(30000)) return run;
  if (process.exitStatus() == QProcess::NormalExit) run.exitCode = process.exitCode();
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}
