#include "TerminalProgress.h"

#include <unistd.h>

#include <cstdio>

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void NoteInterrupt(int) { interrupted = 1; }

}  // namespace

TerminalProgress::TerminalProgress(const QString& prefix)
    : prefix_(prefix), terminal_(isatty(STDERR_FILENO) == 1) {
  interrupted = 0;
  struct sigaction action {};
  action.sa_handler = NoteInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the second Ctrl+C is not caught
  sigaction(SIGINT, &action, &former_);
}

TerminalProgress::~TerminalProgress() {
  EndLine();
  sigaction(SIGINT, &former_, nullptr);
}

void TerminalProgress::EndLine() {
  if (!shown_) return;
  std::fputs("\r\033[K", stderr);
  shown_ = false;
}

bool TerminalProgress::Report(int done, int total) {
  if (terminal_) {
    const QString line = QStringLiteral("\r%1 %2 / %3").arg(prefix_).arg(done).arg(total);
    std::fputs(line.toUtf8().constData(), stderr);
    std::fflush(stderr);
    shown_ = true;
  }
  return !Interrupted();
}

bool TerminalProgress::Interrupted() const { return interrupted != 0; }
