// The strip type designer opened from the main window: from the 示名条編集
// menu on a new type, and from テンプレートの管理 on the selected template;
// closing the main window asks about its unsaved changes.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/TemplateManager.h"
#include "designer/DesignerWindow.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

namespace {

DesignerWindow* Designer(TFMain& main) { return main.findChild<DesignerWindow*>(); }

}  // namespace

TEST_F(MainWindowFixture, DesignerOpensFromTheMenuAndFromTheTemplateManager) {
  const QString shipped = QStringLiteral("Ｔｅ24ボタン.TPL");
  ASSERT_TRUE(QFile::copy(QStringLiteral(SOURCE_DIR "/data/") + shipped, dir.filePath(shipped)));
  const Lines documentBefore = main->Document().lines();

  Trigger("ActionJimeijoDesign");
  DesignerWindow* designer = Designer(*main);
  ASSERT_NE(designer, nullptr);
  EXPECT_TRUE(designer->isVisible());
  EXPECT_TRUE(designer->windowTitle().contains(QStringLiteral("示名条タイプの編集")));
  EXPECT_TRUE(designer->Design().StripType().isEmpty());
  EXPECT_EQ(designer->Design().Model().KeyCount(), 0);
  designer->hide();

  // 編集 in the manager closes it and opens the designer on the selected type.
  QTimer::singleShot(0, [] {
    auto* manager = qobject_cast<TemplateManager*>(QApplication::activeModalWidget());
    ASSERT_NE(manager, nullptr);
    ASSERT_TRUE(manager->SelectType(QStringLiteral("Ｔｅ24ボタン")));
    manager->findChild<QPushButton*>(QStringLiteral("DesignerEdit"))->click();
  });
  Trigger("ActionJimeijoTemplates");
  QApplication::processEvents();
  EXPECT_EQ(Designer(*main), designer);  // one designer window
  EXPECT_TRUE(designer->isVisible());
  EXPECT_EQ(designer->Design().StripType(), QStringLiteral("Ｔｅ24ボタン"));
  EXPECT_EQ(designer->Design().Model().ToBytes(), ReadBytes(dir.filePath(shipped)));
  EXPECT_TRUE(main->Document().lines() == documentBefore);  // the document is never touched
  EXPECT_TRUE(prompts.messages.isEmpty());

  // Closing the main window asks about the designer's unsaved changes first; Cancel keeps both.
  designer->SeriesBox(0)->click();
  prompts.answers = {PromptAnswer::Cancel};
  EXPECT_FALSE(main->close());
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("示名条タイプが変更されています。\n保存しますか？"));
  EXPECT_TRUE(designer->isVisible());
  designer->Design().History().undo();
}
