// The strip entry dialog, driven as a user drives it: typing, picking,
// clicking OK.
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "base/IniFile.h"
#include "base/Mainsub.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/Teladd.h"
#include "TemplateSamples.h"
#include "support/FakePrompts.h"
#include "support/TestFiles.h"

namespace {

QByteArray SeriesLine(int series) { return Sj(SeriesName(series).toUtf8().constData()); }

StripRow Row(int number, int series, const char* type, const char* extension, const char* department,
             const char* user) {
  StripRow row;
  row.number = number;
  row.series = SeriesLine(series);
  row.stripType = Sj(type);
  row.extension = Sj(extension);
  row.department = Sj(department);
  row.userName = Sj(user);
  row.registered = "2026/01/02 03:04";
  return row;
}

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

// Types text as a user does: ASCII by key clicks, anything else as the
// input method commits it.
void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(widget, c.toLatin1());
    } else {
      QInputMethodEvent event;
      event.setCommitString(QString(c));
      QApplication::sendEvent(widget, &event);
    }
  }
}

const QString kNoCopy = QStringLiteral("登録済み使用者情報を使用しない");
const QString kDuplicate = QStringLiteral("すでにこの内線番号は存在します。");

struct TeladdTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  std::unique_ptr<TSettings> settings;
  std::unique_ptr<TFTelAdd> dialog;
  QList<StripRow> rows;

  void SetUp() override {
    WriteTemplate(dir.filePath("Te24.TPL"), TemplateLines("Ｔｅシリーズ主装置", {}));
    WriteTemplate(dir.filePath("te18.tpl"), TemplateLines("Ｔｅシリーズ主装置", {}));
    WriteTemplate(dir.filePath("標準Ｋａ24.TPL"), TemplateLines("Ｋａシリーズ主装置", {}));
    WriteTemplate(dir.filePath("Ｋａ48.TPL"), TemplateLines("Ｋａシリーズ主装置", {}));
    settings = std::make_unique<TSettings>(dir.path());
    dialog = std::make_unique<TFTelAdd>(*settings);
    dialog->SetClock([] { return QDateTime(QDate(2026, 3, 5), QTime(14, 7, 59)); });
    rows = {Row(1, 2, "te18", "101", "営業部", "山田"), Row(2, 2, "Te24", "102", "総務部", "佐藤"),
            Row(3, 2, "te18", "103", "", ""), Row(4, 0, "標準Ｋａ24", "201", "経理部", "鈴木")};
  }

  void ShowCreate(int series = 2) {
    dialog->PrepareCreate(rows, SeriesLine(series));
    dialog->show();
  }
  void ShowEdit(int index) {
    dialog->PrepareEdit(rows, index);
    dialog->show();
  }
  void ClickOk() { QTest::mouseClick(dialog->ButtonOk, Qt::LeftButton); }
  bool Accepted() const { return !dialog->isVisible() && dialog->result() == QDialog::Accepted; }
  void ExpectDuplicateRefused(QLineEdit* numberEdit, const QString& number) {
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, kDuplicate);
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("メッセージ"));
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(numberEdit->text(), number);
    EXPECT_EQ(numberEdit->selectedText(), number);
  }
};

}  // namespace

