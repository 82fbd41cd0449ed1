// The file commands: dialogs, messages, the states of the data file, byte
// round trips, and what failed opens and saves leave behind.
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "DocumentBuilder.h"
#include "base/LineIO.h"
#include "document/FileSession.h"
#include "document/StripDocument.h"
#include "support/FailingCalls.h"
#include "support/FakePrompts.h"
#include "support/TestFiles.h"

namespace {

// Stands in for the main window: keeps the rows and logs every call.
class FakeView : public FileSessionView {
 public:
  void CommitPendingKey() override { log << "commit"; }
  void ClearStripList() override {
    log << "clear list";
    rows.clear();
  }
  void AddStripRow(const StripRow& row) override { rows.append(row); }
  int StripRowCount() const override { return static_cast<int>(rows.size()); }
  void ClearStripView() override { log << "clear view"; }
  void ShowFirstStrip() override { log << "show strip 1"; }

  QStringList log;
  QList<StripRow> rows;
};

const QString kFormatError = QStringLiteral("ファイルの書式に誤りがあります。このデータは読み込めません。");
const QString kQuestion = QStringLiteral("示名条データが変更されています。\n保存しますか？");

class FileSessionTest : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir.filePath(name); }

  // Copies a fixture into the test folder and opens it through the dialog.
  bool OpenFixture(const char* name) {
    const QString path = Path(QString::fromLatin1(name));
    QFile::remove(path);
    QFile::copy(QStringLiteral(TEST_DATA_DIR "/") + QString::fromLatin1(name), path);
    prompts.files.push_back(path);
    return session.ActionFileOpenExecute();
  }

  // A document of n strips made in the program, never saved.
  void MakeUnsaved(int strips) {
    document.SetLines(SimpleDocument(strips));
    view.rows = StripRowsOf(document);
  }

  void ExpectNoFile() {
    EXPECT_TRUE(document.isEmpty());
    EXPECT_TRUE(document.SavedCopy().isEmpty());
    EXPECT_TRUE(session.FileName().isEmpty());
    EXPECT_TRUE(view.rows.isEmpty());
  }

  void ExpectError(const QString& text) {
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, text);
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::Ok);
  }

  QTemporaryDir dir;
  FakePrompts prompts;
  StripDocument document;
  FakeView view;
  FileSession session{document, view};
};

}  // namespace

TEST_F(FileSessionTest, DialogsHaveTheirTitlesFilterAndExtension) {
  prompts.files.push_back(std::nullopt);
  session.ActionFileOpenExecute();
  ASSERT_EQ(prompts.openDialogs.size(), 1);
  const FileDialogSpec open = prompts.openDialogs[0];
  EXPECT_EQ(open.title, QStringLiteral("開く"));
  EXPECT_EQ(open.filter, QStringLiteral("示名条ﾃﾞｰﾀﾌｧｲﾙ(*.VRD)|*.VRD"));
  EXPECT_EQ(open.defaultExtension, QStringLiteral("VRD"));
  EXPECT_TRUE(open.folder.isEmpty());
  EXPECT_TRUE(open.fileName.isEmpty());
  // The filter offers lower-case extensions too.
  EXPECT_EQ(QtFilterOf(open.filter), QStringLiteral("示名条ﾃﾞｰﾀﾌｧｲﾙ(*.VRD *.vrd)"));

  MakeUnsaved(1);
  session.ActionFileSaveAsExecute();
  ASSERT_EQ(prompts.saveDialogs.size(), 1);
  const FileDialogSpec save = prompts.saveDialogs[0];
  EXPECT_EQ(save.title, QStringLiteral("名前を付けて保存"));
  EXPECT_EQ(save.filter, open.filter);
  EXPECT_EQ(save.defaultExtension, QStringLiteral("VRD"));
  EXPECT_TRUE(save.folder.isEmpty());
  EXPECT_TRUE(save.fileName.isEmpty());
}

