// The designer through its window: shipped templates saved unchanged, a key
// dragged in grid steps, twenty mixed edits taken back, refused field values,
// and the example telephone from the grid command to a strip's card.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "DesignerFixture.h"
#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "designer/DesignPanel.h"
#include "designer/TestStrip.h"
#include "document/Series.h"
#include "document/StripCreation.h"
#include "document/Template.h"
#include "print/PdfExport.h"
#include "support/FakePrintSystem.h"

namespace {

QString FieldText(DesignerWindow& window, Field field) {
  return qobject_cast<QLineEdit*>(window.Panel()->Editor(field))->text();
}

const char kShippedTe[] = "Ｔｅ24ボタン.TPL";

}  // namespace

TEST_F(DesignerTest, EveryShippedTemplateSavedUnchangedIsTheSameFileInTheUsersFolder) {
  const QStringList names = QDir(Shipped(QString())).entryList({"*.TPL"}, QDir::Files);
  ASSERT_EQ(names.size(), FileLocations::ShippedTemplateNames().size());
  for (const QString& name : names) {
    AnswerYes();
    ASSERT_TRUE(window->OpenTemplate(Shipped(name))) << name.toStdString();
    EXPECT_FALSE(window->Design().IsChanged());
    ASSERT_TRUE(window->Save()) << name.toStdString() << " " << prompts.messages.value(prompts.messages.size() - 1).text.toStdString();
    EXPECT_EQ(ReadBytes(UserFile(name)), ReadBytes(Shipped(name))) << name.toStdString();
    EXPECT_EQ(ReadBytes(Shipped(name)), ReadBytes(QStringLiteral(SOURCE_DIR "/data/") + name));  // never written over
    EXPECT_FALSE(window->Design().IsChanged());
    prompts.answers.clear();
  }
}

