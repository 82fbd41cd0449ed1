#include "app/Application.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/Main.h"
#include "app/ModalClose.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignal.h"
#include "app/Version.h"
#include "base/Mainsub.h"
#include "base/Prompts.h"
#include "document/DocumentError.h"
#include "document/Teladd.h"
#include "keylabels/Keylabel.h"
#include "print/Adjust.h"
#include "print/Printjimeijocard.h"
#include "print/Printjimeijolist.h"
#include "view/Search.h"
#include "view/Viewimage.h"

namespace {

// The text of an error of the program's own family, for the error box.
QString ErrorText(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const DocumentError& e) {
    return e.Expected();
  } catch (const std::exception& e) {
    return QString::fromLocal8Bit(e.what());
  } catch (...) {
    return QStringLiteral("予期しないエラーが発生しました。");
  }
}

// Every window of the program; members are destroyed in reverse order of
// declaration, so the main window, which owns the settings, goes last and
// every other window writes its keys while the settings still exist.
struct ProgramWindows {
  std::unique_ptr<TFMain> main;
  std::unique_ptr<TFTelAdd> telAdd;
  std::unique_ptr<TFKeyLabel> keyLabel;
  std::unique_ptr<TFVersion> version;
  std::unique_ptr<TFAdjust> adjust;
  std::unique_ptr<TFSearch> search;
  std::unique_ptr<TFPrintJimeijoList> printList;
  std::unique_ptr<TFPrintJimeijoCard> printCard;
  std::unique_ptr<TFViewImage> viewImage;

  void Create(const QString& programFolder) {
    main = std::make_unique<TFMain>(programFolder);
    TSettings& settings = main->Settings();
    telAdd = std::make_unique<TFTelAdd>(settings);
    keyLabel = std::make_unique<TFKeyLabel>(settings);
    version = std::make_unique<TFVersion>();
    adjust = std::make_unique<TFAdjust>(settings);
    search = std::make_unique<TFSearch>(settings);
    printList = std::make_unique<TFPrintJimeijoList>(settings);
    printCard = std::make_unique<TFPrintJimeijoCard>(settings);
    viewImage = std::make_unique<TFViewImage>(settings);
    AppWindows w;
    w.telAdd = telAdd.get();
    w.keyLabel = keyLabel.get();
    w.version = version.get();
    w.adjust = adjust.get();
    w.search = search.get();
    w.printList = printList.get();
    w.printCard = printCard.get();
    w.viewImage = viewImage.get();
    main->SetWindows(w);
    // The main window alone keeps the program running: once it has closed
    // (after its question about unsaved changes), the program ends whatever
    // other window is still open, such as the modeless find window.
    for (QWidget* other : std::initializer_list<QWidget*>{telAdd.get(), keyLabel.get(), version.get(), adjust.get(),
                                                          search.get(), printList.get(), printCard.get(),
                                                          viewImage.get()}) {
      other->setAttribute(Qt::WA_QuitOnClose, false);
    }
  }

  ~ProgramWindows() {
    if (main) main->SetWindows({});
  }
};

}  // namespace

bool PrepareApplication(QCoreApplication& app) {
  app.setApplicationName(QStringLiteral("ラベル工房"));
  // Ties the windows to the installed desktop entry (its icon, its name in
  // the task bar).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.labelkobo.labelkobo"));
  RegisterFontSubstitutes();
  static QTranslator* translator = nullptr;
  if (translator) return true;
  auto* qtJapanese = new QTranslator(&app);
  if (!qtJapanese->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete qtJapanese;
    return false;
  }
  app.installTranslator(qtJapanese);
  translator = qtJapanese;
  return true;
}

LabelApplication::LabelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  PrepareApplication(*this);
}

bool LabelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const DocumentError& e) {
    Prompts::Error(e.Expected());
  } catch (const std::exception& e) {
    Prompts::Error(QString::fromLocal8Bit(e.what()));
  }
  return false;
}