TEST_F(FileSessionTest, OpenListsEveryStripAndShowsTheFirst) {
  ASSERT_TRUE(OpenFixture("two_strips.VRD"));
  EXPECT_TRUE(prompts.messages.isEmpty());
  EXPECT_EQ(view.log, (QStringList{"commit", "clear list", "clear view", "show strip 1"}));
  ASSERT_EQ(view.rows.size(), 2);
  EXPECT_EQ(view.rows[1].Columns(),
            (QStringList{"ＳＩＰ対応電話機", "ＳＩＰ１２", "305", "総務", "", "2020/12/31 23:59"}));
  EXPECT_EQ(session.FileName(), Path("two_strips.VRD"));
  EXPECT_EQ(document.size(), 174);
  EXPECT_FALSE(document.IsChanged());
}

TEST_F(FileSessionTest, OpenThenSaveWritesTheSameBytes) {
  for (const char* name : {"two_strips.VRD", "two_strips_nul.VRD", "damaged_group_count.VRD"}) {
    ASSERT_TRUE(OpenFixture(name)) << name;
    const QByteArray before = ReadBytes(Path(name));
    document.Replace(3, document.at(3));  // touched, not changed
    ASSERT_TRUE(session.ActionFileSaveExecute());
    const QByteArray expected = QByteArray(name) == "two_strips_nul.VRD"
                                    ? ReadBytes(QStringLiteral(TEST_DATA_DIR "/two_strips.VRD"))
                                    : before;
    EXPECT_EQ(ReadBytes(Path(name)), expected) << name;
  }
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(FileSessionTest, OldLayoutAndLfFilesOpenCleanAndSaveInTheCurrentForm) {
  const QByteArray current = ReadBytes(QStringLiteral(TEST_DATA_DIR "/two_strips.VRD"));
  for (const char* name : {"two_strips_old.VRD", "two_strips_lf.vrd"}) {
    ASSERT_TRUE(OpenFixture(name)) << name;
    EXPECT_EQ(JoinLines(document.lines()), current) << name;
    EXPECT_FALSE(document.IsChanged()) << name;
    // Closing right after asks nothing.
    EXPECT_FALSE(session.ConfirmDiscard());
    EXPECT_TRUE(prompts.messages.isEmpty());
    ASSERT_TRUE(session.ActionFileSaveExecute());
    EXPECT_EQ(ReadBytes(Path(name)), current) << name;
    EXPECT_EQ(session.FileName(), Path(name));  // the lower-case name is kept
  }
}

TEST_F(FileSessionTest, FailedOpensLeaveNoDocumentAndNoName) {
  struct Case {
    const char* file;
    QString message;
  };
  const QList<Case> cases = {
      {"old_damaged.VRD", kFormatError},
      {"empty.VRD", kFormatError},
      {"no_such.VRD", FileSession::ReadErrorMessage(Path("no_such.VRD"))},
  };
  for (const Case& c : cases) {
    // A file was open before: its name must not stay on the new document.
    prompts.messages.clear();
    view.log.clear();
    session.SetFileName(Path("earlier.VRD"));
    MakeUnsaved(2);
    document.MarkSaved();
    EXPECT_FALSE(OpenFixture(c.file)) << c.file;
    ExpectError(c.message);
    ExpectNoFile();
    EXPECT_FALSE(document.IsChanged());
    EXPECT_EQ(view.log, (QStringList{"commit", "clear list", "clear view"}));
  }
  EXPECT_EQ(FileSession::ReadErrorMessage("/tmp/a.VRD"), QStringLiteral("ファイルを読み込めませんでした。\n/tmp/a.VRD"));
}

TEST_F(FileSessionTest, DamageBelowTheHeadersOpensWithoutMessage) {
  for (const char* name : {"damaged_group_count.VRD", "truncated.VRD"}) {
    ASSERT_TRUE(OpenFixture(name)) << name;
    EXPECT_EQ(view.rows.size(), 2) << name;
    EXPECT_EQ(session.FileName(), Path(name));
  }
  EXPECT_TRUE(prompts.messages.isEmpty());
  // Opening straight from a path clears what was there first.
  view.log.clear();
  EXPECT_FALSE(session.OpenFile(Path("absent.VRD")));
  EXPECT_EQ(view.log, (QStringList{"clear list", "clear view"}));
  ExpectNoFile();
}

TEST_F(FileSessionTest, AFileWithoutStripsOpensEmptyWithoutMessage) {
  session.SetFileName(Path("earlier.VRD"));
  EXPECT_FALSE(OpenFixture("header_only.VRD"));
  EXPECT_TRUE(prompts.messages.isEmpty());
  ExpectNoFile();
  // Nothing to save: save does nothing and asks nothing.
  EXPECT_FALSE(session.ActionFileSaveExecute());
  EXPECT_TRUE(prompts.saveDialogs.isEmpty());
}

TEST_F(FileSessionTest, CancelledOpenChangesNothing) {
  ASSERT_TRUE(OpenFixture("two_strips.VRD"));
  const Lines lines = document.lines();
  view.log.clear();
  prompts.files.push_back(std::nullopt);
  EXPECT_FALSE(session.ActionFileOpenExecute());
  EXPECT_EQ(document.lines(), lines);
  EXPECT_EQ(session.FileName(), Path("two_strips.VRD"));
  EXPECT_EQ(view.rows.size(), 2);
  EXPECT_EQ(view.log, QStringList{"commit"});
}

TEST_F(FileSessionTest, UnsavedChangesAskBeforeOpenAndNew) {
  ASSERT_TRUE(OpenFixture("two_strips.VRD"));
  document.Replace(4, "999");
  // Cancel: neither the dialog nor any change.
  prompts.answers.push_back(PromptAnswer::Cancel);
  EXPECT_FALSE(session.ActionFileOpenExecute());
  EXPECT_TRUE(prompts.openDialogs.size() == 1);  // only the first open
  session.ActionFileNewExecute();                // answered by the default: Yes
  ASSERT_EQ(prompts.messages.size(), 2);
  const RecordedMessage& question = prompts.messages[0];
  EXPECT_EQ(question.text, kQuestion);
  EXPECT_EQ(question.title, QStringLiteral("確認"));
  EXPECT_EQ(question.icon, PromptIcon::Question);
  EXPECT_EQ(question.buttons, PromptButtons::YesNoCancel);
  // Yes saved the change and new went ahead.
  EXPECT_EQ(SplitLines(ReadBytes(Path("two_strips.VRD")))[4], "999");
  ExpectNoFile();
  // No: the changes are dropped.
  MakeUnsaved(1);
  prompts.answers.push_back(PromptAnswer::No);
  session.ActionFileNewExecute();
  ExpectNoFile();
}

TEST_F(FileSessionTest, ConfirmDiscardForEveryStateOfTheFile) {
  // No file, nothing changed.
  EXPECT_FALSE(session.ConfirmDiscard());
  EXPECT_TRUE(prompts.messages.isEmpty());

  // Unsaved: Yes, then the save dialog cancelled: stop.
  MakeUnsaved(1);
  prompts.answers.push_back(PromptAnswer::Yes);
  EXPECT_TRUE(session.ConfirmDiscard());
  EXPECT_EQ(prompts.saveDialogs.size(), 1);
  // Unsaved: Yes, a name without extension: saved as .VRD, go on.
  prompts.answers.push_back(PromptAnswer::Yes);
  prompts.files.push_back(Path("site"));
  EXPECT_FALSE(session.ConfirmDiscard());
  EXPECT_EQ(session.FileName(), Path("site.VRD"));
  EXPECT_EQ(ReadBytes(Path("site.VRD")), JoinLines(SimpleDocument(1)));

  // Named and clean: no question.
  EXPECT_FALSE(session.ConfirmDiscard());
  // Named and changed: No goes on, Cancel stops, Yes saves and goes on.
  document.Replace(3, "777");
  prompts.answers = {PromptAnswer::No, PromptAnswer::Cancel, PromptAnswer::Yes};
  EXPECT_FALSE(session.ConfirmDiscard());
  EXPECT_TRUE(session.ConfirmDiscard());
  EXPECT_FALSE(session.ConfirmDiscard());
  EXPECT_FALSE(document.IsChanged());
  EXPECT_EQ(SplitLines(ReadBytes(Path("site.VRD")))[3], "777");
  EXPECT_EQ(prompts.messages.size(), 5);
}

TEST_F(FileSessionTest, ConfirmDiscardStopsWhenTheSaveFails) {
  MakeUnsaved(1);
  session.SetFileName(Path("gone/site.VRD"));
  prompts.answers.push_back(PromptAnswer::Yes);
  EXPECT_TRUE(session.ConfirmDiscard());
  ASSERT_EQ(prompts.messages.size(), 2);
  EXPECT_EQ(prompts.messages[1].text, FileSession::WriteErrorMessage(Path("gone/site.VRD")));
  EXPECT_EQ(prompts.messages[1].title, QStringLiteral("エラー"));
  EXPECT_TRUE(document.IsChanged());
  // With no strips left nothing is written: a named file goes on, an
  // unnamed one stops.
  document.SetLines({"x"});  // changed, but no strip listed
  view.rows.clear();
  session.SetFileName(Path("site.VRD"));
  prompts.answers.push_back(PromptAnswer::Yes);
  EXPECT_FALSE(session.ConfirmDiscard());
  EXPECT_FALSE(QFile::exists(Path("site.VRD")));
  session.SetFileName(QString());
  prompts.answers.push_back(PromptAnswer::Yes);
  EXPECT_TRUE(session.ConfirmDiscard());
  EXPECT_TRUE(prompts.saveDialogs.isEmpty());
}

TEST_F(FileSessionTest, SaveDoesNothingWithoutRowsAndCommitsTheKeyFirst) {
  document.SetLines(SimpleDocument(1));  // lines, but no rows listed
  session.SetFileName(Path("a.VRD"));
  EXPECT_FALSE(session.ActionFileSaveExecute());
  EXPECT_FALSE(session.ActionFileSaveAsExecute());
  EXPECT_TRUE(view.log.isEmpty());
  EXPECT_FALSE(QFile::exists(Path("a.VRD")));
  view.rows = StripRowsOf(document);
  EXPECT_TRUE(session.ActionFileSaveExecute());
  EXPECT_EQ(view.log, QStringList{"commit"});
  EXPECT_FALSE(document.IsChanged());
}

TEST_F(FileSessionTest, SaveAsNamesAndExtensions) {
  MakeUnsaved(2);
  // Save with no name runs save as.
  prompts.files.push_back(Path("lower.vrd"));
  EXPECT_TRUE(session.ActionFileSaveExecute());
  EXPECT_EQ(session.FileName(), Path("lower.vrd"));
  EXPECT_EQ(prompts.saveDialogs.size(), 1);
  prompts.files.push_back(Path("other.txt"));
  EXPECT_TRUE(session.ActionFileSaveAsExecute());
  EXPECT_EQ(session.FileName(), Path("other.txt"));
  // Cancelled: the name stays.
  EXPECT_FALSE(session.ActionFileSaveAsExecute());
  EXPECT_EQ(session.FileName(), Path("other.txt"));
  EXPECT_EQ(ReadBytes(Path("lower.vrd")), JoinLines(SimpleDocument(2)));
}

TEST_F(FileSessionTest, FailedWritesAreReportedAndKeepTheDocumentChanged) {
  MakeUnsaved(1);
  session.SetFileName(Path("a.VRD"));
  ASSERT_TRUE(session.ActionFileSaveExecute());
  document.Replace(3, "changed");
  // Save as to a folder that does not exist: reported; the chosen file is
  // the current one now, so a later save never overwrites a.VRD.
  prompts.files.push_back(Path("missing/b.VRD"));
  EXPECT_FALSE(session.ActionFileSaveAsExecute());
  ExpectError(QStringLiteral("ファイルを保存できませんでした。\n") + Path("missing/b.VRD"));
  EXPECT_EQ(session.FileName(), Path("missing/b.VRD"));
  EXPECT_TRUE(document.IsChanged());
  prompts.messages.clear();
  EXPECT_FALSE(session.ActionFileSaveExecute());
  ExpectError(FileSession::WriteErrorMessage(Path("missing/b.VRD")));
  EXPECT_TRUE(prompts.saveDialogs.size() == 1);
  EXPECT_EQ(ReadBytes(Path("a.VRD")), JoinLines(SimpleDocument(1)));
  // Save over a file that cannot be replaced (a folder stands in its place).
  QDir(dir.path()).mkdir("c.VRD");
  session.SetFileName(Path("c.VRD"));
  prompts.messages.clear();
  EXPECT_FALSE(session.ActionFileSaveExecute());
  ExpectError(FileSession::WriteErrorMessage(Path("c.VRD")));
  EXPECT_TRUE(document.IsChanged());
  // The file saved before is untouched.
  EXPECT_EQ(ReadBytes(Path("a.VRD")), JoinLines(SimpleDocument(1)));
}

TEST_F(FileSessionTest, TheFourStatesOfTheDataFile) {
  // No file.
  EXPECT_TRUE(session.FileName().isEmpty());
  EXPECT_FALSE(document.IsChanged());
  // Unsaved: a strip made in the program.
  MakeUnsaved(1);
  EXPECT_TRUE(document.IsChanged());
  // Named and clean after save as.
  prompts.files.push_back(Path("s.VRD"));
  ASSERT_TRUE(session.ActionFileSaveAsExecute());
  EXPECT_FALSE(document.IsChanged());
  // Named and changed after an edit; clean again after save.
  document.Replace(4, "dept");
  EXPECT_TRUE(document.IsChanged());
  ASSERT_TRUE(session.ActionFileSaveExecute());
  EXPECT_FALSE(document.IsChanged());
  EXPECT_EQ(session.FileName(), Path("s.VRD"));
  // New: no file again.
  session.ActionFileNewExecute();
  ExpectNoFile();
  EXPECT_EQ(view.log.mid(view.log.size() - 3), (QStringList{"commit", "clear list", "clear view"}));
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(FileSessionTest, RandomFilesOpenOrLeaveNothing) {
  QRandomGenerator random(31337);
  const QByteArray good = ReadBytes(QStringLiteral(TEST_DATA_DIR "/two_strips_old.VRD"));
  for (int round = 0; round < 60; ++round) {
    QByteArray bytes = good;
    if (round % 3 == 0) {
      bytes = QByteArray(random.bounded(300), Qt::Uninitialized);
      for (char& b : bytes) b = static_cast<char>(random.bounded(256));
    } else {
      for (int c = 0; c < 4; ++c) bytes[random.bounded(static_cast<int>(bytes.size()))] = "0123456789x\n"[random.bounded(12)];
    }
    WriteBytes(Path("r.VRD"), bytes);
    prompts.files.push_back(Path("r.VRD"));
    prompts.answers.push_back(PromptAnswer::No);
    if (session.ActionFileOpenExecute()) {
      EXPECT_FALSE(view.rows.isEmpty());
      EXPECT_EQ(session.FileName(), Path("r.VRD"));
      EXPECT_FALSE(document.IsChanged());
    } else {
      ExpectNoFile();
    }
    prompts.answers.clear();
  }
}

TEST_F(FileSessionTest, AFullDiskKeepsTheFileAndTheDocumentChanged) {
  MakeUnsaved(2);
  session.SetFileName(Path("site.VRD"));
  ASSERT_TRUE(session.ActionFileSaveExecute());
  const QByteArray saved = ReadBytes(Path("site.VRD"));
  document.Replace(4, "changed department");
  for (const qint64 room : {qint64(0), qint64(1), saved.size() / 2, saved.size() - 1}) {
    prompts.messages.clear();
    FailingCalls calls;
    calls.diskBytes = room;
    EXPECT_FALSE(session.ActionFileSaveExecute()) << room;
    ExpectError(QStringLiteral("ファイルを保存できませんでした。\n") + Path("site.VRD"));
    EXPECT_TRUE(document.IsChanged());
    EXPECT_EQ(ReadBytes(Path("site.VRD")), saved);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"site.VRD"});
  }
  // Closing asks, and a save that fails again keeps the program open.
  FailingCalls calls;
  calls.diskBytes = 10;
  prompts.answers.push_back(PromptAnswer::Yes);
  EXPECT_TRUE(session.ConfirmDiscard());
  EXPECT_EQ(ReadBytes(Path("site.VRD")), saved);
}

