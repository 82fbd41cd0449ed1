// Recovery copies through the real main window: what is typed survives an
// end without questions and is offered at the next start, deleted only by
// a confirmed いいえ; the copy follows undo, saving and discarding; a normal
// exit and a full disk.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

#include "document/RecoveryCopy.h"
#include "support/FailingCalls.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

namespace {

struct RecoveryTest : MainWindowFixture {
  QString site = dir.filePath("site.VRD");
  QByteArray siteBytes = JoinLines(DocumentLines({GridStrip({TestKey::Editable(1, {Sj("内線")}), TestKey::Editable(2)})}));

  void SetUp() override {
    MainWindowFixture::SetUp();
    if (!QFile::exists(site)) WriteBytes(site, siteBytes);
    ASSERT_TRUE(main->OpenDataFile(site));
  }
  QStringList Copies() const { return QDir(dir.filePath("recovery")).entryList({"*.VRD"}, QDir::Files); }
  Lines CopyLines() const {
    return Copies().size() == 1 ? SplitLines(ReadBytes(dir.filePath("recovery/" + Copies()[0]))) : Lines();
  }
  void KeepCopy() {
    main->KeepRecoveryCopy();
    main->Recovery().Wait();
  }
  void TypeInto(int k, const char* text, bool commit) {
    main->KeyFaceDblClick(k);
    QTest::keyClicks(Editor(k), QString::fromLatin1(text));
    if (commit) main->EndKeyEdit();
  }
  // The program ends without its questions, as a killed one does; a new one
  // starts in the same folder with the site open (and offers the copies).
  void Restart() {
    main->Recovery().KeepAtExit();
    main = std::make_unique<TFMain>(dir.path());
    SetUp();
    prompts.messages.clear();
  }
  void RestartAnswering(std::deque<PromptAnswer> answers) {
    Restart();
    prompts.answers = std::move(answers);
    main->OfferRecoveryCopies();
  }
};

}  // namespace

// はい, いいえ and 後で in turn on one copy: いいえ deletes it only once
// confirmed; what was typed is recovered under its file and saved there.
TEST_F(RecoveryTest, TheQuestionRecoversDiscardsAfterAConfirmationOrWaits) {
  using A = PromptAnswer;
  const struct {
    bool typeFirst;
    std::deque<PromptAnswer> answers;
    bool kept, recovered;
  } rows[] = {
      {true, {A::Later}, true, false},
      {false, {A::No, A::No, A::Later}, true, false},  // いいえ taken back: asked again
      {false, {A::No, A::Yes}, false, false},
      {true, {A::Yes}, true, true},
  };
  for (const auto& row : rows) {
    if (row.typeFirst) TypeInto(0, "ABC", false);  // still in the key's editor
    KeepCopy();
    const auto asked = static_cast<qsizetype>(row.answers.size());
    RestartAnswering(row.answers);
    ASSERT_EQ(prompts.messages.size(), asked);
    const QString named = QStringLiteral("\nファイル：") + site + QStringLiteral("\n日時：20");
    EXPECT_TRUE(prompts.messages[0].text.startsWith(QStringLiteral("前回、保存されずに終了した変更があります。復元しますか？") + named));
    EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::YesNoLater);
    if (asked > 1) {
      EXPECT_TRUE(prompts.messages[1].text.startsWith(QStringLiteral("保存されずに終了した変更を削除します。よろしいですか？") + named));
      EXPECT_EQ(prompts.messages[1].defaultAnswer, PromptAnswer::No);
    }
    EXPECT_EQ(Copies().size(), row.kept ? 1 : 0);
    EXPECT_EQ(main->Document().IsChanged(), row.recovered);
    EXPECT_EQ(ReadBytes(site), siteBytes);
  }
  EXPECT_EQ(main->FileName(), site);
  EXPECT_EQ(main->History().count(), 0);
  EXPECT_EQ(Editor(0)->toPlainText(), "ABC");
  Trigger("ActionFileSave");
  EXPECT_TRUE(ReadBytes(site).contains("\r\nABC\r\n"));
  main->Recovery().Wait();
  EXPECT_TRUE(Copies().isEmpty());
}

