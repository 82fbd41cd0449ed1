// The main window with data: opening files, the strip list, laying strips
// out on the real widgets, the all-view jump and the file questions.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/Main.h"
#include "base/LineIO.h"
#include "support/FakePrompts.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"
#include "view/CanvasImage.h"
#include "view/StripRenderer.h"
#include "view/StripView.h"

namespace {

struct MainStripTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  std::unique_ptr<TFMain> main = std::make_unique<TFMain>(dir.path());

  void SetUp() override { main->show(); }
  void TearDown() override {
    // Closing must not ask: leave the document as saved.
    main->Document().MarkSaved();
    main.reset();
  }

  QString WriteDocument(const QString& name, const QList<TestStrip>& strips) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(WriteLinesFile(path, DocumentLines(strips)));
    return path;
  }
  QTreeWidget* List() { return main->ListView1; }
  const KeyControls& Detail(int k) { return main->View().Controls(k, kDetailView); }
};

// The worked example: a Te strip, group at 10, 20, a key whose text area is
// at 1.5, 2, 20 x 8 mm.
TestStrip WorkedExample() {
  TestStrip strip;
  TestGroup group;
  TestKey key = TestKey::Editable(1, {Sj("内線")});
  key.textX = "1.5";
  key.textY = "2";
  key.textWidth = "20";
  key.textHeight = "8";
  group.keys = {key};
  strip.groups = {group};
  return strip;
}

}  // namespace

TEST_F(MainStripTest, OpeningAFileListsItsStripsAndLaysOutTheFirst) {
  TestStrip second = WorkedExample();
  second.extension = "202";
  second.series = Sj("ＳＩＰ対応電話機");
  ASSERT_TRUE(main->OpenDataFile(WriteDocument("site.VRD", {WorkedExample(), second})));
  ASSERT_EQ(List()->topLevelItemCount(), 2);
  EXPECT_EQ(List()->topLevelItem(1)->text(0), QStringLiteral("ＳＩＰ対応電話機"));
  EXPECT_EQ(List()->topLevelItem(1)->text(2), QStringLiteral("202"));
  EXPECT_EQ(main->CurrentStripNumber(), 1);
  EXPECT_EQ(main->KeyCount(), 1);
  EXPECT_EQ(main->pnlText->text(), QStringLiteral("内線：201 電話機のタイプ：Ｔｅ標準 使用者名："));
  EXPECT_FALSE(main->Document().IsChanged());

  // The worked example on the real widgets of the detail view.
  EXPECT_EQ(Detail(0).panel->geometry(), QRect(50, 83, 87, 30));
  EXPECT_EQ(Detail(0).frame->geometry(), QRect(48, 81, 91, 34));
  EXPECT_EQ(main->imgBase1->size(), QSize(650, 793));
  EXPECT_EQ(main->imgBase2->size(), QSize(688, 626));
  EXPECT_TRUE(main->ScrollBox2->isVisible());  // the all view is chosen on a first start

  // Selecting the second row lays out its strip and switches the series.
  List()->setCurrentItem(List()->topLevelItem(1));
  EXPECT_EQ(main->CurrentStripNumber(), 2);
  EXPECT_EQ(main->CurrentSeries(), 6);
  EXPECT_EQ(main->ComboBoxSeries->currentIndex(), 6);
  EXPECT_EQ(main->imgBase1->size(), QSize(800, 971));
}

TEST_F(MainStripTest, ReselectingTheShownRowDoesNotLayItOutAgain) {
  ASSERT_TRUE(main->OpenDataFile(WriteDocument("a.VRD", {WorkedExample()})));
  QWidget* panel = Detail(0).panel;
  List()->clearSelection();
  List()->topLevelItem(0)->setSelected(true);
  EXPECT_EQ(Detail(0).panel, panel);
}

