// Recovery copies through the real main window: what is typed survives an
// end without questions and is offered at the next start; copies follow
// undo, saving and discarding; a normal exit and a full disk.
#include <QDir>
#include <QTreeWidget>
#include <QUndoStack>

#include "document/RecoveryCopy.h"
#include "support/FailingCalls.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

namespace {

struct RecoveryTest : MainWindowFixture {
  QString site = dir.filePath("site.VRD");
  QByteArray siteBytes;

  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(WriteLinesFile(site, DocumentLines({GridStrip({TestKey::Editable(1, {Sj("内線")}), TestKey::Editable(2)})})));
    siteBytes = ReadBytes(site);
    ASSERT_TRUE(main->OpenDataFile(site));
  }
  QStringList Copies() const { return QDir(dir.filePath("recovery")).entryList({"*.VRD", "*.record"}, QDir::Files); }
  Lines CopyLines() const {
    const QStringList copies = QDir(dir.filePath("recovery")).entryList({"*.VRD"}, QDir::Files);
    return copies.size() == 1 ? SplitLines(ReadBytes(dir.filePath("recovery/" + copies[0]))) : Lines();
  }
  void KeepCopy() {
    main->KeepRecoveryCopy();
    main->Recovery().Wait();
  }
  void TypeInto(int k, const char* text) {
    main->KeyFaceDblClick(k);
    QTest::keyClicks(Editor(k), QString::fromLatin1(text));
  }
  // The program ends without its questions, as when it is killed; a new
  // one starts in the same folder and offers the copy.
  void RestartAnswering(PromptAnswer answer) {
    main->Recovery().KeepAtExit();
    main.reset();
    main = std::make_unique<TFMain>(dir.path());
    SetUp();  // shows the window and opens the site again, unchanged
    prompts.messages.clear();
    prompts.answers = {answer};
    main->OfferRecoveryCopies();
  }
};

}  // namespace

TEST_F(RecoveryTest, WhatWasTypedIsOfferedAtTheNextStartAndSavedToTheSite) {
  for (const PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
    TypeInto(0, "ABC");  // still in the key's editor
    KeepCopy();
    ASSERT_EQ(Copies().size(), 2);
    RestartAnswering(answer);
    ASSERT_EQ(prompts.messages.size(), 1);
    const RecordedMessage& question = prompts.messages[0];
    EXPECT_TRUE(question.text.startsWith(QStringLiteral("前回、保存されずに終了した変更があります。復元しますか？\nファイル：") + site))
        << question.text.toStdString();
    EXPECT_EQ(question.title, QStringLiteral("確認"));
    EXPECT_EQ(question.buttons, PromptButtons::YesNo);
    EXPECT_TRUE(Copies().isEmpty() == (answer == PromptAnswer::No));
    if (answer == PromptAnswer::No) {
      EXPECT_EQ(ReadBytes(site), siteBytes);
      continue;
    }
    EXPECT_EQ(main->FileName(), site);
    EXPECT_TRUE(main->Document().IsChanged());
    EXPECT_EQ(main->History().count(), 0);
    EXPECT_EQ(Editor(0)->toPlainText(), "ABC");
    Trigger("ActionFileSave");
    EXPECT_TRUE(ReadBytes(site).contains("\r\nABC\r\n"));
    main->Recovery().Wait();
    EXPECT_TRUE(Copies().isEmpty());
  }
}

TEST_F(RecoveryTest, ANeverSavedDocumentAndASiteSavedSinceAreOfferedAsSuch) {
  struct Case {
    QString dataFile;
    bool savedSince;
  };
  for (const Case& c : {Case{"", false}, Case{site, true}}) {
    {
      RecoveryCopies earlier(dir.filePath("recovery"));
      earlier.Write({SplitLines(siteBytes), {}, {}, c.dataFile});
      earlier.KeepAtExit();
    }
    QTest::qWait(20);
    if (c.savedSince) WriteBytes(site, siteBytes);
    prompts.messages.clear();
    prompts.answers = {PromptAnswer::Yes};
    main->OfferRecoveryCopies();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text.contains(QStringLiteral("（新規作成・未保存）")), c.dataFile.isEmpty());
    EXPECT_EQ(prompts.messages[0].text.endsWith(QStringLiteral("このファイルは、この変更より後に保存されています。")), c.savedSince);
    EXPECT_EQ(main->FileName(), c.dataFile);
    EXPECT_TRUE(main->Document().IsChanged());
    EXPECT_EQ(main->ListView1->topLevelItemCount(), 1);
    main->Document().MarkSaved();
  }
}

TEST_F(RecoveryTest, TheCopyFollowsEveryChangeAndGoesOnSaveDiscardAndExit) {
  struct Step {
    const char* what;
    std::function<void()> act;
    bool copy;
  };
  const Step steps[] = {
      {"a key committed", [&] { TypeInto(1, "X"); main->EndKeyEdit(); }, true},
      {"undone to the saved lines", [&] { Trigger("ActionEditUndo"); }, false},
      {"redone", [&] { Trigger("ActionEditRedo"); }, true},
      {"saved", [&] { Trigger("ActionFileSave"); }, false},
      {"typed again", [&] { TypeInto(1, "Y"); }, true},
      {"replaced, not saved", [&] { prompts.answers = {PromptAnswer::No}; main->OpenDataFile(site); }, false},
      {"typed once more", [&] { TypeInto(0, "Z"); }, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    KeepCopy();
    EXPECT_EQ(Copies().size(), step.copy ? 2 : 0);
  }
  // Closed without saving: the exit leaves nothing.
  prompts.answers = {PromptAnswer::No};
  main->close();
  main.reset();
  EXPECT_TRUE(QDir(dir.filePath("recovery")).entryList(QDir::Files | QDir::Hidden).isEmpty());
  main = std::make_unique<TFMain>(dir.path());
}

TEST_F(RecoveryTest, AFullDiskLeavesTheDocumentAndTheOldCopyAndTriesAgainAfterTheNextChange) {
  TypeInto(0, "A");
  main->EndKeyEdit();
  KeepCopy();
  const Lines first = CopyLines();
  ASSERT_FALSE(first.isEmpty());
  {
    FailingCalls full;
    full.diskBytes = 100;
    full.failErrno = ENOSPC;
    TypeInto(0, "B");
    main->EndKeyEdit();
    KeepCopy();
    EXPECT_EQ(CopyLines(), first);
  }
  EXPECT_TRUE(prompts.messages.isEmpty());
  EXPECT_EQ(Editor(0)->toPlainText(), "B");
  EXPECT_TRUE(main->Document().IsChanged());
  KeepCopy();  // nothing changed since: no new try
  EXPECT_EQ(CopyLines(), first);
  TypeInto(1, "C");
  main->EndKeyEdit();
  KeepCopy();
  EXPECT_EQ(CopyLines(), main->Document().lines());
}