// A data file on a shared folder: the lock beside it, read-only documents
// and files changed on disk behind the program.
namespace {

const QString kChangedOnDisk = QStringLiteral("このファイルは開いた後に他のプログラムで変更されています。");
const QStringList kChangedButtons{"上書き保存", "名前を付けて保存", "キャンセル"};
const QStringList kHeldButtons{"読み取り専用で開く", "それでも開く", "キャンセル"};

class SharedFileTest : public FileSessionTest {
 protected:
  QString Site() const { return Path("site.VRD"); }
  QString SiteLock() const { return Path(".~lock.site.VRD#"); }

  // site.VRD of n strips, saved and closed.
  void SaveSiteAndClose(int strips) {
    MakeUnsaved(strips);
    prompts.files.push_back(Site());
    ASSERT_TRUE(session.ActionFileSaveAsExecute());
    session.ActionFileNewExecute();
  }

  // site.VRD of two strips, open and edited.
  void OpenEdited() {
    SaveSiteAndClose(2);
    ASSERT_TRUE(session.OpenFile(Site()));
    document.Replace(4, "ours");
    prompts.messages.clear();
  }

  // Another program's save: a strip's department changed.
  QByteArray RewriteOnDisk(const QByteArray& department) {
    Lines lines = SplitLines(ReadBytes(Site()));
    lines.replace(4, department);
    WriteBytes(Site(), JoinLines(lines));
    return ReadBytes(Site());
  }

