// The main window's layout rules on real widgets: the splitter rule once a
// drag ends, the scroll rule after the palette came or went, the caption at
// the top, the names a screen reader announces, and the application set-up
// (Japanese standard buttons and dialogs, titles left as set).
#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/Application.h"
#include "app/Main.h"
#include "base/LineIO.h"
#include "support/FakePrompts.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"

namespace {

struct MainRulesTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  std::unique_ptr<TFMain> main;

  // A normal window of the minimum size, with the given settings lines.
  void Start(const QByteArray& checked = "") {
    WriteBytes(dir.filePath("VRD6S.ini"), "[Position]\r\nMainWState=0\r\nMainWidth=1000\r\nMainHeight=738\r\n"
                                          "[Checked]\r\n" + checked);
    main = std::make_unique<TFMain>(dir.path());
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
  }
  void TearDown() override {
    if (!main) return;
    main->Document().MarkSaved();
    main.reset();
  }
  bool Open(const QList<TestStrip>& strips) {
    const QString path = dir.filePath("site.VRD");
    EXPECT_TRUE(WriteLinesFile(path, DocumentLines(strips)));
    return main->OpenDataFile(path);
  }

  // Drags the splitter's handle so that its top lands at `top` (splitter
  // coordinates) and reports the list's height while the mouse is still down.
  int DragSplitterTo(int top) {
    QSplitter* splitter = main->Splitter1;
    QSplitterHandle* handle = splitter->handle(1);
    const QPoint grip(handle->width() / 2, 1);
    auto send = [&](QEvent::Type type, QPoint splitterPos, Qt::MouseButtons buttons) {
      const QPoint local = handle->mapFrom(splitter, splitterPos);
      QMouseEvent event(type, QPointF(local), QPointF(handle->mapToGlobal(local)),
                        type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
      QApplication::sendEvent(handle, &event);
    };
    const QPoint start = handle->mapTo(splitter, grip);
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    for (int y = start.y(); y > top + grip.y(); y -= 40) send(QEvent::MouseMove, {start.x(), y}, Qt::LeftButton);
    send(QEvent::MouseMove, {start.x(), top + grip.y()}, Qt::LeftButton);
    const int duringDrag = main->ListView1->height();
    send(QEvent::MouseButtonRelease, {start.x(), top + grip.y()}, Qt::NoButton);
    return duringDrag;
  }
  int RuleListHeight() const {
    return main->frameGeometry().height() - main->PageControl1->height() - main->StatusBar1->height() -
           main->Splitter1->handleWidth() - main->ToolBar1->height() - 47;
  }
};

}  // namespace

TEST_F(MainRulesTest, SplitterRuleRunsOnceTheDragEndsWithThePaletteShownOrNot) {
  for (const QByteArray palette : {"DispKeyLabel=1\r\n", "DispKeyLabel=0\r\n"}) {
    Start(palette);
    const int before = main->ListView1->height();
    ASSERT_EQ(before, 105);
    // A drag that stays below 390 keeps the height it gave.
    EXPECT_EQ(DragSplitterTo(450), before) << palette.constData();
    EXPECT_EQ(main->ListView1->y() - main->Splitter1->handleWidth(), 450);
    // Above 390 the rule runs when the mouse is released, not on the way.
    const int kept = main->ListView1->height();
    EXPECT_EQ(DragSplitterTo(150), kept) << palette.constData();
    EXPECT_EQ(main->ListView1->height(), RuleListHeight()) << palette.constData();
    // The display keeps at least the palette's height; the list more than its header.
    EXPECT_GT(main->ListView1->height(), 100);
    EXPECT_GE(main->pnlDisp->height(), main->PageControl1->height() - 10);
    main.reset();
  }
}

