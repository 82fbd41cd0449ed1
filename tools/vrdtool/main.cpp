// vrdtool: strip data files from the command line, on the same code as the
// program.
#include <QGuiApplication>
#include <cstdio>

#include "Commands.h"
#include "base/Mainsub.h"

namespace {

void PrintHelp() {
  PrintLine(QStringLiteral("usage: vrdtool COMMAND ARGS..."));
  for (const VrdCommand& c : VrdCommands()) {
    PrintLine(QStringLiteral("  %1 %2").arg(QString::fromUtf8(c.name), QString::fromUtf8(c.usage)));
    PrintLine(QStringLiteral("      %1").arg(QString::fromUtf8(c.summary)));
  }
}

}  // namespace

void PrintError(const QString& text) {
  std::fputs((text + '\n').toUtf8().constData(), stderr);
}

void PrintLine(const QString& text) {
  std::fputs((text + '\n').toUtf8().constData(), stdout);
}

namespace {

// The tool speaks for itself on stderr; Qt's own notes (a missing runtime
// folder and the like) would only garble its one-line messages.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) PrintError(message);
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(QuietQtMessages);
  // Drawing needs a GUI application; no display is needed or used.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  RegisterFontSubstitutes();
  QStringList args = app.arguments().mid(1);
  if (args.isEmpty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp();
    return args.isEmpty() ? 2 : 0;
  }
  const QString name = args.takeFirst();
  for (const VrdCommand& c : VrdCommands()) {
    if (name == QString::fromUtf8(c.name)) {
      if (args.contains("--help")) {
        PrintLine(QStringLiteral("usage: vrdtool %1 %2").arg(name, QString::fromUtf8(c.usage)));
        return 0;
      }
      return c.run(args);
    }
  }
  PrintError(QStringLiteral("vrdtool: unknown command '%1' (see vrdtool --help)").arg(name));
  return 2;
}
