// The main window: its commands, tool bar, status line, toggles and modes.
#include <QAction>
#include <QCoreApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/Main.h"
#include "app/Version.h"
#include "base/IniFile.h"

namespace {

struct MainWindowTest : ::testing::Test {
  QTemporaryDir dir;
  std::unique_ptr<TFMain> main = std::make_unique<TFMain>(dir.path());

  void Restart() {
    main.reset();
    main = std::make_unique<TFMain>(dir.path());
  }
  template <typename T>
  T* Find(const char* name) {
    return main->findChild<T*>(QString::fromLatin1(name));
  }
  QStringList MenuCaptions(const char* menuName) {
    QStringList captions;
    for (QAction* a : Find<QMenu>(menuName)->actions()) {
      captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return captions;
  }
};

}  // namespace

TEST_F(MainWindowTest, MenusHoldEveryCommandWithItsAcceleratorAndShortcut) {
  QStringList titles;
  for (QAction* a : main->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"ファイル(&F)", "編集(&E)", "示名条編集(&S)", "キーラベル(&K)",
                                 "一覧(&L)", "表示(&V)", "書式(&R)", "ヘルプ(&H)"}));
  EXPECT_EQ(MenuCaptions("MenuFile"),
            (QStringList{"新規作成(&N)", "開く(&O)...", "上書き保存(&S)", "名前を付けて保存(&A)...", "-",
                         "印刷位置の微調整(&E)...", "示名条の印刷(&P)...", "示名条一覧の印刷(&L)...", "PDFに出力(&D)...",
                         "CSVに書き出し(&V)...", "CSVから取り込み(&I)...", "最近使ったファイル(&R)", "-", "終了(&X)"}));
  EXPECT_EQ(MenuCaptions("MenuEdit"),
            (QStringList{"元に戻す(&U)", "やり直し(&Y)", "-", "切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "削除(&D)", "-", "画像添付(&G)...",
                         "画像添付解除(&R)", "-", "すべてを選択(&A)", "選択の解除(&X)", "-", "検索(&S)...",
                         "置換(&N)..."}));
  EXPECT_EQ(MenuCaptions("MenuView"),
            (QStringList{"ツールバー(&T)", "ステータスバー(&S)", "-", "詳細画面(&D)", "全体画面(&A)"}));
  EXPECT_EQ(MenuCaptions("MenuFormat"),
            (QStringList{"フォント(&F)...", "左寄せ(&L)", "センタリング(&C)", "右寄せ(&R)", "背景色(&B)"}));
  const std::pair<const char*, QKeySequence> shortcuts[] = {
      {"ActionFileNew", QKeySequence("Ctrl+N")},        {"ActionFileOpen", QKeySequence("Ctrl+O")},
      {"ActionFileSave", QKeySequence("Ctrl+S")},       {"ActionFileSaveAs", QKeySequence("Ctrl+Shift+S")},
      {"ActionFilePrint", QKeySequence("Ctrl+P")},      {"ActionFileExit", QKeySequence("Ctrl+Q")},
      {"ActionEditDelete", QKeySequence(Qt::CTRL | Qt::Key_Delete)},
      {"ActionEditReplace", QKeySequence("Ctrl+R")},    {"ActionEditUndo", QKeySequence("Ctrl+Z")},
      {"ActionHelpAbout", QKeySequence(Qt::Key_F1)},
  };
  for (const auto& [name, keys] : shortcuts) EXPECT_EQ(main->Action(name)->shortcut(), keys) << name;
  EXPECT_EQ(main->Action("ActionEditRedo")->shortcuts(),
            (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
  EXPECT_EQ(main->Action("ActionFileExit")->statusTip(), QStringLiteral("プログラムを終了します"));
  EXPECT_TRUE(main->Action("ActionEditCut")->statusTip().isEmpty());
  EXPECT_EQ(MenuCaptions("PopupMenu2"),
            (QStringList{"示名条の作成(&N)...", "示名条の編集(&E)...", "示名条の削除(&D)", "-",
                         "この示名条のタイプをテンプレートとして保存(&T)..."}));
  EXPECT_EQ(MenuCaptions("PopupMenu1A"),
            (QStringList{"切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "削除(&D)", "-", "画像添付(&G)"}));
}

TEST_F(MainWindowTest, ToolBarButtonsInOrderWithTheirHints) {
  QStringList names;
  for (QObject* child : Find<QToolBar>("ToolBar1")->children()) {
    if (auto* w = qobject_cast<QWidget*>(child); w && w->objectName().startsWith("ToolButton")) {
      names << w->objectName();
    }
  }
  EXPECT_EQ(names.size(), 17);
  auto* save = Find<QToolButton>("ToolButtonSave");
  EXPECT_EQ(save->toolTip(), QStringLiteral("上書き保存"));
  EXPECT_EQ(save->statusTip(), QStringLiteral("データベースを上書きで保存します"));
  EXPECT_EQ(save->width(), 24);
  auto* font = Find<QComboBox>("ComboBoxFont");
  EXPECT_EQ(font->toolTip(), QStringLiteral("フォント切替"));
  EXPECT_EQ(font->statusTip(), QStringLiteral("フォント切替"));
  EXPECT_EQ(font->width(), 132);
  EXPECT_EQ(Find<QComboBox>("ComboBoxSeries")->width(), 150);
  EXPECT_EQ(Find<QComboBox>("ComboBoxFontSize")->width(), 53);
  EXPECT_EQ(Find<QComboBox>("ComboBoxSeries")->count(), 7);
  EXPECT_EQ(Find<QComboBox>("ComboBoxSeries")->itemText(6), QStringLiteral("ＳＩＰ対応電話機"));
}

TEST_F(MainWindowTest, BoldAndItalicFlipThemselvesAlignmentWaitsForAKey) {
  auto* bold = Find<QToolButton>("ToolButtonBold");
  bold->click();
  EXPECT_TRUE(bold->isChecked());
  bold->click();
  EXPECT_FALSE(bold->isChecked());
  // Alignment is pressed by the command only once a key is laid out.
  Find<QToolButton>("ToolButtonLeft")->click();
  EXPECT_FALSE(Find<QToolButton>("ToolButtonLeft")->isChecked());
}

TEST_F(MainWindowTest, StatusLineShowsTheLongHintOrTheNoticeLine) {
  main->show();
  const QString space(QChar(0x3000));
  EXPECT_EQ(main->StatusText(), space + TFVersion::NoticeLine());
  QStatusTipEvent tip(QStringLiteral("既存のデータベースを開きます"));
  QCoreApplication::sendEvent(main.get(), &tip);
  EXPECT_EQ(main->StatusText(), space + QStringLiteral("既存のデータベースを開きます"));
  QStatusTipEvent none((QString()));
  QCoreApplication::sendEvent(main.get(), &none);
  EXPECT_EQ(main->StatusText(), space + TFVersion::NoticeLine());
}

TEST_F(MainWindowTest, FontListMarksScalableFamilies) {
  main->show();
  auto* combo = Find<QComboBox>("ComboBoxFont");
  ASSERT_GT(combo->count(), 0);
  ASSERT_EQ(main->FontList().size(), combo->count());
  for (int i = 0; i < combo->count(); ++i) {
    const QString entry = main->FontList()[i];
    EXPECT_EQ(entry.chopped(1), combo->itemText(i));
    EXPECT_TRUE(entry.endsWith('t') || entry.endsWith('u'));
  }
  EXPECT_EQ(Find<QComboBox>("ComboBoxFontSize")->count(), 20);
  // No strip shown, no key's size: the box is empty, its list still offered.
  EXPECT_EQ(Find<QComboBox>("ComboBoxFontSize")->currentText(), QString());
}

TEST_F(MainWindowTest, TogglesFollowMenuAndButtonAndSurviveARestart) {
  main->show();
  auto* list = Find<QTreeWidget>("ListView1");
  auto* listButton = Find<QToolButton>("ToolButtonListJimeijo");
  EXPECT_TRUE(list->isVisible());
  EXPECT_TRUE(listButton->isChecked());
  listButton->click();
  EXPECT_FALSE(list->isVisible());
  EXPECT_FALSE(listButton->isChecked());
  EXPECT_FALSE(main->Action("ActionListJimeijo")->isChecked());

  main->Action("ActionKeyLabelShow")->trigger();
  EXPECT_FALSE(Find<QWidget>("pnlKeyLabel")->isVisible());
  EXPECT_FALSE(Find<QToolButton>("ToolButtonKeyLabel")->isChecked());

  // Status bar off and on while the list is hidden: the list stays hidden.
  main->Action("ActionShowStatusBar")->trigger();
  EXPECT_FALSE(main->statusBar()->isVisible());
  main->Action("ActionShowStatusBar")->trigger();
  EXPECT_TRUE(main->statusBar()->isVisible());
  EXPECT_FALSE(list->isVisible());

  main->Action("ActionShowToolBar")->trigger();
  EXPECT_FALSE(Find<QToolBar>("ToolBar1")->isVisible());

  Restart();
  main->show();
  EXPECT_FALSE(Find<QTreeWidget>("ListView1")->isVisible());
  EXPECT_FALSE(Find<QWidget>("pnlKeyLabel")->isVisible());
  EXPECT_FALSE(Find<QToolBar>("ToolBar1")->isVisible());
  EXPECT_TRUE(main->statusBar()->isVisible());
}

TEST_F(MainWindowTest, DisplayModeWithoutStripMovesOnlyTheMarks) {
  main->show();
  EXPECT_FALSE(main->DetailViewChosen());
  EXPECT_TRUE(Find<QToolButton>("ToolButtonShowAll")->isChecked());
  EXPECT_TRUE(Find<QScrollArea>("ScrollBox2")->isVisible());
  Find<QToolButton>("ToolButtonShowDetail")->click();
  EXPECT_TRUE(main->DetailViewChosen());
  EXPECT_TRUE(main->Action("ActionShowDetail")->isChecked());
  EXPECT_FALSE(main->Action("ActionShowAll")->isChecked());
  EXPECT_FALSE(Find<QToolButton>("ToolButtonShowAll")->isChecked());
  // No strip: the scroll boxes stay as they were.
  EXPECT_TRUE(Find<QScrollArea>("ScrollBox2")->isVisible());
  // Choosing the chosen mode again changes nothing.
  Find<QToolButton>("ToolButtonShowDetail")->click();
  EXPECT_TRUE(Find<QToolButton>("ToolButtonShowDetail")->isChecked());
  main->Action("ActionShowAll")->trigger();
  EXPECT_FALSE(main->DetailViewChosen());
  Restart();
  EXPECT_FALSE(main->DetailViewChosen());
}

TEST_F(MainWindowTest, EditCommandsStartDisabled) {
  main->show();
  for (const char* name : {"ActionEditCut", "ActionEditPaste", "ActionEditFind", "ActionEditPicOff"}) {
    EXPECT_FALSE(main->Action(name)->isEnabled()) << name;
  }
  for (QAction* a : Find<QMenu>("PopupMenu1A")->actions()) {
    EXPECT_TRUE(a->isSeparator() || !a->isEnabled()) << a->text().toStdString();
  }
  EXPECT_TRUE(main->Action("ActionFileOpen")->isEnabled());
  main->EnableEditCommands(true);
  EXPECT_TRUE(main->Action("ActionEditReplace")->isEnabled());
}