TEST_F(DesignerTest, DraggingAKeyMovesItInGridStepsAndThePanelFollows) {
  ASSERT_TRUE(window->OpenTemplate(Shipped(kShippedTe)));
  window->Sheet()->SetScale(5);
  const StripTemplate& model = window->Design().Model();
  const ItemRef key{0, 3};
  const auto rect = [&] { return SheetRectOf(model, key); };
  const auto expectPanelFollows = [&] {
    EXPECT_EQ(FieldText(*window, Field::kOutlineX), QString::number(model.groups[0].keys[3].outline.x.value().ToDouble(), 'f', 4));
  };
  const QRectF before = rect();
  // 3.3 mm right and 1.1 mm up: 3.5 and 1 in steps of 0.5 mm.
  Drag(window->Sheet(), before.center(), before.center() + QPointF(3.3, -1.1));
  EXPECT_EQ(window->Design().Selected(), Selection{key});
  EXPECT_NEAR(rect().left() - before.left(), 3.5, 1e-9);
  EXPECT_NEAR(rect().top() - before.top(), -1.0, 1e-9);
  expectPanelFollows();

  // A finer grid, then the arrow keys: 0.1 mm, and 1 mm with Shift.
  const QRectF after = rect();
  window->Sheet()->SetGridStep(Decimal4::FromDouble(0.25));
  Drag(window->Sheet(), after.center(), after.center() + QPointF(0.3, 0));
  EXPECT_NEAR(rect().left() - after.left(), 0.25, 1e-9);
  QTest::keyClick(window->Sheet(), Qt::Key_Right);
  QTest::keyClick(window->Sheet(), Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_NEAR(rect().left() - after.left(), 0.35, 1e-9);
  EXPECT_NEAR(rect().top() - after.top(), 1.0, 1e-9);
  expectPanelFollows();
}

TEST_F(DesignerTest, UndoOfTwentyMixedEditsGivesTheOpenedBytesBack) {
  ASSERT_TRUE(window->OpenTemplate(Shipped(QStringLiteral("標準Ｋａ24ボタン.TPL"))));
  const QByteArray opened = window->Design().Model().ToBytes();
  TemplateDesign& design = window->Design();
  DesignSheet* sheet = window->Sheet();
  DesignPanel* panel = window->Panel();
  sheet->SetScale(4);
  const auto rect = [&](ItemRef item) { return SheetRectOf(design.Model(), item); };
  GridDescription grid = KeyGrid(2, 2, {Sj("保留")});
  grid.groups[0].x = Decimal4::FromInt(20);
  grid.groups[0].y = Decimal4::FromInt(150);
  const std::function<void()> edits[] = {
      [&] { Drag(sheet, rect({0, 0}).center(), rect({0, 0}).center() + QPointF(2, 3)); },
      [&] { QTest::keyClick(sheet, Qt::Key_Left); },
      [&] { panel->Commit(Field::kOutlineWidth, QStringLiteral("12.3456")); },
      [&] { Click(sheet, rect({0, 1}).center(), Qt::ShiftModifier); panel->Commit(Field::kLabelSize, QStringLiteral("9")); },
      [&] { panel->Commit(Field::kLabelBold, true); },
      [&] { design.Select({{0, 2}}); Drag(sheet, rect({0, 2}).bottomRight(), rect({0, 2}).bottomRight() + QPointF(2, 1)); },
      [&] { window->AddGridKeys(grid); },
      [&] { design.Select({{0, 4}, {0, 5}, {0, 6}}); panel->Commit(Field::kFixedText, QStringLiteral("外線")); },
      [&] { panel->Commit(Field::kFixedSize, QStringLiteral("11")); },
      [&] { design.Select({{0, 7}}); panel->Commit(Field::kKeyNumber, QStringLiteral("42")); },
      [&] { design.Select({{0, -1}}); QTest::keyClick(sheet, Qt::Key_Down, Qt::ShiftModifier); },
      [&] { panel->Commit(Field::kShowNumbers, false); },
      [&] { window->SeriesBox(2)->click(); },
      [&] { design.Select({{0, 0}, {0, 20}}); design.Edit("整列", [&](StripTemplate& t) { AlignItems(t, design.Selected(), Align::kLeft); }); },
      [&] { design.Edit("等間隔", [&](StripTemplate& t) { DistributeItems(t, {{0, 1}, {0, 2}, {0, 3}}, false); }); },
      [&] { design.Edit("番号", [&](StripTemplate& t) { RenumberKeys(t, AllItems(t), 5); }); },
      [&] { design.Select({{0, 15}}); design.Edit("複製", [&](StripTemplate& t) { DuplicateItems(t, design.Selected(), Decimal4::FromInt(2)); }); },
      [&] { design.Select({{0, 16}, {1, -1}}); design.Edit("削除", [&](StripTemplate& t) { DeleteItems(t, design.Selected()); }); },
      [&] { window->FreeTitleField()->setText(QStringLiteral("試作")); emit window->FreeTitleField()->editingFinished(); },
      [&] { design.Select({{0, 0}}); panel->Commit(Field::kTextHeight, QStringLiteral("4.5")); },
  };
  for (int i = 0; i < 20; ++i) {
    edits[i]();
    ASSERT_EQ(design.History().count(), i + 1) << "edit " << i + 1 << " made no step";
  }
  EXPECT_NE(design.Model().ToBytes(), opened);
  while (design.History().canUndo()) design.History().undo();
  EXPECT_EQ(design.Model().ToBytes(), opened);
  EXPECT_FALSE(design.IsChanged());
  while (design.History().canRedo()) design.History().redo();
  EXPECT_NE(design.Model().ToBytes(), opened);
}

TEST_F(DesignerTest, NumberFieldsRefuseTextNegativeSizesAndValuesBeyondTheSheetSayingWhy) {
  ASSERT_TRUE(window->OpenTemplate(Shipped(kShippedTe)));  // 148 x 210 mm
  window->Design().Select({{0, 0}});
  const QByteArray opened = window->Design().Model().ToBytes();
  const struct {
    Field field;
    const char *text, *reason;  // the reason: part of the message
  } cases[] = {
      {Field::kOutlineX, "abc", "数値"},           {Field::kOutlineX, "１２", "数値"},
      {Field::kOutlineWidth, "-3", "0より大きく"}, {Field::kOutlineWidth, "0", "0より大きく"},
      {Field::kOutlineWidth, "149", "用紙"},       {Field::kOutlineY, "500", "用紙の外"},
      {Field::kOutlineX, "-50", "用紙の外"},       {Field::kTextHeight, "1.23456", "4桁"},
      {Field::kLabelSize, "7.5", "整数"},          {Field::kLabelSize, "0", "1から99"},
      {Field::kKeyNumber, "x", "整数"},            {Field::kKeyNumber, "1000", "1から999"},
      {Field::kFixedText, "あいうえおかきくけこさ", "20バイト"},
      {Field::kOutlineX, "1e3", "数値"},           {Field::kOutlineX, "", "数値"},
  };
  for (const auto& c : cases) {
    prompts.messages.clear();
    EXPECT_FALSE(window->Panel()->Commit(c.field, QString::fromUtf8(c.text))) << c.text;
    ASSERT_EQ(prompts.messages.size(), 1) << c.text;
    EXPECT_TRUE(prompts.messages[0].text.contains(QString::fromUtf8(c.reason)))
        << c.text << ": " << prompts.messages[0].text.toStdString();
  }
  EXPECT_EQ(window->Design().Model().ToBytes(), opened);
  EXPECT_EQ(window->Design().History().count(), 0);
  // A typed field that is refused shows the template's value again.
  auto* edit = qobject_cast<QLineEdit*>(window->Panel()->Editor(Field::kOutlineWidth));
  edit->setText(QStringLiteral("-1"));
  edit->setModified(true);
  emit edit->editingFinished();
  EXPECT_EQ(edit->text().toDouble(), window->Design().Model().groups[0].keys[0].outline.width.value().ToDouble());
}

TEST_F(DesignerTest, TheExampleTelephoneFromTheGridCommandToAStripsCard) {
  // 2 columns of 12 keys, outlines 38 x 9 mm, numbers left, 保留 and 転送 below.
  window->NameField()->setText(QStringLiteral("例の電話機"));
  emit window->NameField()->textEdited(QStringLiteral("例の電話機"));
  const int te = SeriesIndexOf(QStringLiteral("Ｔｅシリーズ主装置"));
  window->SeriesBox(te)->click();
  ASSERT_TRUE(window->AddGridKeys(KeyGrid(12, 2, {Sj("保留"), Sj("転送")})));
  const StripTemplate designed = window->Design().Model();
  ASSERT_EQ(designed.KeyCount(), 26);
  ASSERT_TRUE(window->Save());
  EXPECT_EQ(ReadBytes(UserFile(QStringLiteral("例の電話機.TPL"))), designed.ToBytes());
  // The outlines as designed: 38 x 9 mm, 1 mm apart, the fixed keys below.
  EXPECT_EQ(SheetRectOf(designed, {0, 0}), QRectF(11.5, 11.5, 38, 9));
  EXPECT_EQ(SheetRectOf(designed, {0, 12}).topLeft(), QPointF(50.5, 11.5));
  EXPECT_EQ(SheetRectOf(designed, {1, 1}).topLeft(), QPointF(50.5, 11.5 + 12 * 10 - 1 + 1.5 + 5 + 1.5));

  // The entry dialog offers it for the series, and a strip is made from it.
  const QByteArray series = sjis::Encode(SeriesName(te));
  EXPECT_TRUE(DiscoverStripTypes(locations.TemplateFolders(), series).contains(QStringLiteral("例の電話機")));
  StripDocument document;
  const StripEntry entry{.seriesName = series, .stripType = Sj("例の電話機"), .extension = "201",
                         .copySource = Sj(kNoCopySourceText), .registered = "2026/12/09 12:00"};
  const std::optional<qsizetype> start = CreateStrip(document, entry, {}, locations.TemplateFolders());
  ASSERT_TRUE(start);

  // Every key lands on the card where the designer put it (1 pixel a millimetre).
  const CardCanvas canvas{Decimal4(), Decimal4(), Decimal4::FromInt(1), Decimal4::FromInt(1)};
  const std::vector<CardKey> card = PlanStripCard(document.lines(), *start, canvas, PrintAdjustment{});
  ASSERT_EQ(card.size(), 26u);
  for (int k = 0; k < 26; ++k) {
    const QRectF text = SheetTextRectOf(designed, ItemOfKey(designed, k));
    const auto& got = card[k].text;
    EXPECT_NEAR(got.left.ToDouble(), text.left(), 0.1) << k;
    EXPECT_NEAR(got.top.ToDouble(), text.top(), 0.1) << k;
    EXPECT_NEAR(got.right.ToDouble(), text.right(), 0.1) << k;
    EXPECT_NEAR(got.bottom.ToDouble(), text.bottom(), 0.1) << k;
  }

  // The test strip: printed on A5 with the adjustment, and the same page as PDF.
  FakePrintSystem printer;
  window = std::make_unique<DesignerWindow>(locations, [] {
    return PrintAdjustment{Decimal4::FromDouble(1.5), Decimal4::FromDouble(-2)};
  });
  ASSERT_TRUE(window->OpenTemplate(UserFile(QStringLiteral("例の電話機.TPL"))));
  ASSERT_TRUE(window->TestPrint());
  ASSERT_EQ(printer.jobs.size(), 1);
  EXPECT_EQ(printer.jobs[0].paper, QPageSize::A5);
  prompts.files.push_back(root.filePath("test.pdf"));
  ASSERT_TRUE(window->ExportPdf());
  EXPECT_TRUE(ReadBytes(root.filePath("test.pdf")).startsWith("%PDF"));
}

TEST_F(DesignerTest, SavingRefusesBadNamesAndErrorsAsksAboutTheUsersOwnAndClosingAsks) {
  ASSERT_TRUE(window->OpenTemplate(Shipped(kShippedTe)));
  const auto lastMessage = [&] { return prompts.messages.value(prompts.messages.size() - 1).text; };
  for (const auto& [name, message] : {std::pair{"", "タイプ名を入力"}, {"a.b", "「.」"}, {"a/b", "使えない文字"}}) {
    EXPECT_FALSE(window->SaveAs(QString::fromUtf8(name))) << name;
    EXPECT_TRUE(lastMessage().contains(QString::fromUtf8(message))) << lastMessage().toStdString();
    EXPECT_EQ(window->Design().StripType(), QStringLiteral("Ｔｅ24ボタン"));
  }
  // An error refuses, naming it.
  window->Design().Edit("幅", [](StripTemplate& t) { t.groups[0].keys[0].textArea.width = Decimal4(); });
  prompts.messages.clear();
  EXPECT_FALSE(window->SaveAs(QStringLiteral("試作")));
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_TRUE(lastMessage().contains(window->Design().Faults().first().reason));
  EXPECT_FALSE(QFileInfo::exists(UserFile(QStringLiteral("試作.TPL"))));
  window->Design().History().undo();

  // Saved once; another design of that name asks before it replaces it.
  AnswerYes(1);
  ASSERT_TRUE(window->SaveAs(QStringLiteral("試作")));
  ASSERT_TRUE(window->OpenTemplate(Shipped(kShippedTe)));
  prompts.answers = {PromptAnswer::No};
  if (!window->Design().Faults().isEmpty()) prompts.answers.push_front(PromptAnswer::Yes);  // the warnings
  EXPECT_FALSE(window->SaveAs(QStringLiteral("試作")));
  EXPECT_TRUE(lastMessage().contains(QStringLiteral("置き換えますか")));

  // Closing with unsaved changes asks as the main window does; Cancel keeps the window.
  window->show();
  window->SeriesBox(0)->click();
  prompts.answers = {PromptAnswer::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_EQ(lastMessage(), QStringLiteral("示名条タイプが変更されています。\n保存しますか？"));
  prompts.answers = {PromptAnswer::No};
  EXPECT_TRUE(window->close());
}

TEST_F(DesignerTest, TheKaSheetFollowsTheNameAndFaultsSelectTheirKey) {
  ASSERT_TRUE(window->OpenTemplate(Shipped(QStringLiteral("標準Ｋａ24ボタン.TPL"))));
  EXPECT_TRUE(window->SheetNoteLabel()->text().contains(QStringLiteral("縦")));
  const QSize portrait = window->Sheet()->sizeHint();
  emit window->NameField()->textEdited(QStringLiteral("Ｋａ特注"));
  EXPECT_TRUE(window->SheetNoteLabel()->text().contains(QStringLiteral("横")));
  EXPECT_GT(window->Sheet()->sizeHint().width(), portrait.width());

  // Two outlines on top of each other: a warning naming the key, which a click selects.
  window->Design().Edit("移動", [](StripTemplate& t) { t.groups[0].keys[1].outline = t.groups[0].keys[0].outline; });
  QListWidget* faults = window->FaultList();
  ASSERT_GT(faults->count(), 0);
  QListWidgetItem* item = faults->item(faults->count() - 1);
  const int key = item->data(Qt::UserRole).toInt();
  ASSERT_GE(key, 0);
  emit faults->itemClicked(item);
  EXPECT_EQ(window->Design().Selected(), Selection{ItemOfKey(window->Design().Model(), key)});
}
