// The strip types of the main window: a strip's type saved as the user's
// template, and the dialog that manages the templates.
#include <QDir>
#include <QInputDialog>
#include <optional>
#include <QTreeWidget>

#include "app/Main.h"
#include "app/TemplateManager.h"
#include "base/Mainsub.h"
#include "base/Prompts.h"
#include "base/ShiftJis.h"
#include "document/StripLayout.h"
#include "document/StripTemplate.h"
#include "document/TemplateStore.h"
#include "view/StripGeometry.h"

namespace {

// The type name a strip's type is saved under, starting from its own.
std::optional<QString> AskTemplateName(QWidget* parent, const QString& initial) {
  QInputDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("TemplateNameDialog"));
  dialog.setWindowTitle(QStringLiteral("テンプレートとして保存"));
  dialog.setLabelText(QStringLiteral("タイプ名（テンプレートのファイル名になります）:"));
  dialog.setTextValue(initial);
  dialog.setCancelButtonText(QStringLiteral("キャンセル"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue();
}

}  // namespace

void TFMain::ActionJimeijoSaveTypeExecute() {
  QTreeWidgetItem* focused = ListView1->currentItem();
  if (!focused) return;
  SaveStripTypeAsTemplate(ListView1->indexOfTopLevelItem(focused) + 1);
}

bool TFMain::SaveStripTypeAsTemplate(int number) {
  CommitPendingKey();
  const qsizetype separator = document_.FindStrip(number);
  if (separator < 1) return false;
  const qsizetype start = separator + 1;
  StripTemplate model;
  QString type;
  try {
    const QByteArray series = LineAt(document_.lines(), start + layout::kSeriesName);
    type = sjis::Decode(LineAt(document_.lines(), start + layout::kStripType));
    model = TemplateOfStrip(document_.lines(), start, TitleForStripType(series));
  } catch (const DocumentError& error) {
    Prompts::Error(LayoutErrorText(error));
    return false;
  }
  const std::optional<QString> name = AskTemplateName(this, type);
  if (!name) return false;
  const TemplateStore store(settings_->Locations());
  if (!store.SaveChecked(*name, model)) return false;
  Prompts::Notice(QStringLiteral("テンプレート「%1」を保存しました。")
                      .arg(QDir::toNativeSeparators(store.UserPath(*name))));
  return true;
}

void TFMain::ActionJimeijoTemplatesExecute() {
  CommitPendingKey();
  TemplateManager dialog(settings_->Locations(), document_, this);
  connect(&dialog, &TemplateManager::SaveStripTypeRequested, this, [this, &dialog](int strip) {
    if (SaveStripTypeAsTemplate(strip)) dialog.Refresh();
  });
  dialog.exec();
}
