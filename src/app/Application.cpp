#include "app/Application.h"

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

LabelApplication::LabelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("ラベル工房"));
  setApplicationDisplayName(QStringLiteral("ラベル工房"));
  RegisterFontSubstitutes();
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

int RunProgram(QApplication& app, const QString& programFolder) {
  // Created in this order, each once; destroyed in reverse so that the main
  // window, which owns the settings, writes its keys last.
  auto main = std::make_unique<TFMain>(programFolder);
  TSettings& settings = main->Settings();
  AppWindows w;
  auto telAdd = std::make_unique<TFTelAdd>(settings);
  auto keyLabel = std::make_unique<TFKeyLabel>(settings);
  auto version = std::make_unique<TFVersion>();
  auto adjust = std::make_unique<TFAdjust>(settings);
  auto search = std::make_unique<TFSearch>(settings);
  auto printList = std::make_unique<TFPrintJimeijoList>(settings);
  auto printCard = std::make_unique<TFPrintJimeijoCard>(settings);
  auto viewImage = std::make_unique<TFViewImage>(settings);
  w.telAdd = telAdd.get();
  w.keyLabel = keyLabel.get();
  w.version = version.get();
  w.adjust = adjust.get();
  w.search = search.get();
  w.printList = printList.get();
  w.printCard = printCard.get();
  w.viewImage = viewImage.get();
  main->SetWindows(w);

  main->show();
  const int code = app.exec();

  main->SetWindows({});
  viewImage.reset();
  printCard.reset();
  printList.reset();
  search.reset();
  adjust.reset();
  version.reset();
  keyLabel.reset();
  telAdd.reset();
  main.reset();
  return code;
}