  void LockedByAnotherComputer() {
    const LockHolder other{QStringLiteral("sato"), QStringLiteral("pc-reception"), 4711,
                           QDateTime::currentDateTimeUtc().addSecs(-60)};
    WriteBytes(SiteLock(), other.ToBytes());
  }

  bool LockIsOurs() const {
    return LockHolder::FromBytes(ReadBytes(SiteLock())).SameProgram(LockHolder::ThisProgram());
  }
};

}  // namespace

TEST_F(SharedFileTest, ASaveOverAFileChangedOrDeletedOnDiskAsksFirst) {
  const QStringList deletedButtons{"保存", "名前を付けて保存", "キャンセル"};
  struct Case {
    bool deleted;  // else rewritten by another program
    PromptAnswer answer;
    bool written;  // site.VRD holds our document afterwards
    bool savedAs;  // the save dialog was shown
  };
  const Case cases[] = {
      {false, PromptAnswer::Yes, true, false}, {false, PromptAnswer::No, false, true},
      {false, PromptAnswer::Cancel, false, false}, {true, PromptAnswer::Cancel, false, false},
      {true, PromptAnswer::Yes, true, false},
  };
  for (const Case& c : cases) {
    OpenEdited();
    const Lines edited = document.lines();
    QByteArray theirs;  // nothing when deleted
    if (c.deleted) QFile::remove(Site());
    else theirs = RewriteOnDisk("theirs");
    const qsizetype dialogs = prompts.saveDialogs.size();
    prompts.answers.push_back(c.answer);
    prompts.files.push_back(Path("copy.VRD"));
    EXPECT_EQ(session.ActionFileSaveExecute(), c.answer != PromptAnswer::Cancel);
    ASSERT_GE(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, c.deleted ? FileSession::DeletedOnDiskQuestion() : kChangedOnDisk);
    EXPECT_EQ(prompts.messages[0].choices, c.deleted ? deletedButtons : kChangedButtons);
    EXPECT_EQ(ReadBytes(Site()), c.written ? JoinLines(edited) : theirs);
    EXPECT_EQ(QFile::exists(Site()), c.written || !c.deleted);
    EXPECT_EQ(prompts.saveDialogs.size() - dialogs, c.savedAs ? 1 : 0);
    EXPECT_EQ(document.lines(), edited);
    EXPECT_EQ(document.IsChanged(), c.answer == PromptAnswer::Cancel);
    if (c.answer == PromptAnswer::Cancel) {
      // Closing asks about the changes; Yes asks again and Cancel stops the close.
      prompts.answers = {PromptAnswer::Yes, PromptAnswer::Cancel};
      EXPECT_TRUE(session.ConfirmDiscard());
      EXPECT_EQ(ReadBytes(Site()), theirs);
    }
    prompts.files.clear();
    prompts.answers.clear();
    if (document.IsChanged()) prompts.answers = {PromptAnswer::No};
    session.ActionFileNewExecute();
    prompts.messages.clear();
  }
}

