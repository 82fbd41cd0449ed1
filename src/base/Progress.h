#pragma once
// How a long loop (print jobs, PDF pages, imported rows) tells how far it
// has come and learns that it is to stop. The loop knows nothing of who
// listens: the window shows a progress dialog, vrdtool a line on the
// terminal, tests record the reports. A loop reports before each step and
// once when all steps are done; it stops before a step, never inside one.

class Progress {
 public:
  virtual ~Progress() = default;
  // `done` of `total` steps are finished. False when the loop is to stop
  // before its next step. May be called from a worker thread.
  virtual bool Report(int done, int total) = 0;
};

// Shows nothing and never stops a loop.
Progress& NoProgress();
