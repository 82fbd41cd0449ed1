// Undo and redo through the real main window: random actions of every kind
// on the sample site undone to the file's bytes and made again to the final
// bytes, a short sequence saved and compared as files, the editor's own
// typing undone first, and the modified flag following the history.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>

#include "base/ShiftJis.h"
#include "document/StripList.h"
#include "document/Teladd.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "view/KeyFormat.h"
#include "view/KeySearch.h"
#include "view/Viewimage.h"

namespace {

struct MainUndoTest : MainWindowFixture {
  std::unique_ptr<TFTelAdd> telAdd = std::make_unique<TFTelAdd>(main->Settings());
  std::unique_ptr<TFViewImage> viewImage = std::make_unique<TFViewImage>(main->Settings());
  QString sitePath = dir.filePath("site.VRD");
  QString logoPath = dir.filePath("logo.jpg");
  int nextExtension = 700;

  void SetUp() override {
    for (const QString& name : QDir(SOURCE_DIR "/data").entryList({"*.TPL"}, QDir::Files)) {
      QFile::copy(QStringLiteral(SOURCE_DIR "/data/") + name, dir.filePath(name));
    }
    QFile::copy(QStringLiteral(SOURCE_DIR "/samples/sample.VRD"), sitePath);
    WriteBytes(logoPath, JpegBytes(TwoColourImage(60, 20, Qt::red, Qt::blue)));
    AppWindows windows;
    windows.telAdd = telAdd.get();
    windows.viewImage = viewImage.get();
    main->SetWindows(windows);
    MainWindowFixture::SetUp();
    ASSERT_TRUE(main->OpenDataFile(sitePath));
  }
  void TearDown() override {
    main->SetWindows({});
    telAdd.reset();
    viewImage.reset();
    MainWindowFixture::TearDown();
  }

  QTreeWidget* List() { return main->ListView1; }
  int Rows() { return List()->topLevelItemCount(); }
  // A modal dialog of a command gets `steps` once it is shown.
  void WithDialog(QDialog* dialog, const std::function<void()>& steps) {
    QTimer::singleShot(0, [dialog, steps] {
      steps();
      if (dialog->isVisible()) dialog->reject();
    });
  }
  void PickRow(int row) {
    List()->clearSelection();
    List()->setCurrentItem(List()->topLevelItem(row));
  }
  void Type(int k, const QString& text) {
    main->KeyFaceDblClick(k);
    Editor(k)->setPlainText(text);
    main->EndKeyEdit();
  }
  void CreateStrip() {
    const QString extension = QString::number(nextExtension++);
    WithDialog(telAdd.get(), [&, extension] {
      telAdd->Edit1->setText(extension);
      telAdd->ButtonOk->click();
    });
    Trigger("ActionJimeijoNew");
  }
  void DeleteRows(const QList<int>& rows) {
    List()->clearSelection();
    for (int r : rows) List()->topLevelItem(r)->setSelected(true);
    prompts.answers.push_back(PromptAnswer::Yes);
    Trigger("ActionJimeijoDelete");
  }
  void ReplaceAll(const char* find, const char* by) {
    main->ReplaceAllKeyTexts({Sj(find), Sj(by), false, true});
  }
  // Undo (or redo) until the history has no more: the steps taken.
  int StepAll(const char* action) {
    int steps = 0;
    for (; main->Action(action)->isEnabled(); ++steps) Trigger(action);
    return steps;
  }
  int UndoAll() { return StepAll("ActionEditUndo"); }
  int RedoAll() { return StepAll("ActionEditRedo"); }
  std::vector<int> EditableKeys() {
    std::vector<int> keys;
    for (int k = 0; k < main->KeyCount(); ++k) {
      if (main->View().Plan().keys[k].editable) keys.push_back(k);
    }
    return keys;
  }
  void ExpectListAgrees() { EXPECT_EQ(StripListViolation(main->Document(), main->ListRows()), QString()); }
  QByteArray Saved() {
    Trigger("ActionFileSave");
    return ReadBytes(sitePath);
  }
  QString UndoText() { return main->Action("ActionEditUndo")->text(); }
  // Keys pressed with the focus in a tool bar box; the box then shows the
  // current key's format.
  void PressIn(QWidget* box, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    box->setFocus();
    QTest::keyClick(box, key, modifiers);
    const KeyToolbarFormat format =
        ReadKeyToolbarFormat(main->Document().lines(), main->View().KeyBlockLine(main->CurrentKey()));
    EXPECT_EQ(main->ComboBoxFontSize->currentText(), format.sizeText);
    EXPECT_EQ(main->ComboBoxFont->currentText(), format.fontName);
  }

