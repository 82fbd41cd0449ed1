#pragma once
// The progress of a long vrdtool command: one line on stderr, rewritten in
// place, when stderr is a terminal (nothing otherwise). Ctrl+C (SIGINT)
// asks the loop to stop before its next step, so that the command ends
// cleanly, writes no file and exits with kInterruptedExit; a second Ctrl+C
// ends the process at once.

#include <QString>
#include <csignal>

#include "base/Progress.h"

inline constexpr int kInterruptedExit = 130;  // 128 + SIGINT, as shells report it

class TerminalProgress final : public Progress {
 public:
  // `prefix` starts the line ("vrdtool pdf: strip"); SIGINT is caught from here.
  explicit TerminalProgress(const QString& prefix);
  // Ends the line (EndLine) and gives SIGINT back its former handling.
  ~TerminalProgress() override;
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  bool Report(int done, int total) override;
  bool Interrupted() const;
  // Clears the progress line, so that a message can follow on stderr.
  void EndLine();

 private:
  QString prefix_;
  bool terminal_;
  bool shown_ = false;
  struct sigaction former_{};
};