TEST_F(TeladdTest, ControlsSitWhereTheLayoutPutsThem) {
  EXPECT_EQ(dialog->size(), QSize(442, 336));
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
  EXPECT_EQ(dialog->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
  EXPECT_EQ(dialog->font().pointSize(), 9);
  struct Place {
    QWidget* control;
    QWidget* parent;
    QRect rect;
  };
  const Place places[] = {
      {dialog->GroupBox1, dialog.get(), {10, 10, 421, 104}},
      {dialog->pnlSeries, dialog->GroupBox1, {130, 30, 270, 20}},
      {dialog->cmbType, dialog->GroupBox1, {130, 60, 270, 20}},
      {dialog->GroupBox2, dialog.get(), {10, 130, 421, 164}},
      {dialog->Edit1, dialog->GroupBox2, {100, 30, 300, 20}},
      {dialog->ComboBoxExternal, dialog->GroupBox2, {100, 30, 300, 20}},
      {dialog->Edit2, dialog->GroupBox2, {100, 60, 300, 20}},
      {dialog->Edit3, dialog->GroupBox2, {100, 90, 300, 20}},
      {dialog->ComboBox3, dialog->GroupBox2, {100, 120, 300, 20}},
      {dialog->Panel1, dialog.get(), {0, 296, 442, 40}},
      {dialog->ButtonOk, dialog->Panel1, {272, 10, 75, 23}},
      {dialog->ButtonCancel, dialog->Panel1, {352, 10, 75, 23}},
  };
  for (const Place& p : places) {
    EXPECT_EQ(p.control->parentWidget(), p.parent) << p.control->objectName().toStdString();
    EXPECT_EQ(p.control->geometry(), p.rect) << p.control->objectName().toStdString();
  }
  const std::pair<QLabel*, QPoint> labels[] = {
      {dialog->Label2, {16, 34}}, {dialog->Label3, {16, 64}}, {dialog->Label1, {16, 34}},
      {dialog->Label5, {16, 64}}, {dialog->Label6, {16, 94}}, {dialog->Label4, {16, 124}}};
  for (const auto& [label, pos] : labels) EXPECT_EQ(label->pos(), pos) << label->objectName().toStdString();

  EXPECT_EQ(dialog->GroupBox1->title(), QStringLiteral("示名条情報"));
  EXPECT_EQ(dialog->GroupBox2->title(), QStringLiteral("使用者情報"));
  EXPECT_EQ(dialog->Label2->text(), QStringLiteral("主装置のシリーズ(&S)"));
  EXPECT_EQ(dialog->Label3->text(), QStringLiteral("示名条のタイプ(&P)"));
  EXPECT_EQ(dialog->Label1->text(), QStringLiteral("内線番号(&E)"));
  EXPECT_EQ(dialog->Label5->text(), QStringLiteral("部署(&B)"));
  EXPECT_EQ(dialog->Label6->text(), QStringLiteral("使用者名(&U)"));
  EXPECT_EQ(dialog->Label4->text(), QStringLiteral("複製元指定(&T)"));
  EXPECT_EQ(dialog->ButtonOk->text(), QStringLiteral("OK"));
  EXPECT_EQ(dialog->ButtonCancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  EXPECT_TRUE(dialog->ButtonOk->isDefault());
  EXPECT_FALSE(dialog->cmbType->isEditable());
  EXPECT_FALSE(dialog->ComboBox3->isEditable());
  EXPECT_TRUE(dialog->ComboBoxExternal->isEditable());
  EXPECT_EQ(dialog->pnlSeries->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(dialog->findChild<QComboBox*>("cmbType"), dialog->cmbType);
}

TEST_F(TeladdTest, TabOrderAndMnemonicsLeadToTheirControls) {
  const QList<QWidget*> order{dialog->cmbType, dialog->Edit1, dialog->ComboBoxExternal, dialog->Edit2,
                              dialog->Edit3, dialog->ComboBox3, dialog->ButtonOk, dialog->ButtonCancel};
  QList<QWidget*> chain;
  QWidget* w = dialog->cmbType;
  do {
    if (order.contains(w)) chain << w;
    w = w->nextInFocusChain();
  } while (w != dialog->cmbType && chain.size() < 20);
  EXPECT_EQ(chain, order);

  ShowCreate();
  EXPECT_EQ(dialog->Label3->buddy(), dialog->cmbType);
  EXPECT_EQ(dialog->Label1->buddy(), dialog->Edit1);
  EXPECT_EQ(dialog->Label5->buddy(), dialog->Edit2);
  EXPECT_EQ(dialog->Label6->buddy(), dialog->Edit3);
  EXPECT_EQ(dialog->Label4->buddy(), dialog->ComboBox3);
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  const std::pair<Qt::Key, QWidget*> keys[] = {{Qt::Key_P, dialog->cmbType}, {Qt::Key_B, dialog->Edit2},
                                               {Qt::Key_U, dialog->Edit3}, {Qt::Key_T, dialog->ComboBox3},
                                               {Qt::Key_E, dialog->Edit1}};
  for (const auto& [key, target] : keys) {
    QTest::keyClick(dialog.get(), key, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), target) << target->objectName().toStdString();
  }
  // The series label has nothing to focus.
  QTest::keyClick(dialog.get(), Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), dialog->Edit1);
}

TEST_F(TeladdTest, InEditModeTheExtensionMnemonicLeadsToTheNumberList) {
  ShowEdit(0);
  EXPECT_EQ(dialog->Label1->buddy(), dialog->ComboBoxExternal);
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  QTest::keyClick(dialog.get(), Qt::Key_B, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), dialog->Edit2);
  QTest::keyClick(dialog.get(), Qt::Key_E, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), dialog->ComboBoxExternal);
}

