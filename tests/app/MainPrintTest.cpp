// The print commands of the main window: which strips go to the preview,
// and the messages when there is nothing to print or no printer.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/Main.h"
#include "base/LineIO.h"
#include "print/Adjust.h"
#include "print/Printjimeijocard.h"
#include "print/Printjimeijolist.h"
#include "support/FakePrintSystem.h"
#include "support/FakePrompts.h"
#include "support/StripBuilder.h"
#include "support/TestFiles.h"

namespace {

struct MainPrintTest : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  FakePrintSystem printer;
  std::unique_ptr<TFMain> main = std::make_unique<TFMain>(dir.path());
  std::unique_ptr<TFAdjust> adjust = std::make_unique<TFAdjust>(main->Settings());
  std::unique_ptr<TFPrintJimeijoCard> card = std::make_unique<TFPrintJimeijoCard>(main->Settings());
  std::unique_ptr<TFPrintJimeijoList> list = std::make_unique<TFPrintJimeijoList>(main->Settings());

  void SetUp() override {
    AppWindows windows;
    windows.adjust = adjust.get();
    windows.printCard = card.get();
    windows.printList = list.get();
    main->SetWindows(windows);
    main->show();
  }
  void TearDown() override {
    main->SetWindows({});
    list.reset();
    card.reset();
    adjust.reset();
    main->Document().MarkSaved();
    main.reset();
  }
  void Open(int strips) {
    QList<TestStrip> list;
    for (int i = 0; i < strips; ++i) {
      TestStrip strip;
      strip.extension = QByteArray::number(201 + i);
      list.append(strip);
    }
    const QString path = dir.filePath(QStringLiteral("site.VRD"));
    ASSERT_TRUE(WriteLinesFile(path, DocumentLines(list)));
    ASSERT_TRUE(main->OpenDataFile(path));
  }
  // Runs a command; a window it shows modally is closed at once and noted.
  QString Run(const char* action) {
    QString shown;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (card->isVisible()) {
        shown = QStringLiteral("card");
        selection = card->Selection();
        if (printInPreview) card->ButtonPrint->click();
        card->reject();
      } else if (list->isVisible()) {
        shown = QStringLiteral("list");
        listPages = list->PageCount();
        if (printInPreview) list->ButtonPrint->click();
        list->reject();
      } else if (adjust->isVisible()) {
        shown = QStringLiteral("adjust");
        testPaper = adjust->ComboBoxPaper->currentText();
        adjust->reject();
      }
    });
    watch.start(0);
    main->Action(QString::fromLatin1(action))->trigger();
    return shown;
  }
  void Select(QList<int> rows, int focused) {
    QTreeWidget* list = main->ListView1;
    list->clearSelection();
    list->setCurrentItem(list->topLevelItem(focused), 0, QItemSelectionModel::NoUpdate);
    for (int r : rows) list->topLevelItem(r)->setSelected(true);
  }
  QList<int> selection;
  bool printInPreview = false;  // "印刷" is pressed in a preview before it closes
  int listPages = 0;
  QString testPaper;
};

}  // namespace

TEST_F(MainPrintTest, SelectedRowsInListOrderOrElseTheFocusedRowGoToThePreview) {
  Open(3);
  Select({2, 0}, 1);
  EXPECT_EQ(Run("ActionFilePrint"), QStringLiteral("card"));
  EXPECT_EQ(selection, (QList<int>{0, 2}));
  EXPECT_TRUE(card->Selection().isEmpty());  // discarded when the preview closed
  Select({}, 1);
  EXPECT_EQ(Run("ActionFilePrint"), QStringLiteral("card"));
  EXPECT_EQ(selection, (QList<int>{1}));
  EXPECT_EQ(Run("ActionFilePrintList"), QStringLiteral("list"));
  EXPECT_EQ(listPages, 1);
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(MainPrintTest, NothingToPrintAndNoPrinter) {
  EXPECT_EQ(Run("ActionFilePrint"), QString());  // an empty list: nothing happens
  EXPECT_EQ(Run("ActionFilePrintList"), QString());
  EXPECT_TRUE(prompts.messages.isEmpty());
  EXPECT_EQ(Run("ActionFileSetup"), QStringLiteral("adjust"));

  Open(1);
  printer.printers.clear();
  EXPECT_EQ(Run("ActionFilePrint"), QString());
  EXPECT_EQ(Run("ActionFileSetup"), QString());
  EXPECT_EQ(Run("ActionFilePrintList"), QString());
  ASSERT_EQ(prompts.messages.size(), 3);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("プリンターがインストールされていません。"));
  EXPECT_EQ(prompts.messages[1].text, QStringLiteral("プリンタがインストールされていません。"));
  EXPECT_EQ(prompts.messages[2].text, QStringLiteral("プリンターがインストールされていません。"));
  for (const RecordedMessage& m : prompts.messages) {
    EXPECT_EQ(m.title, QStringLiteral("エラー"));
    EXPECT_EQ(m.icon, PromptIcon::Stop);
  }
}