  // One random action of a kind that changes the document.
  void RandomAction(QRandomGenerator& random) {
    if (Rows() == 0) return CreateStrip();
    if (main->KeyCount() == 0 || random.bounded(6) == 0) PickRow(random.bounded(Rows()));
    const std::vector<int> keys = EditableKeys();
    if (keys.empty()) return;
    const int k = keys[random.bounded(static_cast<int>(keys.size()))];
    ClickKey(k);
    switch (random.bounded(14)) {
      case 0: Type(k, QStringLiteral("内線%1\n%2").arg(random.bounded(100)).arg(random.bounded(10))); break;
      case 1: Trigger("ActionEditCut"); break;
      case 2: Trigger("ActionEditPaste"); break;
      case 3: Trigger("ActionEditAllSel"); Trigger("ActionEditDelete"); break;
      case 4: main->ToolButtonBold->click(); break;
      case 5: Trigger(random.bounded(2) ? "ActionFormatRight" : "ActionFormatCenter"); break;
      case 6: TypeSize(QString::number(6 + random.bounded(12)), true); break;
      case 7: main->KeyLabelButtonClick(random.bounded(5)); break;
      case 8:
        WithDialog(viewImage.get(), [&] {
          prompts.files.push_back(logoPath);
          viewImage->ButtonLoad->click();
          viewImage->ButtonOK->click();
        });
        Trigger("ActionEditPicOn");
        break;
      case 9: Trigger("ActionEditPicOff"); break;
      case 10: CreateStrip(); break;
      case 11:
        WithDialog(telAdd.get(), [&] {
          telAdd->Edit3->setText(QStringLiteral("使用者%1").arg(random.bounded(50)));
          telAdd->ButtonOk->click();
        });
        Trigger("ActionJimeijoEdit");
        break;
      case 12: {
        const int first = random.bounded(Rows());
        DeleteRows(first + 1 < Rows() && random.bounded(2) ? QList<int>{first, first + 1} : QList<int>{first});
        break;
      }
      default: ReplaceAll(random.bounded(2) ? "1" : "内線", random.bounded(2) ? "9" : "ナイセン"); break;
    }
  }
};

TEST_F(MainUndoTest, RandomActionsUndoToTheFileAndRedoToTheirEnd) {
  const Lines original = main->Document().lines();
  QRandomGenerator random(20261209);
  for (int i = 0; i < 250; ++i) RandomAction(random);
  const Lines changed = main->Document().lines();
  ASSERT_NE(changed, original);
  ExpectListAgrees();

  const int steps = UndoAll();
  EXPECT_GT(steps, 100);
  EXPECT_EQ(main->Document().lines(), original);
  EXPECT_FALSE(main->Document().IsChanged());
  ExpectListAgrees();
  EXPECT_EQ(RedoAll(), steps);
  EXPECT_EQ(main->Document().lines(), changed);
  ExpectListAgrees();
  for (const RecordedMessage& m : prompts.messages) EXPECT_NE(m.title, QStringLiteral("エラー")) << m.text.toStdString();
}

TEST_F(MainUndoTest, AShortSequenceSavedMatchesTheFilesByteForByte) {
  const QByteArray opened = ReadBytes(sitePath);
  const QStringList rows = [&] {
    QStringList extensions;
    for (int r = 0; r < Rows(); ++r) extensions << List()->topLevelItem(r)->text(2);
    return extensions;
  }();
  const std::vector<int> keys = EditableKeys();
  ASSERT_GE(keys.size(), 2u);
  Type(keys[0], QStringLiteral("受付"));
  ClickKey(keys[1]);
  main->ToolButtonBold->click();
  DeleteRows({1, 2});
  ReplaceAll("1", "9");
  EXPECT_EQ(main->Action("ActionEditUndo")->text(), QStringLiteral("元に戻す(&U): すべて置換"));
  Trigger("ActionFileSave");
  const QByteArray edited = ReadBytes(sitePath);

  EXPECT_EQ(UndoAll(), 4);
  EXPECT_EQ(main->Action("ActionEditRedo")->text(), QStringLiteral("やり直し(&Y): 入力"));
  EXPECT_TRUE(main->Document().IsChanged());  // the saved state is the edited one
  Trigger("ActionFileSave");
  EXPECT_EQ(ReadBytes(sitePath), opened);
  QStringList restored;
  for (int r = 0; r < Rows(); ++r) restored << List()->topLevelItem(r)->text(2);
  EXPECT_EQ(restored, rows);
  ExpectListAgrees();

  EXPECT_EQ(RedoAll(), 4);
  Trigger("ActionFileSave");
  EXPECT_EQ(ReadBytes(sitePath), edited);
  // Back at the state last saved: nothing unsaved, so closing asks nothing.
  Trigger("ActionEditUndo");
  EXPECT_TRUE(main->Document().IsChanged());
  Trigger("ActionEditRedo");
  EXPECT_FALSE(main->Document().IsChanged());
  // Opening a file starts a new history.
  ASSERT_TRUE(main->OpenDataFile(sitePath));
  EXPECT_FALSE(main->Action("ActionEditUndo")->isEnabled());
  EXPECT_EQ(main->History().count(), 0);
}

TEST_F(MainUndoTest, TheEditorUndoesItsTypingFirstThenTheDocument) {
  const int k = EditableKeys().at(0);
  Type(k, QStringLiteral("一"));
  const Lines typedOnce = main->Document().lines();
  main->KeyFaceDblClick(k);
  QTest::keyClicks(Editor(k), QStringLiteral("AB"));
  QTest::keyClick(Editor(k), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(main->EditingKey(), k);
  EXPECT_NE(Editor(k)->toPlainText(), QStringLiteral("一AB"));
  EXPECT_EQ(main->Document().lines(), typedOnce);
  while (Editor(k)->document()->isUndoAvailable()) QTest::keyClick(Editor(k), Qt::Key_Z, Qt::ControlModifier);
  // Nothing left in the editor: the next undo takes back the first typing.
  QTest::keyClick(Editor(k), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(main->Document().IsChanged());
  EXPECT_EQ(main->CurrentKey(), k);
  QTest::keyClick(main.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(main->Document().lines(), typedOnce);
}

// The size and font boxes of the tool bar: a typed size is one step when
// confirmed, and Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z pressed in a box move the
// document's history.
TEST_F(MainUndoTest, SizesTypedInTheToolBarAreOneStepAndItsUndoKeysMoveTheHistory) {
  QComboBox* sizeBox = main->ComboBoxFontSize;
  const std::vector<int> keys = EditableKeys();
  ASSERT_GE(keys.size(), 5u);
  ClickKey(keys[1]);
  TypeSize(QStringLiteral("12"), true);
  const QByteArray atTwelve = Saved();
  // Three keys, the middle one at 12, all typed to 16; undone and redone
  // with each key of the commands.
  ClickKey(keys[0]);
  QTest::mouseClick(main->View().Controls(keys[2], kDetailView).face, Qt::LeftButton, Qt::ShiftModifier);
  TypeSize(QStringLiteral("16"), true);
  EXPECT_EQ(UndoText(), QStringLiteral("元に戻す(&U): 書式"));
  const QByteArray atSixteen = Saved();
  for (const auto redo : {Qt::Key_Y, Qt::Key_Z}) {
    PressIn(sizeBox, Qt::Key_Z);
    EXPECT_EQ(Saved(), atTwelve);
    PressIn(sizeBox, redo, redo == Qt::Key_Z ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
    EXPECT_EQ(Saved(), atSixteen);
  }
  // Typed for one key, then another key clicked: one step, undone whole.
  ClickKey(keys[3]);
  TypeSize(QStringLiteral("16"), true);
  ClickKey(keys[4]);
  EXPECT_EQ(main->History().count(), 3);
  QTest::keyClick(main.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Saved(), atSixteen);
  // A size picked from the list and a font from its box, undone in the
  // boxes; a size typed and not confirmed is dropped by the undo key.
  ClickKey(keys[3]);
  sizeBox->setCurrentIndex(sizeBox->findText(QStringLiteral("20")));
  PressIn(sizeBox, Qt::Key_Down, Qt::NoModifier);
  PressIn(main->ComboBoxFont, Qt::Key_Down, Qt::NoModifier);
  EXPECT_EQ(main->History().index(), 4);
  PressIn(main->ComboBoxFont, Qt::Key_Z);
  PressIn(sizeBox, Qt::Key_Z);
  EXPECT_EQ(Saved(), atSixteen);
  sizeBox->setFocus();
  QTest::keyClicks(sizeBox->lineEdit(), QStringLiteral("7"));
  PressIn(sizeBox, Qt::Key_Z);
  EXPECT_EQ(Saved(), atTwelve);
}

TEST_F(MainUndoTest, StripStepsUndoneAndRedoneShowTheStripTheyTouched) {
  auto editStrip5 = [&] {
    PickRow(4);
    WithDialog(telAdd.get(), [&] {
      telAdd->Edit3->setText(QStringLiteral("使用者"));
      telAdd->ButtonOk->click();
    });
    Trigger("ActionJimeijoEdit");
  };
  // The step, and the strip shown after its undo and its redo: strips put
  // back show the first of them, strips taken away the one in their place.
  const std::tuple<const char*, std::function<void()>, int, int> rows[] = {
      {"示名条の作成", [&] { CreateStrip(); }, 6, 7},
      {"示名条の削除", [&] { DeleteRows({2, 3}); }, 3, 3},
      {"示名条の削除", [&] { DeleteRows({5}); }, 6, 5},
      {"示名条の編集", editStrip5, 5, 5},
  };
  for (const auto& [step, act, afterUndo, afterRedo] : rows) {
    SCOPED_TRACE(step);
    const QByteArray before = Saved();
    act();
    const QByteArray after = Saved();
    EXPECT_EQ(UndoText(), QStringLiteral("元に戻す(&U): ") + QString::fromUtf8(step));
    for (const auto& [action, shown, file] : {std::tuple{"ActionEditUndo", afterUndo, before},
                                              std::tuple{"ActionEditRedo", afterRedo, after}}) {
      PickRow(0);
      Trigger(action);
      EXPECT_EQ(main->CurrentStripNumber(), shown);
      EXPECT_EQ(List()->selectedItems(), QList<QTreeWidgetItem*>{List()->topLevelItem(shown - 1)});
      EXPECT_EQ(Saved(), file);
    }
    Trigger("ActionEditUndo");
    ExpectListAgrees();
  }
}

}  // namespace