TEST_F(TeladdTest, CreationModeOffersTheSeriesTypesAndTheStripsOfTheChosenType) {
  dialog->Edit1->setText("left over");
  ShowCreate();
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("示名条の作成"));
  EXPECT_EQ(dialog->pnlSeries->text(), QStringLiteral("Ｔｅシリーズ主装置"));
  EXPECT_EQ(Items(dialog->cmbType), (QStringList{"te18", "Te24"}));
  EXPECT_EQ(dialog->cmbType->currentIndex(), 0);
  EXPECT_TRUE(dialog->cmbType->isEnabled());
  EXPECT_TRUE(dialog->ComboBox3->isEnabled());
  EXPECT_TRUE(dialog->Edit1->isVisible());
  EXPECT_FALSE(dialog->ComboBoxExternal->isVisible());
  EXPECT_TRUE(dialog->Edit1->text().isEmpty());
  EXPECT_EQ(dialog->focusWidget(), dialog->Edit1);
  EXPECT_EQ(Items(dialog->ComboBox3),
            (QStringList{kNoCopy, QStringLiteral("101 使用者名：山田"), QStringLiteral("103 使用者名：")}));
  EXPECT_EQ(dialog->ComboBox3->currentIndex(), 0);

  // Choosing another type refills the copy sources and selects "no copy".
  dialog->ComboBox3->setCurrentIndex(2);
  QTest::keyClick(dialog->cmbType, Qt::Key_Down);
  EXPECT_EQ(dialog->cmbType->currentText(), QStringLiteral("Te24"));
  EXPECT_EQ(Items(dialog->ComboBox3), (QStringList{kNoCopy, QStringLiteral("102 使用者名：佐藤")}));
  EXPECT_EQ(dialog->ComboBox3->currentIndex(), 0);
  EXPECT_EQ(dialog->focusWidget(), dialog->Edit1);

  dialog->hide();
  ShowCreate(0);
  // Sorted by character codes, letters folded: 標 (U+6A19) before Ｋ (U+FF2B).
  EXPECT_EQ(Items(dialog->cmbType), (QStringList{"標準Ｋａ24", "Ｋａ48"}));
  EXPECT_EQ(Items(dialog->ComboBox3), (QStringList{kNoCopy, QStringLiteral("201 使用者名：鈴木")}));
}

