#pragma once
// The application object, and the start-up and shutdown of the whole program.

#include <QApplication>
#include <functional>
#include <optional>

class SingleInstance;
class TFMain;

class LabelApplication : public QApplication {
 public:
  LabelApplication(int& argc, char** argv);
  // An error of the program's own that escapes an event handler is shown to
  // the user in the standard error box; the program goes on.
  bool notify(QObject* receiver, QEvent* event) override;
};

// What start-up does to the application object: its name (window titles
// stay exactly as each window sets them: no display name is appended), the
// font stand-ins, and Qt's Japanese translation, so that standard buttons
// and Qt's own dialogs speak Japanese. False when the translation is missing.
bool PrepareApplication(QCoreApplication& app);

// Creates the windows in their order, runs the event loop, destroys them in
// reverse order. An error that escapes start-up is shown in the error box
// and the program shuts down as it would on close. Once the event loop
// runs, the recovery copies left by a program that did not end normally
// are offered. `started`, when given, runs once the main window is shown,
// before the event loop (tests use it).
// Returns the process exit code.
int RunProgram(QApplication& app, const QString& programFolder = QString(),
               const std::function<void(TFMain&)>& started = {});

// What the command line asks for: `labelkobo [FILE]`, or --help, --version.
struct StartRequest {
  QString file;   // absolute; empty when none is given
  bool help = false;
  bool version = false;
  QString error;  // a command line that makes no sense
};
// `arguments` without the program name, Qt's own options already taken out.
StartRequest ParseStartArguments(const QStringList& arguments);
QString UsageText();

// The answer to --help or --version, printed without a display; nothing
// when the command line asks for the window. Qt's own options are not known
// here, so a command line that makes no sense is judged by StartProgram.
std::optional<int> AnswerWithoutWindow(int argc, char** argv);

// What a second start asks of the running copy goes to its main window.
void ConnectDesktopRequests(SingleInstance& instance, TFMain& main);

// The whole program as started from a desktop or a terminal: the command
// line, one instance (a second start hands its file to the running one and
// ends with 0, or ends with 1 when it has none), SIGTERM ending the session,
// and the file given opened once the window shows.
int StartProgram(QApplication& app);
