#include "support/RunVrdtool.h"

#include <QElapsedTimer>
#include <QProcess>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

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

VrdtoolRun RunVrdtoolOnTerminal(const QStringList& args, const QByteArray& interruptAt) {
  VrdtoolRun run;
  const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
  if (terminal < 0 || grantpt(terminal) != 0 || unlockpt(terminal) != 0) return run;
  const QByteArray side = ptsname(terminal);
  fcntl(terminal, F_SETFL, O_NONBLOCK);
  QProcess process;
  process.setChildProcessModifier([side] {
    const int fd = ::open(side.constData(), O_RDWR | O_NOCTTY);
    if (fd >= 0) ::dup2(fd, STDERR_FILENO);
  });
  process.start(QStringLiteral(BUILD_DIR "/vrdtool"), args);
  bool interrupted = false;
  QElapsedTimer clock;
  clock.start();
  char buffer[4096];
  while (clock.elapsed() < 30000) {
    const bool finished = process.waitForFinished(10);
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;) run.err.append(buffer, n);
    if (finished) break;
    if (!interrupted && run.err.contains(interruptAt)) {
      ::kill(static_cast<pid_t>(process.processId()), SIGINT);
      interrupted = true;
    }
  }
  ::close(terminal);
  if (process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit) {
    run.exitCode = process.exitCode();
  }
  run.out = process.readAllStandardOutput();
  return run;
}
