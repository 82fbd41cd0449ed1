#include "app/Application.h"

#include <QLibraryInfo>
#include <QTranslator>
#include <exception>
#include <memory>

#include "app/Main.h"
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
  }

  ~ProgramWindows() {
    if (main) main->SetWindows({});
  }
};

}  // namespace

bool PrepareApplication(QCoreApplication& app) {
  app.setApplicationName(QStringLiteral("ラベル工房"));
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
    if (started) started(*windows.main);
  } catch (...) {
    // Shown in the standard error box; then the program shuts down: the
    // windows made so far are destroyed in reverse order.
    Prompts::Error(ErrorText(std::current_exception()));
    return 0;
  }
  return app.exec();
}