TEST_F(SharedFileTest, AFileAnotherProgramHasOpenAsksHowToOpen) {
  SaveSiteAndClose(2);
  EXPECT_FALSE(QFile::exists(SiteLock()));  // new closes the file
  LockedByAnotherComputer();
  const QByteArray theirLock = ReadBytes(SiteLock());

  // Cancel: the document open before stays as it was.
  ASSERT_TRUE(OpenFixture("two_strips.VRD"));
  prompts.messages.clear();
  prompts.answers = {PromptAnswer::Cancel};
  EXPECT_FALSE(session.OpenFile(Site()));
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, LockHeldText(LockHolder::FromBytes(theirLock)));
  EXPECT_EQ(prompts.messages[0].choices, kHeldButtons);
  EXPECT_EQ(session.FileName(), Path("two_strips.VRD"));
  EXPECT_TRUE(QFile::exists(Path(".~lock.two_strips.VRD#")));

  // Read-only: their lock stays; save goes to save as, and the file they
  // have open is not written without a question of its own.
  prompts.answers = {PromptAnswer::Yes};
  ASSERT_TRUE(session.OpenFile(Site()));
  EXPECT_FALSE(QFile::exists(Path(".~lock.two_strips.VRD#")));
  EXPECT_TRUE(session.IsReadOnly());
  EXPECT_EQ(ReadBytes(SiteLock()), theirLock);
  const QByteArray before = ReadBytes(Site());
  document.Replace(4, "edited read-only");
  prompts.messages.clear();
  prompts.files = {Site()};
  prompts.answers = {PromptAnswer::No};
  EXPECT_FALSE(session.ActionFileSaveExecute());
  EXPECT_EQ(prompts.saveDialogs.size(), 2);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, FileSession::OverwriteHeldQuestion(LockHolder::FromBytes(theirLock)));
  EXPECT_EQ(ReadBytes(Site()), before);
  EXPECT_TRUE(session.IsReadOnly());
  EXPECT_TRUE(document.IsChanged());

  // Open anyway: the lock becomes ours.
  prompts.answers = {PromptAnswer::No};
  ASSERT_TRUE(session.OpenFile(Site()));
  EXPECT_FALSE(session.IsReadOnly());
  EXPECT_TRUE(LockIsOurs());
}

