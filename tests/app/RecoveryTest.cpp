// Recovery copies through the real main window: what is typed survives an
// end without questions and is offered at the next start; the copy follows
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
  // starts in the same folder with the site open and offers the copy.
  void RestartAnswering(PromptAnswer answer) {
    main->Recovery().KeepAtExit();
    main = std::make_unique<TFMain>(dir.path());
    SetUp();
    prompts.messages.clear();
    prompts.answers = {answer};
    main->OfferRecoveryCopies();
  }
};

}  // namespace

TEST_F(RecoveryTest, WhatWasTypedIsOfferedAtTheNextStartAndSavedToTheSite) {
  for (const PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
    TypeInto(0, "ABC", false);  // still in the key's editor
    KeepCopy();
    ASSERT_EQ(Copies().size(), 1);
    RestartAnswering(answer);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].text.startsWith(
        QStringLiteral("前回、保存されずに終了した変更があります。復元しますか？\nファイル：") + site));
    EXPECT_EQ(Copies().isEmpty(), answer == PromptAnswer::No);
    EXPECT_EQ(ReadBytes(site), siteBytes);
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

TEST_F(RecoveryTest, ANeverSavedDocumentAndASiteSavedSinceAreOfferedAsSuch) {
  for (const QString& dataFile : {QString(), site}) {
    {
      RecoveryCopies earlier(dir.filePath("recovery"));
      earlier.Write({SplitLines(siteBytes), {}, {}, dataFile});
      earlier.KeepAtExit();
    }
    QTest::qWait(20);
    WriteBytes(site, siteBytes);  // saved after the copy
    RestartAnswering(PromptAnswer::Yes);
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
