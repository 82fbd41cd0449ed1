// Opening the strip type designer: a window of its own that edits templates,
// never the strip document.
#include <QHBoxLayout>
#include <QPushButton>

#include "app/Application.h"
#include "app/Main.h"
#include "app/TemplateManager.h"
#include "base/Prompts.h"
#include "base/Mainsub.h"
#include "designer/DesignerWindow.h"
#include "print/Adjust.h"

void TFMain::ActionJimeijoDesignExecute() { OpenTemplateDesigner(QString()); }

void TFMain::OpenTemplateDesigner(const QString& templatePath) {
  if (!designer_) {
    designer_ = new DesignerWindow(settings_->Locations(), [this] {
      return windows_.adjust ? windows_.adjust->Adjustment() : PrintAdjustment{};
    }, this);
    designer_->setWindowFlag(Qt::Window);
  } else if (designer_->isVisible() && !designer_->ConfirmDiscard()) {
    designer_->raise();
    return;
  }
  if (templatePath.isEmpty()) designer_->Design().Reset(NewTemplate(), QString(), QString());
  else if (!designer_->OpenTemplate(templatePath)) return;
  designer_->show();
  designer_->raise();
  designer_->activateWindow();
}

void TFMain::AddDesignerButtons(TemplateManager& dialog) {
  auto* create = new QPushButton(QStringLiteral("新規(&W)..."), &dialog);
  auto* edit = new QPushButton(QStringLiteral("編集(&R)..."), &dialog);
  create->setObjectName(QStringLiteral("DesignerNew"));
  edit->setObjectName(QStringLiteral("DesignerEdit"));
  create->setAutoDefault(false);
  edit->setAutoDefault(false);
  dialog.ExtraButtonSlot()->addWidget(create);
  dialog.ExtraButtonSlot()->addWidget(edit);
  // The dialog is modal: it closes first, the designer opens once it has.
  const auto openAfter = [this, &dialog](const QString& path) {
    dialog.accept();
    QMetaObject::invokeMethod(this, [this, path] { OpenTemplateDesigner(path); }, Qt::QueuedConnection);
  };
  connect(create, &QPushButton::clicked, &dialog, [openAfter] { openAfter(QString()); });
  connect(edit, &QPushButton::clicked, &dialog, [openAfter, &dialog] {
    const QString path = dialog.SelectedPath();
    if (path.isEmpty()) {
      Prompts::Notice(QStringLiteral("編集するテンプレートを選んでください。"));
      return;
    }
    openAfter(path);
  });
}
