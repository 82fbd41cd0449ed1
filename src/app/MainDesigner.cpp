// Opening the strip type designer: a window of its own that edits templates,
// never the strip document.
#include "app/Application.h"
#include "app/Main.h"
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