TEST_F(MainRulesTest, ScrollRuleAfterThePaletteUsesTheNewWidths) {
  // A landscape Ka strip (detail canvas 800 wide) in a window narrower than
  // that, with and without the palette.
  Start("DispKeyLabel=1\r\nDispLayout=0\r\n");
  main->setMinimumSize(600, 738);
  main->resize(700, 738);
  TestStrip strip;
  strip.series = Sj("Ｋａシリーズ主装置");
  strip.type = Sj("Ｋａ４８");
  strip.groups = {TestGroup()};
  strip.groups[0].keys = {TestKey::Editable(1)};
  ASSERT_TRUE(Open({strip}));
  QScrollArea* box = main->ScrollBox1;
  ASSERT_TRUE(box->isVisible());
  for (bool shown : {false, true, false}) {
    main->Action("ActionKeyLabelShow")->trigger();
    ASSERT_EQ(main->pnlKeyLabel->isVisible(), shown);
    QApplication::processEvents();
    const int expected = (box->widget()->width() - box->width()) / 2;
    ASSERT_GT(expected, 0);
    EXPECT_EQ(box->horizontalScrollBar()->value(), expected) << "palette shown: " << shown;
  }
}

TEST_F(MainRulesTest, CaptionStaysAtTheTopWhenNoScrollBoxShows) {
  Start();
  TestStrip noGroups;
  TestStrip tooMany;
  for (int g = 0; g < 2; ++g) {
    TestGroup group;
    for (int k = 0; k < (g == 0 ? 100 : 1); ++k) group.keys.append(TestKey::Editable(k + 1));
    tooMany.groups.append(group);
  }
  for (const TestStrip& strip : {noGroups, tooMany}) {
    ASSERT_TRUE(Open({strip}));
    QApplication::processEvents();
    EXPECT_FALSE(main->ScrollBox1->isVisible());
    EXPECT_FALSE(main->ScrollBox2->isVisible());
    EXPECT_EQ(main->pnlText->y(), 0);
    EXPECT_EQ(main->pnlText->width(), main->pnlDisp->width());
  }
}

TEST_F(MainRulesTest, ToolBarControlsCarryTheirShortHintAsAccessibleName) {
  Start();
  int controls = 0;
  for (QObject* child : main->ToolBar1->children()) {
    auto* control = qobject_cast<QWidget*>(child);
    if (!control || control->objectName().startsWith("qt_")) continue;  // Qt's own extension button
    const std::string what = control->objectName().toStdString();
    if (qobject_cast<QToolButton*>(control)) {
      // What a screen reader announces for the button.
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
      ASSERT_TRUE(accessible);
      EXPECT_EQ(accessible->text(QAccessible::Name), control->toolTip()) << what;
    } else if (!qobject_cast<QComboBox*>(control)) {
      continue;
    }
    ++controls;
    EXPECT_FALSE(control->accessibleName().isEmpty()) << what;
    EXPECT_EQ(control->accessibleName(), control->toolTip()) << what;
    EXPECT_EQ(control->accessibleDescription(), control->statusTip()) << what;
  }
  EXPECT_EQ(controls, 20);
  auto name = [&](const char* control) { return main->findChild<QWidget*>(control)->accessibleName(); };
  EXPECT_EQ(name("ToolButtonNew"), QStringLiteral("新規作成"));
  EXPECT_EQ(name("ToolButtonBold"), QStringLiteral("太字"));
  EXPECT_EQ(name("ComboBoxFont"), QStringLiteral("フォント切替"));
  EXPECT_EQ(name("ComboBoxSeries"), QStringLiteral("主装置のシリーズ切替"));
}

TEST(Application, QtsOwnButtonsAndDialogsSpeakJapanese) {
  ASSERT_TRUE(PrepareApplication(*qApp));
  QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), QStringLiteral("?"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("はい")));
  EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("いいえ")));
  EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().startsWith(QStringLiteral("キャンセル")));
  QFileDialog files;
  files.setOption(QFileDialog::DontUseNativeDialog);
  for (const char* label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
    const QLabel* shown = files.findChild<QLabel*>(label);
    ASSERT_TRUE(shown) << label;
    EXPECT_FALSE(shown->text().contains(QRegularExpression("[A-Za-z]{3}"))) << shown->text().toStdString();
  }
}

TEST(Application, WindowTitlesGetNoApplicationNameAppended) {
  // Qt appends the display name to every window title when one is set; the
  // program's titles ("エラー", "確認", ...) must stay exactly as they are.
  ASSERT_TRUE(PrepareApplication(*qApp));
  EXPECT_EQ(QApplication::applicationName(), QStringLiteral("ラベル工房"));
  QApplication::setApplicationName(QStringLiteral("probe"));
  EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("probe")) << "a display name is set";
  QApplication::setApplicationName(QStringLiteral("ラベル工房"));
}