TEST_F(MainStripTest, DoubleClickInTheAllViewJumpsToTheKey) {
  TestStrip strip = WorkedExample();
  TestGroup lower;
  lower.y = "120";
  lower.keys = {TestKey::Editable(2), TestKey::Editable(3)};
  strip.groups.append(lower);
  ASSERT_TRUE(main->OpenDataFile(WriteDocument("b.VRD", {strip})));
  ASSERT_EQ(main->KeyCount(), 3);
  ASSERT_FALSE(main->DetailViewChosen());
  // Inside the second group's rectangle on the all-view canvas.
  const QRect group = PixelRect(main->View().Plan().groups[1].rect[kAllView]);
  QTest::mouseDClick(main->imgBase2, Qt::LeftButton, Qt::NoModifier, group.center());
  EXPECT_TRUE(main->DetailViewChosen());
  EXPECT_TRUE(main->ScrollBox1->isVisible());
  EXPECT_FALSE(main->ScrollBox2->isVisible());
  EXPECT_TRUE(main->Action("ActionEditCut")->isEnabled());

  // Back in the all view, a double-click on a key's face jumps to that key.
  main->Action("ActionShowAll")->trigger();
  ASSERT_FALSE(main->DetailViewChosen());
  KeyImage* face = main->View().Controls(2, kAllView).face;
  QTest::mouseDClick(face, Qt::LeftButton, Qt::NoModifier, face->rect().center());
  EXPECT_TRUE(main->DetailViewChosen());
  EXPECT_EQ(main->focusWidget(), main->View().Controls(2, kDetailView).panel);
}

TEST_F(MainStripTest, DamagedNumbersShowAMessageAndLeaveTheDocumentAlone) {
  TestStrip strip = WorkedExample();
  strip.groups[0].keys[0].text = {QByteArray(25, 'x')};  // would be cut to 20 bytes
  TestKey broken = TestKey::Editable(2);
  broken.size = "big";
  strip.groups[0].keys.append(broken);
  ASSERT_TRUE(main->OpenDataFile(WriteDocument("c.VRD", {strip})));
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("エラー"));
  EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
  EXPECT_FALSE(main->Document().IsChanged());
  EXPECT_EQ(main->KeyCount(), 0);
  EXPECT_FALSE(main->ScrollBox1->isVisible());
  EXPECT_FALSE(main->ScrollBox2->isVisible());
}

TEST_F(MainStripTest, TooManyKeysStopAtTheGroupThatCrossesTheLimit) {
  TestStrip strip;
  for (int g = 0; g < 3; ++g) {
    TestGroup group;
    for (int k = 0; k < (g < 2 ? 50 : 1); ++k) group.keys.append(TestKey::Editable(k + 1));
    strip.groups.append(group);
  }
  ASSERT_TRUE(main->OpenDataFile(WriteDocument("d.VRD", {strip})));
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("ボタンの数が多すぎます。"));
  EXPECT_EQ(main->KeyCount(), 100);
  EXPECT_TRUE(main->pnlText->text().isEmpty());

  prompts.messages.clear();
  strip.groups.removeLast();
  ASSERT_TRUE(main->OpenDataFile(WriteDocument("e.VRD", {strip})));
  EXPECT_TRUE(prompts.messages.isEmpty());
  EXPECT_EQ(main->KeyCount(), 100);
}

TEST_F(MainStripTest, LongTextLinesAreCutAndWrittenBack) {
  TestStrip strip = WorkedExample();
  strip.groups[0].keys[0].text = {QByteArray(19, 'x') + Sj("漢")};
  ASSERT_TRUE(main->OpenDataFile(WriteDocument("f.VRD", {strip})));
  const qsizetype keyLine = main->View().KeyBlockLine(0);
  EXPECT_EQ(main->Document().at(keyLine + 33), QByteArray(19, 'x'));
  EXPECT_TRUE(main->Document().IsChanged());
  EXPECT_EQ(main->View().Editor(0)->toPlainText(), QString(19, 'x'));
}