int RunProgram(QApplication& app, const QString& programFolder,
               const std::function<void(TFMain&)>& started) {
  ProgramWindows windows;
  try {
    windows.Create(programFolder);
    windows.main->show();
    // Asked once the window shows, before a file given on the command line opens.
    QTimer::singleShot(0, windows.main.get(), &TFMain::OfferRecoveryCopies);
    if (started) started(*windows.main);
  } catch (...) {
    // Shown in the standard error box; then the program shuts down: the
    // windows made so far are destroyed in reverse order.
    Prompts::Error(ErrorText(std::current_exception()));
    return 0;
  }
  return app.exec();
}

StartRequest ParseStartArguments(const QStringList& arguments) {
  StartRequest request;
  bool optionsEnded = false;
  for (const QString& argument : arguments) {
    if (!optionsEnded && argument == QStringLiteral("--")) {
      optionsEnded = true;
    } else if (!optionsEnded && (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))) {
      request.help = true;
    } else if (!optionsEnded && argument == QStringLiteral("--version")) {
      request.version = true;
    } else if (!optionsEnded && argument.startsWith('-')) {
      request.error = QStringLiteral("unknown option '%1'").arg(argument);
    } else if (request.file.isEmpty()) {
      request.file = QFileInfo(argument).absoluteFilePath();
    } else {
      request.error = QStringLiteral("only one data file can be opened");
    }
  }
  return request;
}

QString UsageText() {
  return QStringLiteral(
      "usage: labelkobo [FILE.VRD]\n"
      "Designs and prints designation strips for business telephones.\n"
      "FILE.VRD is opened at start; when the program runs already, it opens the file.\n"
      "  --help     this text\n"
      "  --version  the program's version\n");
}

namespace {

// Prints what --help or --version asks for; the exit code.
int Answer(const StartRequest& request) {
  if (!request.error.isEmpty()) {
    std::fprintf(stderr, "labelkobo: %s\n%s", qUtf8Printable(request.error), qUtf8Printable(UsageText()));
    return 2;
  }
  const QString text = request.help ? UsageText() : QStringLiteral("labelkobo %1\n").arg(ProgramFileVersion());
  std::fputs(qUtf8Printable(text), stdout);
  return 0;
}

}  // namespace

std::optional<int> AnswerWithoutWindow(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const StartRequest request = ParseStartArguments(arguments);
  if (!request.error.isEmpty() || !(request.help || request.version)) return std::nullopt;
  return Answer(request);
}

void ConnectDesktopRequests(SingleInstance& instance, TFMain& main) {
  QObject::connect(&instance, &SingleInstance::FileHandedOver, &main, &TFMain::OpenFileFromDesktop);
  QObject::connect(&instance, &SingleInstance::FrontRequested, &main, &TFMain::ComeToFront);
}

int StartProgram(QApplication& app) {
  const StartRequest request = ParseStartArguments(app.arguments().mid(1));
  if (!request.error.isEmpty() || request.help || request.version) return Answer(request);
  SingleInstance instance;
  // A second start ends at once, without a window: with a file it hands
  // the file to the running copy and ends with 0; without one it brings
  // the running copy to the front and still ends with 1, as scripts expect.
  if (!instance.TryAcquire()) {
    if (!request.file.isEmpty()) return instance.HandOver(request.file) ? 0 : 1;
    instance.AskToFront();
    return 1;
  }
  TerminationSignal termination;
  std::unique_ptr<ModalCloseFilter> modalClose;
  const int code = RunProgram(app, QString(), [&](TFMain& main) {
    modalClose = std::make_unique<ModalCloseFilter>(&main);
    ConnectDesktopRequests(instance, main);
    QObject::connect(&termination, &TerminationSignal::Received, &main, &TFMain::EndSession);
    if (!request.file.isEmpty()) {
      const QString file = request.file;
      QTimer::singleShot(0, &main, [&main, file] { main.OpenFileFromDesktop(file); });
    }
  });
  instance.Release();
  return code;
}