TEST_F(MainPrintTest, PdfExportWritesTheSelectedStripsToTheChosenFileWithoutAPrinter) {
  const auto pageCount = [](const QString& path) {
    QByteArray bytes;
    if (!ReadFileBytes(path, &bytes) || !bytes.startsWith("%PDF")) return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return static_cast<int>(QString::fromLatin1(bytes).count(page));
  };
  EXPECT_EQ(Run("ActionFileExportPdf"), QString());  // an empty list: no dialog
  EXPECT_TRUE(prompts.saveDialogs.isEmpty());
  Open(3);
  printer.printers.clear();  // a PDF needs no printer
  Select({2, 0}, 1);
  prompts.files.push_back(dir.filePath(QStringLiteral("cards")));
  Run("ActionFileExportPdf");
  ASSERT_EQ(prompts.saveDialogs.size(), 1);
  EXPECT_EQ(prompts.saveDialogs[0].title, QStringLiteral("PDFに出力"));
  EXPECT_EQ(prompts.saveDialogs[0].defaultExtension, QStringLiteral("pdf"));
  EXPECT_EQ(prompts.saveDialogs[0].fileName, QStringLiteral("site.pdf"));
  EXPECT_EQ(pageCount(dir.filePath(QStringLiteral("cards.pdf"))), 2);
  Select({}, 1);
  prompts.files.push_back(dir.filePath(QStringLiteral("one.pdf")));
  Run("ActionFileExportPdf");
  EXPECT_EQ(pageCount(dir.filePath(QStringLiteral("one.pdf"))), 1);
  EXPECT_TRUE(prompts.messages.isEmpty());

  Run("ActionFileExportPdf");  // cancelled: nothing written, nothing said
  EXPECT_TRUE(prompts.messages.isEmpty());
  prompts.files.push_back(dir.filePath(QStringLiteral("missing/x.pdf")));
  Run("ActionFileExportPdf");
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_TRUE(prompts.messages[0].text.startsWith(QStringLiteral("PDFファイルを保存できませんでした。")));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing"))));
}

// The adjustment's test print starts on the paper the current strip prints on.
TEST_F(MainPrintTest, TheTestPrintStartsOnTheCurrentStripsPaper) {
  EXPECT_EQ(Run("ActionFileSetup"), QStringLiteral("adjust"));
  EXPECT_EQ(testPaper, QStringLiteral("A4"));  // no strip
  struct Row {
    const char* series;
    const char* type;
    const char* paper;
  } rows[] = {{"Ｔｅシリーズ主装置", "Ｔｅ標準", "A5"},
              {"Ｋａシリーズ主装置", "Ｋａ拡張48ボタン", "A4"},
              {"Ｒｕシリーズ主装置", "Ｒｕ36ボタン", "B5"}};
  QList<TestStrip> strips;
  for (const Row& row : rows) {
    TestStrip strip;
    strip.extension = QByteArray::number(201 + strips.size());
    strip.series = Sj(row.series);
    strip.type = Sj(row.type);
    strips.append(strip);
  }
  const QString path = dir.filePath(QStringLiteral("papers.VRD"));
  ASSERT_TRUE(WriteLinesFile(path, DocumentLines(strips)));
  ASSERT_TRUE(main->OpenDataFile(path));
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(rows[i].type);
    main->ListView1SelectItem(i);
    EXPECT_EQ(Run("ActionFileSetup"), QStringLiteral("adjust"));
    EXPECT_EQ(testPaper, QString::fromUtf8(rows[i].paper));
  }
}

// The status line says what a print or an export sent, with the count.
TEST_F(MainPrintTest, TheStatusLineSaysWhatWasPrintedOrWritten) {
  Open(3);
  Select({0, 2}, 0);
  printInPreview = true;
  PrintChoice twice;
  twice.copies = 2;
  twice.collate = true;
  printer.dialogAnswers = {twice, PrintChoice{}};
  EXPECT_EQ(Run("ActionFilePrint"), QStringLiteral("card"));
  EXPECT_EQ(printer.jobs.size(), 4);
  EXPECT_EQ(main->StatusText(), QStringLiteral("\u3000示名条の印刷ジョブを4件プリンタに送りました"));
  EXPECT_EQ(Run("ActionFilePrintList"), QStringLiteral("list"));
  EXPECT_EQ(main->StatusText(), QStringLiteral("\u3000示名条一覧を1ページ印刷しました"));
  EXPECT_EQ(printer.jobs.last().title, QStringLiteral("示名条一覧"));

  prompts.files.push_back(dir.filePath(QStringLiteral("cards.pdf")));
  Run("ActionFileExportPdf");
  EXPECT_EQ(main->StatusText(), QStringLiteral("\u3000示名条2件をPDFに出力しました：%1")
                                    .arg(QDir::toNativeSeparators(dir.filePath(QStringLiteral("cards.pdf")))));
  EXPECT_TRUE(prompts.messages.isEmpty());
}
