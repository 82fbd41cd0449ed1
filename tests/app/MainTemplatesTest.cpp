// Strip types in the window: a strip's type saved as a template from the
// list's pop-up and from "テンプレートの管理", and the dialog's rows.
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "app/TemplateManager.h"
#include "app/Main.h"
#include "base/Mainsub.h"
#include "base/ShiftJis.h"
#include "document/StripCreation.h"
#include "document/StripLayout.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

namespace {

struct MainTemplatesTest : MainWindowFixture {
  // The sample site, whose types have no template in the program folder.
  void OpenSample() {
    Lines lines;
    ASSERT_TRUE(ReadLinesFile(QStringLiteral(SOURCE_DIR "/samples/sample.VRD"), &lines));
    OpenDocument(lines);
  }
  // Answers the name question that the next command asks with `name`;
  // `asked` gets the name it offered.
  void AnswerName(const QString& name, QString* asked) {
    QTimer::singleShot(0, [name, asked] {
      auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      *asked = dialog->textValue();
      dialog->setTextValue(name);
      dialog->accept();
    });
  }
  QString TypeOf(int strip) {
    const qsizetype start = main->Document().FindStrip(strip) + 1;
    return sjis::Decode(main->Document().lines()[start + layout::kStripType]);
  }
  // Key lines 0-18 of every key of a strip.
  Lines KeyTemplateLines(int strip) {
    const Lines& lines = main->Document().lines();
    Lines keys;
    for (qsizetype block : KeyBlockLines(lines, main->Document().FindStrip(strip) + 1)) {
      keys << lines.mid(block, layout::kKeyTemplateLines);
    }
    return keys;
  }
};

}  // namespace

TEST_F(MainTemplatesTest, AStripsTypeSavedFromThePopUpMakesStripsWithTheSameKeyLines) {
  OpenSample();
  const QString type = TypeOf(2);
  main->ListView1->setCurrentItem(main->ListView1->topLevelItem(1));
  // The program folder holds the shipped templates too: a shipped type's
  // name is refused, so the type gets a name of the user's.
  const QString mine = QStringLiteral("自社の電話機");
  QString asked;
  AnswerName(type, &asked);
  main->PopupMenu2->actions().last()->trigger();  // "この示名条のタイプをテンプレートとして保存(&T)..."
  ASSERT_EQ(asked, type);
  EXPECT_TRUE(prompts.messages.last().text.contains(QStringLiteral("付属のテンプレート")));
  EXPECT_FALSE(QFile::exists(dir.filePath(type + QStringLiteral(".TPL"))));

  AnswerName(mine, &asked);
  prompts.answers = {PromptAnswer::Yes};  // should the check warn
  main->PopupMenu2->actions().last()->trigger();
  const QString saved = dir.filePath(mine + QStringLiteral(".TPL"));
  ASSERT_TRUE(QFile::exists(saved)) << prompts.messages.value(0).text.toStdString();

  // A strip made from it has the key lines of the strip it came from.
  StripEntry entry;
  entry.seriesName = main->Document().lines()[main->Document().FindStrip(2) + 1 + layout::kSeriesName];
  entry.stripType = sjis::Encode(mine);
  entry.extension = "999";
  const int before = main->Document().StripCount();
  ASSERT_TRUE(NewStripFromTemplate(main->Document(), entry, main->Settings().Locations().TemplateFolders()));
  EXPECT_EQ(KeyTemplateLines(before + 1), KeyTemplateLines(2));
}

TEST_F(MainTemplatesTest, TheDialogListsTypesWithoutATemplateAndSavesThem) {
  OpenSample();
  const QString type = TypeOf(1);
  bool sawDialog = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<TemplateManager*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    sawDialog = true;
    auto* save = dialog->findChild<QPushButton*>("SaveTypeButton");
    auto* remove = dialog->findChild<QPushButton*>("DeleteButton");
    ASSERT_TRUE(dialog->SelectType(type));
    EXPECT_EQ(dialog->List()->currentItem()->text(TemplateManager::kFolder), QStringLiteral("（なし）"));
    EXPECT_TRUE(save->isEnabled());
    EXPECT_FALSE(remove->isEnabled());

    const QString mine = QStringLiteral("自社の電話機");
    QString asked;
    AnswerName(mine, &asked);
    prompts.answers = {PromptAnswer::Yes};
    save->click();
    EXPECT_EQ(asked, type);
    ASSERT_TRUE(dialog->SelectType(mine));
    EXPECT_EQ(dialog->List()->currentItem()->text(TemplateManager::kFolder), QStringLiteral("ユーザー"));
    EXPECT_EQ(dialog->SelectedPath(), dir.filePath(mine + QStringLiteral(".TPL")));
    EXPECT_TRUE(remove->isEnabled());

    // Deleting it asks with the file's name; the row goes.
    prompts.answers = {PromptAnswer::Yes};
    remove->click();
    EXPECT_TRUE(prompts.messages.last().text.contains(mine + QStringLiteral(".TPL")));
    EXPECT_FALSE(dialog->SelectType(mine));
    EXPECT_TRUE(dialog->SelectType(type));
    dialog->reject();
  });
  Trigger("ActionJimeijoTemplates");
  EXPECT_TRUE(sawDialog);
}

TEST_F(MainTemplatesTest, TheDialogNamesEachFaultWithItsLine) {
  // The shipped Ｔｅ template with its first key's text area of no height (an
  // error) and its second key on the first (a warning).
  Lines lines;
  ASSERT_TRUE(ReadLinesFile(QStringLiteral(SOURCE_DIR "/data/Ｔｅ24ボタン.TPL"), &lines));
  lines[8 + 18] = "-1";
  lines[8 + 19 + 1] = lines[8 + 1];
  ASSERT_TRUE(WriteLinesFile(dir.filePath("faulty.TPL"), lines));

  TemplateManager dialog(main->Settings().Locations(), main->Document());
  ASSERT_TRUE(dialog.SelectType("faulty"));
  EXPECT_TRUE(dialog.List()->currentItem()->text(TemplateManager::kCheck).startsWith(QStringLiteral("エラー 1件")));
  auto* faults = dialog.findChild<QListWidget*>("TemplateFaults");
  QStringList texts;
  for (int i = 0; i < faults->count(); ++i) texts << faults->item(i)->text();
  const QString all = texts.join('\n');
  EXPECT_TRUE(all.contains(QStringLiteral("エラー 27行目（1番目のキー）: 文字領域の高さが0以下です"))) << all.toStdString();
  EXPECT_TRUE(all.contains(QStringLiteral("警告 28行目（2番目のキー）: キーの外枠が1番目のキーと重なっています。")))
      << all.toStdString();
}