TEST_F(TeladdTest, OkNeedsATypeAndANumberThatIsNotBlank) {
  ShowCreate();
  EXPECT_FALSE(dialog->ButtonOk->isEnabled());
  QTest::keyClicks(dialog->Edit1, "  ");
  EXPECT_FALSE(dialog->ButtonOk->isEnabled());
  dialog->Edit1->setText(" \t\x01 ");
  EXPECT_FALSE(dialog->ButtonOk->isEnabled());
  // A full-width space is text, not blank.
  dialog->Edit1->setText(QStringLiteral("　"));
  EXPECT_TRUE(dialog->ButtonOk->isEnabled());
  dialog->Edit1->clear();
  QTest::keyClicks(dialog->Edit1, "300");
  EXPECT_TRUE(dialog->ButtonOk->isEnabled());

  // A series without templates: nothing to choose, no OK.
  dialog->hide();
  ShowCreate(6);
  EXPECT_EQ(dialog->cmbType->count(), 0);
  QTest::keyClicks(dialog->Edit1, "300");
  EXPECT_FALSE(dialog->ButtonOk->isEnabled());
  ClickOk();
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(TeladdTest, CreationTrimsTheTextsThenRefusesATakenNumber) {
  ShowCreate();
  QTest::keyClicks(dialog->Edit1, " 101  ");
  TypeText(dialog->Edit2, QStringLiteral("  営業部 "));
  ClickOk();
  ExpectDuplicateRefused(dialog->Edit1, "101");
  EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("営業部"));
  EXPECT_EQ(dialog->focusWidget(), dialog->Edit1);
  EXPECT_TRUE(dialog->resultFields.extension.isEmpty());
}

TEST_F(TeladdTest, CreationFillsTheResultFields) {
  ShowCreate();
  // Full-width digits are another number than the ASCII 101.
  TypeText(dialog->Edit1, QStringLiteral("１０１"));
  TypeText(dialog->Edit2, QStringLiteral("　開発部　"));
  TypeText(dialog->Edit3, QStringLiteral(" 高橋 "));
  dialog->ComboBox3->setCurrentIndex(1);
  ClickOk();
  ASSERT_TRUE(Accepted());
  EXPECT_TRUE(prompts.messages.isEmpty());
  const StripEntry& r = dialog->resultFields;
  EXPECT_EQ(r.seriesName, Sj("Ｔｅシリーズ主装置"));
  EXPECT_EQ(r.stripType, "te18");
  EXPECT_EQ(r.extension, Sj("１０１"));
  EXPECT_EQ(r.department, Sj("　開発部　"));
  EXPECT_EQ(r.userName, Sj("高橋"));
  EXPECT_EQ(r.copySource, Sj("101 使用者名：山田"));
  EXPECT_EQ(r.registered, "2026/03/05 14:07");
}

TEST_F(TeladdTest, CreationWithoutCopyAndWithEmptyNames) {
  ShowCreate();
  QTest::keyClicks(dialog->Edit1, "104");
  ClickOk();
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(dialog->resultFields.extension, "104");
  EXPECT_TRUE(dialog->resultFields.department.isEmpty());
  EXPECT_TRUE(dialog->resultFields.userName.isEmpty());
  EXPECT_EQ(dialog->resultFields.copySource, Sj("登録済み使用者情報を使用しない"));
}

TEST_F(TeladdTest, EditModeShowsTheStripAndKeepsItsNumberWithoutACheck) {
  ShowEdit(2);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("示名条の編集"));
  EXPECT_FALSE(dialog->cmbType->isEnabled());
  EXPECT_FALSE(dialog->ComboBox3->isEnabled());
  EXPECT_FALSE(dialog->Edit1->isVisible());
  EXPECT_TRUE(dialog->ComboBoxExternal->isVisible());
  EXPECT_EQ(Items(dialog->ComboBoxExternal), (QStringList{"101", "102", "103", "201"}));
  EXPECT_EQ(dialog->ComboBoxExternal->currentIndex(), 2);
  EXPECT_EQ(dialog->cmbType->currentText(), QStringLiteral("te18"));
  EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("103"));
  EXPECT_EQ(dialog->focusWidget(), dialog->ComboBoxExternal);
  EXPECT_TRUE(dialog->ButtonOk->isEnabled());

  TypeText(dialog->Edit2, QStringLiteral("総務部"));
  ClickOk();
  ASSERT_TRUE(Accepted());
  EXPECT_TRUE(prompts.messages.isEmpty());
  EXPECT_EQ(dialog->editIndex, 2);
  EXPECT_EQ(dialog->resultFields.extension, "103");
  EXPECT_EQ(dialog->resultFields.department, Sj("総務部"));
  EXPECT_EQ(dialog->resultFields.stripType, "te18");
}

