// A data file on a shared folder, through the real main window: the
// read-only mark in the title, save going to save as, and a file replaced
// on disk seen by the watcher and read again into the list and the view.
#include <QTreeWidget>
#include <cstdio>

#include "document/DataFileLock.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

namespace {

struct SharedFileWindowTest : MainWindowFixture {
  QString site = dir.filePath("site.VRD");

  // The site with one strip whose department is `department`.
  QByteArray SiteBytes(const char* department) {
    TestStrip strip = GridStrip({TestKey::Editable(1, {Sj("内線")})});
    strip.department = department;
    return JoinLines(DocumentLines({strip}));
  }
  QString ListedDepartment() const { return main->ListView1->topLevelItem(0)->text(3); }
};

}  // namespace

TEST_F(SharedFileWindowTest, AFileOpenElsewhereIsMarkedReadOnlyAndSavedUnderAnotherName) {
  WriteBytes(site, SiteBytes("sales"));
  const LockHolder other{QStringLiteral("sato"), QStringLiteral("pc-reception"), 4711,
                         QDateTime::currentDateTimeUtc().addSecs(-60)};
  WriteBytes(LockPathOf(site), other.ToBytes());
  prompts.answers = {PromptAnswer::Yes};  // 読み取り専用で開く
  ASSERT_TRUE(main->OpenDataFile(site));
  EXPECT_TRUE(main->IsReadOnly());
  EXPECT_EQ(main->windowTitle(), QStringLiteral("site.VRD[*] [読み取り専用] – ラベル工房"));

  main->Document().Replace(kFirstStripStart + 1, "edited");
  prompts.files = {dir.filePath("mine.VRD")};
  Trigger("ActionFileSave");
  EXPECT_FALSE(main->IsReadOnly());
  EXPECT_EQ(main->windowTitle(), QStringLiteral("mine.VRD[*] – ラベル工房"));
  EXPECT_EQ(ReadBytes(LockPathOf(site)), other.ToBytes());
}

TEST_F(SharedFileWindowTest, AFileChangedOnDiskIsReadAgainIntoTheListAndTheView) {
  WriteBytes(site, SiteBytes("sales"));
  ASSERT_TRUE(main->OpenDataFile(site));
  EXPECT_EQ(ListedDepartment(), QStringLiteral("sales"));
  // Another program replaces the file, as a save does: the watcher sees it.
  const QString replacement = dir.filePath("other.tmp");
  WriteBytes(replacement, SiteBytes("support"));
  ASSERT_EQ(std::rename(qPrintable(replacement), qPrintable(site)), 0);
  prompts.answers = {PromptAnswer::Yes};
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.messages.isEmpty(); }, 5000));
  EXPECT_EQ(prompts.messages[0].text, FileSession::ReloadQuestion());
  EXPECT_EQ(ListedDepartment(), QStringLiteral("support"));
  EXPECT_EQ(main->CurrentStripNumber(), 1);
  EXPECT_FALSE(main->Document().IsChanged());
}