// The real message box put off in every way, the end of the session (as
// SIGTERM brings it) included: the copy is offered again at the next start.
TEST_F(RecoveryTest, EscapeTheCloseBoxAndTheEndOfTheSessionKeepTheCopy) {
  const std::pair<const char*, std::function<void(QMessageBox*)>> ways[] = {
      {"Escape", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }},
      {"close box", [](QMessageBox* box) { box->close(); }},
      {"後で", [](QMessageBox* box) { box->findChild<QPushButton*>("ButtonLater")->click(); }},
      {"end of the session", [this](QMessageBox*) { main->EndSession(); }},
  };
  TypeInto(0, "ABC", true);
  KeepCopy();
  const Lines copy = CopyLines();
  for (const auto& [way, putOff] : ways) {
    SCOPED_TRACE(way);
    Restart();
    qsizetype buttons = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      poll.stop();
      buttons = box->buttons().size();
      putOff(box);
    });
    poll.start(10);
    Prompts::Install(nullptr);
    main->OfferRecoveryCopies();
    Prompts::Install(&prompts);
    QTest::qWait(100);  // the end of the session goes on once the box is gone
    EXPECT_EQ(buttons, 3);
    EXPECT_FALSE(main->Document().IsChanged());
    EXPECT_EQ(CopyLines(), copy);
    EXPECT_EQ(ReadBytes(site), siteBytes);
  }
}

TEST_F(RecoveryTest, ANeverSavedDocumentAndASiteSavedSinceAreOfferedAsSuch) {
  for (const QString& dataFile : {QString(), site}) {
    {
      RecoveryCopies earlier(dir.filePath("recovery"));
      earlier.Write({SplitLines(siteBytes), {}, {}, dataFile});
      earlier.KeepAtExit();
    }
    QTest::qWait(20);
    WriteBytes(site, siteBytes);  // saved after the copy
    RestartAnswering({PromptAnswer::Yes});
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text.contains(QStringLiteral("：（新規作成・未保存）")), dataFile.isEmpty());
    EXPECT_EQ(prompts.messages[0].text.endsWith(QStringLiteral("この変更より後に保存されています。")), !dataFile.isEmpty());
    EXPECT_EQ(main->FileName(), dataFile);
    EXPECT_TRUE(main->Document().IsChanged());
    main->Document().MarkSaved();
  }
}

TEST_F(RecoveryTest, TheCopyFollowsEveryChangeAndGoesOnSaveDiscardAndExit) {
  const std::pair<std::function<void()>, bool> steps[] = {
      {[&] { TypeInto(1, "X", true); }, true},
      {[&] { Trigger("ActionEditUndo"); }, false},  // back to the saved lines
      {[&] { Trigger("ActionEditRedo"); }, true},
      {[&] { Trigger("ActionFileSave"); }, false},
      {[&] { TypeInto(1, "Y", false); }, true},
      {[&] { prompts.answers = {PromptAnswer::No}; main->OpenDataFile(site); }, false},
      {[&] { TypeInto(0, "Z", false); }, true},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    steps[i].first();
    KeepCopy();
    EXPECT_EQ(Copies().size(), steps[i].second ? 1 : 0) << "step " << i;
  }
  prompts.answers = {PromptAnswer::No};
  main->close();
  main.reset();
  EXPECT_TRUE(QDir(dir.filePath("recovery")).entryList(QDir::Files | QDir::Hidden).isEmpty());
  main = std::make_unique<TFMain>(dir.path());
}

TEST_F(RecoveryTest, AFullDiskLeavesTheDocumentAndTheOldCopyAndTriesAgainAfterTheNextChange) {
  TypeInto(0, "A", true);
  KeepCopy();
  const Lines first = CopyLines();
  ASSERT_FALSE(first.isEmpty());
  {
    FailingCalls full;
    full.diskBytes = 100;
    full.failErrno = ENOSPC;
    TypeInto(0, "B", true);
    KeepCopy();
    EXPECT_EQ(CopyLines(), first);
    EXPECT_EQ(QDir(dir.filePath("recovery")).entryList(QDir::Files).size(), 3);  // no temporary file left
  }
  EXPECT_TRUE(prompts.messages.isEmpty());
  KeepCopy();  // nothing changed since: no new try
  EXPECT_EQ(CopyLines(), first);
  TypeInto(1, "C", true);
  KeepCopy();
  EXPECT_EQ(CopyLines(), main->Document().lines());
}

TEST_F(RecoveryTest, ACopyThatCannotBeOfferedIsToldInTheStatusBarOrANotice) {
  RecoveryCopies bobs(dir.filePath("recovery"), {"bob", "pc2", 4242});
  bobs.Write({SplitLines(siteBytes), {}, {}, site});
  bobs.Wait();
  const QString line = QStringLiteral("今は復元できない変更：site.VRD（bob@pc2 の変更）");
  for (const bool barShown : {true, false}) {
    Restart();
    if (!barShown) Trigger("ActionShowStatusBar");
    main->OfferRecoveryCopies();
    auto* note = main->findChild<QLabel*>("RecoveryNote");
    EXPECT_EQ(note ? note->text() : QString(), barShown ? line : QString());
    EXPECT_EQ(prompts.messages.value(0).text, barShown ? QString() : line);
  }
}