TEST_F(TeladdTest, EditModeRefusesAnotherStripsNumberAndTakesANewOne) {
  ShowEdit(0);
  QLineEdit* number = dialog->ComboBoxExternal->lineEdit();
  number->selectAll();
  QTest::keyClicks(number, "102 ");
  ClickOk();
  ExpectDuplicateRefused(number, "102");
  EXPECT_EQ(dialog->focusWidget(), dialog->ComboBoxExternal);

  number->selectAll();
  TypeText(number, QStringLiteral("１０２"));
  ClickOk();
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(dialog->editIndex, 0);
  EXPECT_EQ(dialog->resultFields.extension, Sj("１０２"));
  EXPECT_EQ(dialog->resultFields.userName, Sj("山田"));

  // A blank number leaves nothing to confirm.
  dialog->show();
  dialog->ComboBoxExternal->setEditText(" ");
  EXPECT_FALSE(dialog->ButtonOk->isEnabled());
}

TEST_F(TeladdTest, EditModePickingAnotherStripEditsThatStrip) {
  ShowEdit(0);
  QTest::keyClick(dialog->ComboBoxExternal, Qt::Key_Down);
  EXPECT_EQ(dialog->editIndex, 1);
  EXPECT_EQ(dialog->cmbType->currentText(), QStringLiteral("Te24"));
  EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("102"));
  EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("総務部"));
  EXPECT_EQ(dialog->Edit3->text(), QStringLiteral("佐藤"));
  ClickOk();  // its own number: no duplicate
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(dialog->resultFields.extension, "102");
  EXPECT_EQ(dialog->resultFields.stripType, "Te24");
  EXPECT_EQ(dialog->resultFields.department, Sj("総務部"));
}

TEST_F(TeladdTest, EditModePickingAStripOfAnotherSeriesKeepsItsSeriesAndType) {
  ShowEdit(0);
  dialog->ComboBoxExternal->setCurrentIndex(3);
  emit dialog->ComboBoxExternal->activated(3);
  EXPECT_EQ(dialog->editIndex, 3);
  EXPECT_EQ(dialog->pnlSeries->text(), QStringLiteral("Ｋａシリーズ主装置"));
  EXPECT_EQ(Items(dialog->cmbType), (QStringList{"標準Ｋａ24", "Ｋａ48"}));
  EXPECT_EQ(dialog->cmbType->currentText(), QStringLiteral("標準Ｋａ24"));
  ClickOk();
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(dialog->resultFields.seriesName, SeriesLine(0));
  EXPECT_EQ(dialog->resultFields.stripType, Sj("標準Ｋａ24"));
  EXPECT_EQ(dialog->resultFields.extension, "201");
}

TEST_F(TeladdTest, EditModeKeepsATypeWhoseTemplateIsGone) {
  rows[1].stripType = Sj("旧型");
  ShowEdit(1);
  EXPECT_EQ(Items(dialog->cmbType), (QStringList{"te18", "Te24", "旧型"}));
  EXPECT_EQ(dialog->cmbType->currentText(), QStringLiteral("旧型"));
  ClickOk();
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(dialog->resultFields.stripType, Sj("旧型"));
}