TEST_F(SharedFileTest, AFolderThatTakesNoLockOpensReadOnlyAndKeepsTheEdits) {
  SaveSiteAndClose(1);
  {
    FailingCalls readOnlyShare;
    readOnlyShare.failAt = 0;  // the lock's temporary file
    readOnlyShare.failErrno = EROFS;
    ASSERT_TRUE(session.OpenFile(Site()));
  }
  EXPECT_TRUE(session.IsReadOnly());
  EXPECT_FALSE(QFile::exists(SiteLock()));
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, FileSession::ReadOnlyFolderNotice());
  // The edits stay until saved elsewhere or given up.
  document.Replace(4, "kept");
  prompts.answers = {PromptAnswer::Yes};  // save them
  EXPECT_TRUE(session.ConfirmDiscard());  // the save dialog was cancelled
  EXPECT_EQ(prompts.saveDialogs.size(), 2);
  EXPECT_EQ(document.at(4), "kept");
  EXPECT_TRUE(document.IsChanged());
}

TEST_F(SharedFileTest, AChangeOnDiskOffersToReadAgainOrIsToldOnce) {
  OpenEdited();
  ASSERT_TRUE(session.ActionFileSaveExecute());
  // Nothing changed, or the same bytes written again: nothing said.
  session.ReviewDiskChange();
  WriteBytes(Site(), ReadBytes(Site()));
  session.ReviewDiskChange();
  EXPECT_TRUE(prompts.messages.isEmpty());

  // Unchanged document: "いいえ" keeps it and is not asked again for the same change.
  RewriteOnDisk("first");
  prompts.answers = {PromptAnswer::No};
  session.ReviewDiskChange();
  session.ReviewDiskChange();
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, FileSession::ReloadQuestion());
  EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(document.at(4), "ours");
  // A further change asks again; "はい" reads it, list and view anew, lock kept.
  RewriteOnDisk("second");
  view.log.clear();
  prompts.answers = {PromptAnswer::Yes};
  session.ReviewDiskChange();
  EXPECT_EQ(document.at(4), "second");
  EXPECT_FALSE(document.IsChanged());
  EXPECT_EQ(view.rows[0].Columns()[3], QStringLiteral("second"));
  EXPECT_EQ(view.log, (QStringList{"clear list", "clear view", "show strip 1"}));
  EXPECT_TRUE(LockIsOurs());

  // Unsaved changes (or a key being typed): a notice once, the question at the save.
  prompts.messages.clear();
  document.Replace(5, "edited");
  RewriteOnDisk("third");
  session.ReviewDiskChange();
  session.ReviewDiskChange(true);
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_EQ(prompts.messages[0].text, FileSession::ChangedOnDiskNotice());
  prompts.answers = {PromptAnswer::Yes};
  EXPECT_TRUE(session.ActionFileSaveExecute());
  EXPECT_EQ(prompts.messages.size(), 2);
  EXPECT_EQ(prompts.messages[1].text, kChangedOnDisk);
}

