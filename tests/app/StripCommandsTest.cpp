// Creating, editing and deleting strips on the real window, with the list
// and the document checked against each other after every command.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/Application.h"
#include "app/Main.h"
#include "document/StripList.h"
#include "document/Teladd.h"
#include "support/FakePrompts.h"
#include "support/PaintedRows.h"
#include "support/TestFiles.h"

namespace {

struct StripCommandsTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  std::unique_ptr<TFMain> main;
  std::unique_ptr<TFTelAdd> telAdd;

  void SetUp() override {
    for (const QString& name : QDir(SOURCE_DIR "/data").entryList({"*.TPL"}, QDir::Files)) {
      QFile::copy(QStringLiteral(SOURCE_DIR "/data/") + name, dir.filePath(name));
    }
    main = std::make_unique<TFMain>(dir.path());
    telAdd = std::make_unique<TFTelAdd>(main->Settings());
    AppWindows windows;
    windows.telAdd = telAdd.get();
    main->SetWindows(windows);
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  }
  void TearDown() override {
    main->SetWindows({});
    telAdd.reset();
    main->Document().MarkSaved();
    main.reset();
  }

  // Runs a strip command whose entry dialog gets `fill` and then OK.
  void WithDialog(const char* action, const std::function<void(TFTelAdd&)>& fill) {
    QTimer::singleShot(0, [this, fill] {
      fill(*telAdd);
      telAdd->ButtonOk->click();
      if (telAdd->isVisible()) {  // OK was refused: never leave the test waiting
        ADD_FAILURE() << "the entry dialog stayed open";
        telAdd->reject();
      }
    });
    main->Action(action)->trigger();
  }
  void CreateStrip(const QString& extension, const QString& user = QString()) {
    WithDialog("ActionJimeijoNew", [&](TFTelAdd& d) {
      d.Edit1->setText(extension);
      d.Edit3->setText(user);
    });
  }
  QTreeWidget* List() { return main->ListView1; }
  QString Violation() { return StripListViolation(main->Document(), main->ListRows()); }
  QStringList Extensions() {
    QStringList out;
    for (int i = 0; i < List()->topLevelItemCount(); ++i) out << List()->topLevelItem(i)->text(2);
    return out;
  }
  // Selects the rows with the focus in the list, as clicks there leave it.
  void SelectRows(QList<int> rows, int focused) {
    List()->setFocus();
    List()->clearSelection();
    List()->setCurrentItem(List()->topLevelItem(focused));
    for (int r : rows) List()->topLevelItem(r)->setSelected(true);
  }
};

}  // namespace

TEST_F(StripCommandsTest, CreatingStripsFromATemplateFillsListDocumentAndView) {
  CreateStrip("201", QStringLiteral("山田"));
  ASSERT_EQ(List()->topLevelItemCount(), 1);
  EXPECT_EQ(main->Document().at(0), QByteArray("file-version:01.01.00.00"));
  EXPECT_EQ(main->CurrentStripNumber(), 1);
  EXPECT_GT(main->KeyCount(), 0);
  EXPECT_EQ(List()->topLevelItem(0)->text(0), QStringLiteral("Ｋａシリーズ主装置"));
  EXPECT_TRUE(main->Document().IsChanged());
  CreateStrip("202");
  CreateStrip("203");
  EXPECT_EQ(main->CurrentStripNumber(), 3);
  EXPECT_EQ(List()->currentItem(), List()->topLevelItem(2));
  EXPECT_EQ(PaintedHighlightedRows(List()), QList<int>{2});
  EXPECT_EQ(Violation(), QString());
}

TEST_F(StripCommandsTest, DuplicateNumberKeepsTheDialogOpen) {
  CreateStrip("201");
  QTimer::singleShot(0, [this] {
    telAdd->Edit1->setText(" 201 ");
    telAdd->ButtonOk->click();
    EXPECT_TRUE(telAdd->isVisible());
    telAdd->ButtonCancel->click();
  });
  main->Action("ActionJimeijoNew")->trigger();
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("すでにこの内線番号は存在します。"));
  EXPECT_EQ(List()->topLevelItemCount(), 1);
}

TEST_F(StripCommandsTest, EditingKeepsTheRegistrationDateAndWritesTheHeader) {
  CreateStrip("201");
  CreateStrip("202");
  const QString registered = List()->topLevelItem(0)->text(5);
  SelectRows({0}, 0);
  WithDialog("ActionJimeijoEdit", [](TFTelAdd& d) {
    d.ComboBoxExternal->setEditText("301");
    d.Edit2->setText(QStringLiteral("総務部"));
  });
  EXPECT_EQ(Extensions(), (QStringList{"301", "202"}));
  EXPECT_EQ(List()->topLevelItem(0)->text(3), QStringLiteral("総務部"));
  EXPECT_EQ(List()->topLevelItem(0)->text(5), registered);
  EXPECT_EQ(Violation(), QString());
  EXPECT_TRUE(main->pnlText->text().contains("301"));
}

TEST_F(StripCommandsTest, EditingAnotherPickedStripLaysItOut) {
  CreateStrip("201");
  CreateStrip("202");
  SelectRows({0}, 0);
  ASSERT_EQ(main->CurrentStripNumber(), 1);
  WithDialog("ActionJimeijoEdit", [](TFTelAdd& d) {
    d.ComboBoxExternal->setCurrentIndex(1);  // the user picks strip 202
    d.ComboBoxExternalChange();
    d.Edit3->setText(QStringLiteral("佐藤"));
  });
  EXPECT_EQ(List()->topLevelItem(1)->text(4), QStringLiteral("佐藤"));
  EXPECT_EQ(main->CurrentStripNumber(), 2);
  EXPECT_EQ(List()->currentItem(), List()->topLevelItem(1));
  EXPECT_EQ(PaintedHighlightedRows(List()), QList<int>{1});
  EXPECT_EQ(Violation(), QString());
}