TEST_F(TeladdTest, CancelLeavesTheResultAlone) {
  ShowCreate();
  QTest::keyClicks(dialog->Edit1, "555");
  QTest::mouseClick(dialog->ButtonCancel, Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_TRUE(dialog->resultFields.extension.isEmpty());
}

TEST_F(TeladdTest, PositionIsWrittenBackWhenTheDialogGoes) {
  dialog->move(40, 60);
  const QPoint pos = dialog->pos();
  dialog.reset();
  IniFile ini(dir.filePath("VRD6S.ini"));
  EXPECT_EQ(ini.ReadInteger("Position", "TelAddTop", -1), pos.y());
  EXPECT_EQ(ini.ReadInteger("Position", "TelAddLeft", -1), pos.x());
}

TEST(EntryTexts, TrimmingStopsAtTheFullWidthSpace) {
  EXPECT_EQ(TrimEntryText(" \t a b \r\n"), QStringLiteral("a b"));
  EXPECT_EQ(TrimEntryText(QStringLiteral("　a　")), QStringLiteral("　a　"));
  EXPECT_EQ(TrimEntryText(QString("\x01\x1F")), QString());
  EXPECT_EQ(RegistrationDate(QDateTime(QDate(2017, 3, 5), QTime(4, 7))), "2017/03/05 04:07");
  EXPECT_EQ(RegistrationDate(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))), "2026/12/31 23:59");
}

TEST_F(TeladdTest, EditModeChecksATypedNumberAsTypedOnEnterTabAndOk) {
  enum class Finish { Enter, TabThenOk, Ok };
  for (Finish finish : {Finish::Enter, Finish::TabThenOk, Finish::Ok}) {
    prompts.messages.clear();
    ShowEdit(0);
    QLineEdit* number = dialog->ComboBoxExternal->lineEdit();
    number->selectAll();
    QTest::keyClicks(number, "102");  // the number of strip 2, nothing else
    if (finish == Finish::Enter) QTest::keyClick(number, Qt::Key_Return);
    if (finish == Finish::TabThenOk) QTest::keyClick(number, Qt::Key_Tab);
    if (finish != Finish::Enter) ClickOk();
    const int how = static_cast<int>(finish);
    EXPECT_EQ(dialog->editIndex, 0) << how;
    EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("営業部")) << how;
    ExpectDuplicateRefused(number, "102");
    dialog->reject();
  }
  // Choosing from the list still loads that strip.
  ShowEdit(0);
  dialog->ComboBoxExternal->showPopup();
  QAbstractItemView* list = dialog->ComboBoxExternal->view();
  list->setCurrentIndex(list->model()->index(1, 0));
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(dialog->editIndex, 1);
  EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("総務部"));
}

TEST_F(TeladdTest, EditKeepsTheBytesOfEveryFieldLeftAloneWhateverItsLength) {
  // NEC-selected IBM extension characters and a broken double-byte pair do
  // not survive decoding and encoding; neither may an edit of another field
  // change them.
  rows[0].extension = QByteArray("10\x81", 3);
  rows[0].department = QByteArray("\xEE\xEF\xED\x40", 4) + Sj("課");
  rows[0].userName = QByteArray(40000, 'a');
  for (const QByteArray* field : {&rows[0].extension, &rows[0].department}) {
    ASSERT_NE(sjis::Encode(sjis::Decode(*field)), *field);
  }
  ShowEdit(0);
  EXPECT_EQ(dialog->Edit3->text().size(), 40000);
  dialog->Edit3->setText(dialog->Edit3->text());  // the same text again: unchanged
  ClickOk();
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(dialog->resultFields.extension, rows[0].extension);
  EXPECT_EQ(dialog->resultFields.department, rows[0].department);
  EXPECT_EQ(dialog->resultFields.userName, rows[0].userName);

  // A field the user changes is encoded once, at any length.
  ShowEdit(0);
  dialog->Edit2->setText(QString(50000, QChar(u'部')));
  ClickOk();
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(dialog->resultFields.department, sjis::Encode(QString(50000, QChar(u'部'))));
  EXPECT_EQ(dialog->resultFields.userName, rows[0].userName);
}
