#pragma once
// The application object, and the start-up and shutdown of the whole program.

#include <QApplication>

class LabelApplication : public QApplication {
 public:
  LabelApplication(int& argc, char** argv);
  // An error of the program's own that escapes an event handler is shown to
  // the user in the standard error box; the program goes on.
  bool notify(QObject* receiver, QEvent* event) override;
};

// Creates the windows in their order, runs the event loop, destroys them in
// reverse order. Returns the process exit code.
int RunProgram(QApplication& app, const QString& programFolder = QString());