TEST_F(StripCommandsTest, DeletingRenumbersAndShowsTheStripThatMovedUp) {
  for (const char* n : {"1", "2", "3", "4", "5"}) CreateStrip(n);
  SelectRows({1, 3}, 1);
  prompts.answers = {PromptAnswer::Yes};
  main->Action("ActionJimeijoDelete")->trigger();
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("示名条データ削除します。\nよろしいですか？"));
  EXPECT_EQ(prompts.messages[0].defaultAnswer, PromptAnswer::No);
  EXPECT_EQ(Extensions(), (QStringList{"1", "3", "5"}));
  EXPECT_EQ(main->Document().at(1), QByteArray("3"));
  EXPECT_EQ(main->CurrentStripNumber(), 2);
  EXPECT_TRUE(main->pnlText->text().contains(QStringLiteral("内線：3 ")));
  EXPECT_EQ(PaintedHighlightedRows(List()), QList<int>{1});
  EXPECT_EQ(Violation(), QString());
}

TEST_F(StripCommandsTest, AnsweringNoDeletesNothingAndDeletingAllEmptiesTheDocument) {
  CreateStrip("1");
  CreateStrip("2");
  SelectRows({0, 1}, 1);
  prompts.answers = {PromptAnswer::No};
  main->Action("ActionJimeijoDelete")->trigger();
  EXPECT_EQ(List()->topLevelItemCount(), 2);
  prompts.answers = {PromptAnswer::Yes};
  main->Action("ActionJimeijoDelete")->trigger();
  EXPECT_EQ(List()->topLevelItemCount(), 0);
  EXPECT_TRUE(main->Document().isEmpty());
  EXPECT_EQ(main->KeyCount(), 0);
  EXPECT_EQ(main->CurrentStripNumber(), 0);
}

TEST_F(StripCommandsTest, DeletingTheLastOfFiveShowsTheNewLast) {
  for (const char* n : {"1", "2", "3", "4", "5"}) CreateStrip(n);
  SelectRows({4}, 4);
  prompts.answers = {PromptAnswer::Yes};
  main->Action("ActionJimeijoDelete")->trigger();
  EXPECT_EQ(main->CurrentStripNumber(), 4);
  EXPECT_EQ(PaintedHighlightedRows(List()), QList<int>{3});
  EXPECT_EQ(Violation(), QString());
}

TEST_F(StripCommandsTest, DeleteKeyInTheListAndThePopUpMenuReachTheCommands) {
  CreateStrip("1");
  CreateStrip("2");
  SelectRows({0}, 0);
  prompts.answers = {PromptAnswer::No};
  QTest::keyClick(List(), Qt::Key_Delete);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("確認"));
  prompts.answers = {PromptAnswer::Yes};
  main->PopupMenu2->actions()[2]->trigger();  // "示名条の削除(&D)"
  EXPECT_EQ(Extensions(), QStringList{"2"});
  EXPECT_EQ(Violation(), QString());
}

TEST_F(StripCommandsTest, SwitchingToAKeyInTheLowerHalfScrollsToHalfTheRange) {
  CreateStrip("1");  // a portrait Ka strip: taller than a small window's view
  main->Action("ActionShowDetail")->trigger();
  main->setWindowState(Qt::WindowNoState);
  main->resize(1000, 738);
  QScrollBar* vertical = main->ScrollBox1->verticalScrollBar();
  ASSERT_GT(vertical->maximum(), 0);
  const int keys = main->KeyCount();
  ASSERT_GT(keys, 2);
  main->ShowDetailAtKey(keys - 1);
  EXPECT_EQ(vertical->value(), std::min(main->ScrollBox1->widget()->height() / 2, vertical->maximum()));
  main->ShowDetailAtKey(0);
  EXPECT_EQ(vertical->value(), 0);
}

TEST_F(StripCommandsTest, DeletingTheFocusedFirstStripShowsTheNewFirst) {
  for (const char* n : {"1", "2", "3"}) CreateStrip(n);
  SelectRows({0}, 0);
  prompts.answers = {PromptAnswer::Yes};
  main->Action("ActionJimeijoDelete")->trigger();
  EXPECT_EQ(Extensions(), (QStringList{"2", "3"}));
  EXPECT_EQ(main->CurrentStripNumber(), 1);
  EXPECT_TRUE(main->pnlText->text().contains(QStringLiteral("内線：2 ")));
  EXPECT_EQ(Violation(), QString());
}

TEST_F(StripCommandsTest, EditWorksOnTheFocusedRowOnly) {
  for (const char* n : {"1", "2", "3"}) CreateStrip(n);
  SelectRows({0, 1, 2}, 1);
  WithDialog("ActionJimeijoEdit", [](TFTelAdd& d) {
    EXPECT_EQ(d.ComboBoxExternal->currentText(), QStringLiteral("2"));
    d.Edit2->setText(QStringLiteral("経理部"));
  });
  EXPECT_EQ(List()->topLevelItem(0)->text(3), QString());
  EXPECT_EQ(List()->topLevelItem(1)->text(3), QStringLiteral("経理部"));
  EXPECT_EQ(List()->topLevelItem(2)->text(3), QString());
  EXPECT_EQ(Violation(), QString());
}
