// The designer through its window: shipped templates saved unchanged, a key
// dragged in grid steps, twenty mixed edits taken back, refused field values,
// and the example telephone from the grid command to a strip's card.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>

#include "DesignerFixture.h"
#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "designer/DesignPanel.h"
#include "designer/DesignSheet.h"
#include "designer/TestStrip.h"
#include "document/Series.h"
#include "document/StripCreation.h"
#include "document/Template.h"
#include "print/PdfExport.h"
#include "support/FakePrintSystem.h"
#include "support/TestFiles.h"

namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, modifiers);
  QApplication::sendEvent(widget, &event);
}

// A drag on the sheet from one point to another, in millimetres of the sheet.
void Drag(DesignSheet* sheet, QPointF fromMm, QPointF toMm) {
  SendMouse(sheet, QEvent::MouseButtonPress, sheet->ToPixel(fromMm), Qt::LeftButton);
  SendMouse(sheet, QEvent::MouseMove, sheet->ToPixel((fromMm + toMm) / 2), Qt::LeftButton);
  SendMouse(sheet, QEvent::MouseMove, sheet->ToPixel(toMm), Qt::LeftButton);
  SendMouse(sheet, QEvent::MouseButtonRelease, sheet->ToPixel(toMm), Qt::NoButton);
}

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
  const QRectF before = SheetRectOf(model, key);
  const QString x = QString::fromLatin1(model.groups[0].keys[3].outline.x.value().ToText());
  // 3.3 mm right and 1.1 mm up: 3.5 and 1 in steps of 0.5 mm.
  Drag(window->Sheet(), before.center(), before.center() + QPointF(3.3, -1.1));
  EXPECT_EQ(window->Design().Selected(), Selection{key});
  const QRectF after = SheetRectOf(window->Design().Model(), key);
  EXPECT_NEAR(after.left() - before.left(), 3.5, 1e-9);
  EXPECT_NEAR(after.top() - before.top(), -1.0, 1e-9);
  EXPECT_EQ(FieldText(*window, Field::kOutlineX),
            QString::number(model.groups[0].keys[3].outline.x.value().ToDouble(), 'f', 4));
  EXPECT_EQ(window->Design().History().undoText(), QStringLiteral("移動"));

  // A finer grid, then the arrow keys: 0.1 mm, and 1 mm with Shift.
  window->Sheet()->SetGridStep(Decimal4::FromDouble(0.25));
  Drag(window->Sheet(), after.center(), after.center() + QPointF(0.3, 0));
  EXPECT_NEAR(SheetRectOf(window->Design().Model(), key).left() - after.left(), 0.25, 1e-9);
  QTest::keyClick(window->Sheet(), Qt::Key_Right);
  QTest::keyClick(window->Sheet(), Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_NEAR(SheetRectOf(window->Design().Model(), key).left() - after.left(), 0.35, 1e-9);
  EXPECT_NEAR(SheetRectOf(window->Design().Model(), key).top() - after.top(), 1.0, 1e-9);
  EXPECT_NE(FieldText(*window, Field::kOutlineX), QString::number(x.toDouble(), 'f', 4));
}