TEST_F(SharedFileTest, TheProgramsOwnFilesAndRecoveredCopiesOfHeldFilesOpenReadOnly) {
  // The program's own files: no question and no lock.
  QDir(dir.path()).mkpath("share/labelkobo/samples");
  const QString sample = Path("share/labelkobo/samples/sample.VRD");
  WriteBytes(sample, JoinLines(SimpleDocument(1)));
  session.SetShippedFolder(Path("share/labelkobo/"));
  ASSERT_TRUE(session.OpenFile(sample));
  EXPECT_TRUE(session.IsReadOnly());
  EXPECT_TRUE(prompts.messages.isEmpty());
  EXPECT_EQ(QDir(Path("share/labelkobo/samples")).entryList(QDir::Files | QDir::Hidden), QStringList{"sample.VRD"});

  // A recovered copy of a file another program has open: told so.
  SaveSiteAndClose(1);
  EXPECT_FALSE(session.IsReadOnly());
  const QString copy = Path("copy.VRD");
  WriteBytes(copy, JoinLines(SimpleDocument(2)));
  LockedByAnotherComputer();
  ASSERT_TRUE(session.OpenRecovered(copy, Site()));
  ASSERT_EQ(prompts.messages.size(), 1);
  EXPECT_TRUE(prompts.messages[0].text.endsWith(QStringLiteral("から開いています。\n読み取り専用で開きます。")));
  EXPECT_TRUE(session.IsReadOnly());
  EXPECT_EQ(session.FileName(), Site());
  EXPECT_TRUE(document.IsChanged());
}