TEST_F(MainStripTest, ClosingWithChangesAsksAndCancelKeepsTheWindow) {
  ASSERT_TRUE(main->OpenDataFile(WriteDocument("g.VRD", {WorkedExample()})));
  main->Document().Replace(3, "999");
  prompts.answers = {PromptAnswer::Cancel};
  EXPECT_FALSE(main->close());
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("示名条データが変更されています。\n保存しますか？"));
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("確認"));
  EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::YesNoCancel);
  prompts.answers = {PromptAnswer::No};
  EXPECT_TRUE(main->close());
}

TEST_F(MainStripTest, NewEmptiesTheListAndTheView) {
  ASSERT_TRUE(main->OpenDataFile(WriteDocument("h.VRD", {WorkedExample()})));
  main->Action("ActionFileNew")->trigger();
  EXPECT_EQ(List()->topLevelItemCount(), 0);
  EXPECT_EQ(main->KeyCount(), 0);
  EXPECT_TRUE(main->Document().isEmpty());
  EXPECT_TRUE(main->FileName().isEmpty());
  EXPECT_TRUE(main->pnlText->text().isEmpty());
}

TEST_F(MainStripTest, SelectingARangeLaysOutOnlyTheFocusedStrip) {
  QList<TestStrip> strips;
  for (const char* n : {"201", "202", "203"}) {
    strips.append(WorkedExample());
    strips.last().extension = n;
  }
  ASSERT_TRUE(main->OpenDataFile(WriteDocument("r.VRD", strips)));
  QItemSelectionModel* selection = List()->selectionModel();
  const QModelIndex first = List()->model()->index(0, 0);
  const QModelIndex last = List()->model()->index(2, 0);
  selection->setCurrentIndex(List()->model()->index(1, 0), QItemSelectionModel::NoUpdate);
  selection->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  EXPECT_EQ(main->CurrentStripNumber(), 2);
  EXPECT_TRUE(main->pnlText->text().contains(QStringLiteral("内線：202 ")));
}

TEST_F(MainStripTest, ControlsKeptFromStripToStripShowOnlyTheStripsKeys) {
  // Five editable keys; then a key, a fixed key and a key without a panel.
  QList<TestKey> five;
  for (int n = 1; n <= 5; ++n) five.append(TestKey::Editable(n, {Sj("内線")}));
  TestKey fixed = TestKey::Editable(0, {Sj("固定")});
  TestKey noPanel = TestKey::Editable(3);
  noPanel.number = " ";
  const QString path = WriteDocument("two.VRD", {GridStrip(five), GridStrip({five[0], fixed, noPanel})});
  ASSERT_TRUE(main->OpenDataFile(path));
  main->Action("ActionShowDetail")->trigger();
  struct Shown {
    int row, keys;
    QList<bool> panels, frames;  // of the first five controls
  };
  const Shown steps[] = {
      {1, 3, {true, true, false, false, false}, {true, false, false, false, false}},
      {0, 5, {true, true, true, true, true}, {true, true, true, true, true}},
      {1, 3, {true, true, false, false, false}, {true, false, false, false, false}},
  };
  for (const Shown& step : steps) {
    SCOPED_TRACE(step.row);
    List()->setCurrentItem(List()->topLevelItem(step.row));
    ASSERT_EQ(main->KeyCount(), step.keys);
    for (int k = 0; k < 5; ++k) {
      EXPECT_EQ(Detail(k).panel->isVisibleTo(main.get()), step.panels[k]) << k;
      EXPECT_EQ(Detail(k).frame->isVisibleTo(main.get()), step.frames[k]) << k;
    }
    const StripPlan plan = PlanStrip(main->Document().lines(), main->Document().FindStrip(step.row + 1) + 1);
    EXPECT_EQ(Detail(0).face->Image(), RenderKeyFace(main->Document().lines(), plan.keys[0], kDetailView));
    // Only an editable key answers a double-click.
    QSignalSpy doubleClicks(&main->View(), &StripView::KeyFaceDblClick);
    QTest::mouseDClick(Detail(1).face, Qt::LeftButton, Qt::NoModifier, Detail(1).face->rect().center());
    EXPECT_EQ(doubleClicks.size(), step.keys == 5 ? 1 : 0);
    main->Action("ActionEditSelReset")->trigger();
  }
}