TEST_F(DesignerTest, UndoOfTwentyMixedEditsGivesTheOpenedBytesBack) {
  ASSERT_TRUE(window->OpenTemplate(Shipped(QStringLiteral("標準Ｋａ24ボタン.TPL"))));
  const QByteArray opened = window->Design().Model().ToBytes();
  TemplateDesign& design = window->Design();
  DesignSheet* sheet = window->Sheet();
  sheet->SetScale(4);
  const auto click = [&](ItemRef item, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at = sheet->ToPixel(SheetRectOf(design.Model(), item).center());
    SendMouse(sheet, QEvent::MouseButtonPress, at, Qt::LeftButton, modifiers);
    SendMouse(sheet, QEvent::MouseButtonRelease, at, Qt::NoButton, modifiers);
  };
  const auto drag = [&](ItemRef item, QPointF by) {
    const QPointF from = SheetRectOf(design.Model(), item).center();
    Drag(sheet, from, from + by);
  };
  const auto resize = [&](ItemRef item) {
    design.Select({item});
    const QPointF corner = SheetRectOf(design.Model(), item).bottomRight();
    Drag(sheet, corner, corner + QPointF(2, 1));
  };
  GridDescription grid;
  grid.groups = {GridGroup{2, 2, Decimal4::FromInt(20), Decimal4::FromInt(150)}};
  grid.fixedTexts = {Sj("保留")};
  const std::function<void()> edits[] = {
      [&] { drag({0, 0}, {2, 3}); },
      [&] { QTest::keyClick(sheet, Qt::Key_Left); },
      [&] { window->Panel()->Commit(Field::kOutlineWidth, QStringLiteral("12.3456")); },
      [&] { click({0, 1}, Qt::ShiftModifier); window->Panel()->Commit(Field::kLabelSize, QStringLiteral("9")); },
      [&] { window->Panel()->Commit(Field::kLabelBold, true); },
      [&] { resize({0, 2}); },
      [&] { window->AddGridKeys(grid); },
      [&] { design.Select({{0, 4}, {0, 5}, {0, 6}}); window->Panel()->Commit(Field::kFixedText, QStringLiteral("外線")); },
      [&] { window->Panel()->Commit(Field::kFixedSize, QStringLiteral("11")); },
      [&] { design.Select({{0, 7}}); window->Panel()->Commit(Field::kKeyNumber, QStringLiteral("42")); },
      [&] { design.Select({{0, -1}}); QTest::keyClick(sheet, Qt::Key_Down, Qt::ShiftModifier); },
      [&] { window->Panel()->Commit(Field::kShowNumbers, false); },
      [&] { window->SeriesBox(2)->click(); },
      [&] { design.Select({{0, 0}, {0, 20}}); design.Edit("整列", [&](StripTemplate& t) { AlignItems(t, design.Selected(), Align::kLeft); }); },
      [&] { design.Edit("等間隔", [&](StripTemplate& t) { DistributeItems(t, {{0, 1}, {0, 2}, {0, 3}}, false); }); },
      [&] { design.Edit("番号", [&](StripTemplate& t) { RenumberKeys(t, AllItems(t), 5); }); },
      [&] { design.Select({{0, 15}}); design.Edit("複製", [&](StripTemplate& t) { DuplicateItems(t, design.Selected(), Decimal4::FromInt(2)); }); },
      [&] { design.Select({{0, 16}, {1, -1}}); design.Edit("削除", [&](StripTemplate& t) { DeleteItems(t, design.Selected()); }); },
      [&] { window->FreeTitleField()->setText(QStringLiteral("試作")); emit window->FreeTitleField()->editingFinished(); },
      [&] { design.Select({{0, 0}}); window->Panel()->Commit(Field::kTextHeight, QStringLiteral("4.5")); },
  };
  int steps = 0;
  for (const auto& edit : edits) {
    edit();
    EXPECT_EQ(design.History().count(), ++steps) << "edit " << steps << " made no step";
    steps = design.History().count();
  }
  ASSERT_EQ(steps, 20);
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
  struct Case {
    Field field;
    const char* text;
    const char* reason;  // part of the message
  };
  const Case cases[] = {
      {Field::kOutlineX, "abc", "数値"},           {Field::kOutlineX, "１２", "数値"},
      {Field::kOutlineWidth, "-3", "0より大きく"}, {Field::kOutlineWidth, "0", "0より大きく"},
      {Field::kOutlineWidth, "149", "用紙"},       {Field::kOutlineY, "500", "用紙の外"},
      {Field::kOutlineX, "-50", "用紙の外"},       {Field::kTextHeight, "1.23456", "4桁"},
      {Field::kLabelSize, "7.5", "整数"},          {Field::kLabelSize, "0", "1から99"},
      {Field::kKeyNumber, "x", "整数"},            {Field::kKeyNumber, "1000", "1から999"},
      {Field::kFixedText, "あいうえおかきくけこさ", "20バイト"},
      {Field::kOutlineX, "1e3", "数値"},           {Field::kOutlineX, "", "数値"},
  };
  for (const Case& c : cases) {
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
  GridDescription grid;
  grid.groups = {GridGroup{12, 2, std::nullopt, std::nullopt}};
  grid.fixedTexts = {Sj("保留"), Sj("転送")};
  ASSERT_TRUE(window->AddGridKeys(grid));
  const StripTemplate designed = window->Design().Model();
  ASSERT_EQ(designed.KeyCount(), 26);
  EXPECT_FALSE(HasTemplateErrors(window->Design().Faults()));
  ASSERT_TRUE(window->Save());
  EXPECT_FALSE(window->Design().IsChanged());
  EXPECT_EQ(ReadBytes(UserFile(QStringLiteral("例の電話機.TPL"))), designed.ToBytes());

  // The entry dialog offers it for the series, and a strip is made from it.
  const QByteArray series = sjis::Encode(SeriesName(te));
  EXPECT_TRUE(DiscoverStripTypes(locations.TemplateFolders(), series).contains(QStringLiteral("例の電話機")));
  StripDocument document;
  StripEntry entry;
  entry.seriesName = series;
  entry.stripType = Sj("例の電話機");
  entry.extension = "201";
  entry.copySource = Sj(kNoCopySourceText);
  entry.registered = "2026/12/09 12:00";
  const std::optional<qsizetype> start = CreateStrip(document, entry, {}, locations.TemplateFolders());
  ASSERT_TRUE(start);
  const StripCardsPdf pdf = RenderStripCardsPdf(document, {0}, PrintAdjustment{});
  EXPECT_EQ(pdf.pages, 1);
  EXPECT_TRUE(pdf.pdf.startsWith("%PDF"));

  // Every key lands on the card where the designer put it (1 pixel a millimetre).
  const CardCanvas canvas{Decimal4(), Decimal4(), Decimal4::FromInt(1), Decimal4::FromInt(1)};
  const std::vector<CardKey> card = PlanStripCard(document.lines(), *start, canvas, PrintAdjustment{});
  ASSERT_EQ(card.size(), 26u);
  for (int k = 0; k < 26; ++k) {
    const QRectF text = SheetTextRectOf(designed, ItemOfKey(designed, k));
    EXPECT_NEAR(card[k].text.left.ToDouble(), text.left(), 0.1) << k;
    EXPECT_NEAR(card[k].text.top.ToDouble(), text.top(), 0.1) << k;
    EXPECT_NEAR(card[k].text.right.ToDouble(), text.right(), 0.1) << k;
    EXPECT_NEAR(card[k].text.bottom.ToDouble(), text.bottom(), 0.1) << k;
  }
  // The outlines as designed: 38 x 9 mm, 1 mm apart, the fixed keys below.
  const QRectF first = SheetRectOf(designed, {0, 0});
  EXPECT_EQ(first, QRectF(11.5, 11.5, 38, 9));
  EXPECT_EQ(SheetRectOf(designed, {0, 12}).topLeft(), QPointF(50.5, 11.5));
  EXPECT_EQ(SheetRectOf(designed, {1, 1}).topLeft(), QPointF(50.5, 11.5 + 12 * 10 - 1 + 1.5 + 5 + 1.5));

  // The test strip: printed at true size with the adjustment, and the same page as PDF.
  FakePrintSystem printer;
  window = std::make_unique<DesignerWindow>(locations, [] {
    return PrintAdjustment{Decimal4::FromDouble(1.5), Decimal4::FromDouble(-2)};
  });
  ASSERT_TRUE(window->OpenTemplate(UserFile(QStringLiteral("例の電話機.TPL"))));
  ASSERT_TRUE(window->TestPrint());
  ASSERT_EQ(printer.jobs.size(), 1);
  EXPECT_EQ(printer.jobs[0].title, QStringLiteral("テスト印刷"));
  EXPECT_EQ(printer.jobs[0].paper, QPageSize::A5);
  prompts.files.push_back(root.filePath("test.pdf"));
  ASSERT_TRUE(window->ExportPdf());
  EXPECT_TRUE(ReadBytes(root.filePath("test.pdf")).startsWith("%PDF"));
}

TEST_F(DesignerTest, SavingRefusesBadNamesAndErrorsAsksAboutTheUsersOwnAndClosingAsks) {
  ASSERT_TRUE(window->OpenTemplate(Shipped(kShippedTe)));
  struct Case {
    const char* name;
    const char* message;
  };
  const Case cases[] = {{"", "タイプ名を入力"}, {"a.b", "「.」"}, {"a/b", "使えない文字"}};
  for (const Case& c : cases) {
    prompts.messages.clear();
    EXPECT_FALSE(window->SaveAs(QString::fromUtf8(c.name))) << c.name;
    ASSERT_FALSE(prompts.messages.isEmpty());
    EXPECT_TRUE(prompts.messages.last().text.contains(QString::fromUtf8(c.message))) << prompts.messages.last().text.toStdString();
    EXPECT_EQ(window->Design().StripType(), QStringLiteral("Ｔｅ24ボタン"));
  }
  // An error refuses, naming it.
  window->Design().Select({{0, 0}});
  window->Design().Edit("幅", [](StripTemplate& t) { t.groups[0].keys[0].textArea.width = Decimal4(); });
  prompts.messages.clear();
  EXPECT_FALSE(window->SaveAs(QStringLiteral("試作")));
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_TRUE(prompts.messages[0].text.contains(window->Design().Faults().first().reason));
  EXPECT_FALSE(QFileInfo::exists(UserFile(QStringLiteral("試作.TPL"))));
  window->Design().History().undo();

  // Saved once; another design of that name asks before it replaces it.
  AnswerYes(1);
  ASSERT_TRUE(window->SaveAs(QStringLiteral("試作")));
  ASSERT_TRUE(window->OpenTemplate(Shipped(kShippedTe)));
  prompts.answers = {PromptAnswer::No};
  if (!window->Design().Faults().isEmpty()) prompts.answers.push_front(PromptAnswer::Yes);  // the warnings
  EXPECT_FALSE(window->SaveAs(QStringLiteral("試作")));
  EXPECT_TRUE(prompts.messages.last().text.contains(QStringLiteral("置き換えますか")));

  // Closing with unsaved changes asks as the main window does; Cancel keeps the window.
  window->show();
  window->SeriesBox(0)->click();
  prompts.answers = {PromptAnswer::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_EQ(prompts.messages.last().text, QStringLiteral("示名条タイプが変更されています。\n保存しますか？"));
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
