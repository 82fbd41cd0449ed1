#include "document/FileSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/LineIO.h"
#include "document/DataFile.h"
#include "document/StripDocument.h"

QString FileSession::FormatErrorMessage() {
  return QStringLiteral("ファイルの書式に誤りがあります。このデータは読み込めません。");
}

QString FileSession::DiscardQuestion() {
  return QStringLiteral("示名条データが変更されています。\n保存しますか？");
}

QString FileSession::ReadErrorMessage(const QString& path) {
  return QStringLiteral("ファイルを読み込めませんでした。\n%1").arg(QDir::toNativeSeparators(path));
}

QString FileSession::WriteErrorMessage(const QString& path) {
  return QStringLiteral("ファイルを保存できませんでした。\n%1").arg(QDir::toNativeSeparators(path));
}

QString FileSession::ChangedOnDiskQuestion() {
  return QStringLiteral("このファイルは開いた後に他のプログラムで変更されています。");
}

QString FileSession::DeletedOnDiskQuestion() {
  return QStringLiteral("このファイルは開いた後に削除されたか、名前が変更されています。\nこの名前で保存し直しますか？");
}

QString FileSession::ReloadQuestion() {
  return QStringLiteral("このファイルは他のプログラムで変更されました。\n読み込み直しますか？");
}

QString FileSession::ChangedOnDiskNotice() {
  return QStringLiteral("このファイルは他のプログラムで変更されました。\n保存するときに、上書きするかどうかを確認します。");
}

QString FileSession::ReadOnlyFolderNotice() {
  return QStringLiteral("このフォルダーにはロックファイルを作成できないため、読み取り専用で開きます。");
}

QString FileSession::OverwriteHeldQuestion(const LockHolder& holder) {
  return LockHeldText(holder) + QStringLiteral("\n上書きしますか？");
}

const QStringList& FileSession::ChangedOnDiskButtons() {
  static const QStringList buttons{QStringLiteral("上書き保存"), QStringLiteral("名前を付けて保存"),
                                   QStringLiteral("キャンセル")};
  return buttons;
}

const QStringList& FileSession::DeletedOnDiskButtons() {
  static const QStringList buttons{QStringLiteral("保存"), QStringLiteral("名前を付けて保存"),
                                   QStringLiteral("キャンセル")};
  return buttons;
}

const QStringList& FileSession::LockHeldButtons() {
  static const QStringList buttons{QStringLiteral("読み取り専用で開く"), QStringLiteral("それでも開く"),
                                   QStringLiteral("キャンセル")};
  return buttons;
}

namespace {

bool SamePath(const QString& a, const QString& b) {
  return !a.isEmpty() && !b.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// CheckFile on the data file `path`; `now` receives its stamp. A save's
// stamp gets its hash only when the status has changed: the bytes written
// are the saved copy's.
DiskChange LookAtDisk(const QString& path, FileStamp& remembered, const Lines& savedCopy, FileStamp* now) {
  DiskChange change = CheckFile(path, remembered, now);
  if (change == DiskChange::kChanged && remembered.hash == 0) {
    remembered.hash = HashOfBytes(JoinLines(savedCopy));
    if (now->hash == remembered.hash && now->size == remembered.size) change = DiskChange::kNone;
  }
  return change;
}

// The file's stamp as a read would take it; unknown for no file.
FileStamp StampOfFile(const QString& path) {
  if (path.isEmpty()) return {};
  FileStamp stamp = FileStamp::StatusOf(path);
  QByteArray bytes;
  if (stamp.exists && ReadFileBytes(path, &bytes)) stamp.hash = HashOfBytes(bytes);
  return stamp;
}

FileDialogSpec DataFileDialog(const QString& title) {
  FileDialogSpec dialog;
  dialog.title = title;
  dialog.filter = QStringLiteral("示名条ﾃﾞｰﾀﾌｧｲﾙ(*.VRD)|*.VRD");
  dialog.defaultExtension = QString::fromLatin1(FileSession::kDefaultExtension);
  return dialog;
}

}  // namespace

FileDialogSpec FileSession::OpenDialog() { return DataFileDialog(QStringLiteral("開く")); }

FileDialogSpec FileSession::SaveDialog() { return DataFileDialog(QStringLiteral("名前を付けて保存")); }

bool FileSession::ConfirmDiscard() {
  if (!document_.IsChanged()) return false;
  switch (Prompts::Confirm(DiscardQuestion(), PromptButtons::YesNoCancel)) {
    case PromptAnswer::Yes: {
      // A save that failed or was called off must not let the caller
      // throw the changes away.
      const SaveOutcome saved = Save();
      if (saved == SaveOutcome::kFailed || saved == SaveOutcome::kCancelled) return true;
      return fileName_.isEmpty();
    }
    case PromptAnswer::No:
      return false;
    default:
      return true;
  }
}

void FileSession::ForgetDocument() {
  view_.ForgetHistory();
  fileName_.clear();
  document_.Clear();
  document_.ClearSavedCopy();
  lock_.Release();
  readOnly_ = false;
  stamp_ = told_ = FileStamp();
  view_.FileStateChanged();
  view_.ChangesSettled();
}

void FileSession::ActionFileNewExecute() {
  view_.CommitPendingKey();
  if (ConfirmDiscard()) return;
  ForgetDocument();
  view_.ClearStripList();
  view_.ClearStripView();
}

bool FileSession::ActionFileOpenExecute() {
  view_.CommitPendingKey();
  if (ConfirmDiscard()) return false;
  const std::optional<QString> chosen = Prompts::Current().OpenFile(OpenDialog());
  if (!chosen) return false;
  return OpenFile(*chosen);
}

bool FileSession::OpenGivenFile(const QString& path) {
  // Only opening is tried here: the file is read after the question, whose
  // answer may save the open document over this very file.
  if (QFile file(path); !file.open(QIODevice::ReadOnly)) {
    Prompts::Error(ReadErrorMessage(path));
    return false;
  }
  view_.CommitPendingKey();
  if (ConfirmDiscard()) return false;
  return OpenFile(path);
}

bool FileSession::OpenFile(const QString& path) {
  Access access;
  if (!ClaimAccess(path, true, &access)) return false;
  const bool folderRefused = access.folderRefused;
  if (!LoadWith(path, std::move(access))) return false;
  view_.ShowFirstStrip();
  view_.DataFileUsed(path);
  if (folderRefused) Prompts::Notice(ReadOnlyFolderNotice());
  return true;
}

bool FileSession::OpenRecovered(const QString& copy, const QString& dataFile) {
  Access access;
  if (!dataFile.isEmpty()) ClaimAccess(dataFile, false, &access);
  const bool folderRefused = access.folderRefused;
  if (!Load(copy)) return false;
  // The recovered changes are made on the data file as it is now.
  SetFileState(dataFile, std::move(access), StampOfFile(dataFile));
  document_.ClearSavedCopy();  // none of it is in the data file
  view_.ShowFirstStrip();
  if (folderRefused) Prompts::Notice(ReadOnlyFolderNotice());
  return true;
}

bool FileSession::ClaimAccess(const QString& path, bool mayCancel, Access* access) {
  if (lock_.IsTaken() && SamePath(lock_.DataFile(), path)) {
    access->lock = std::move(lock_);  // opened again: the lock stays
    return true;
  }
  if (!shippedFolder_.isEmpty() && QFileInfo(path).absoluteFilePath().startsWith(shippedFolder_)) {
    access->readOnly = true;
    return true;
  }
  LockHolder holder;
  switch (access->lock.Take(path, false, &holder)) {
    case DataFileLock::Result::kTaken:
      return true;
    case DataFileLock::Result::kFailed:
      access->readOnly = access->folderRefused = true;
      return true;
    case DataFileLock::Result::kHeld:
      break;
  }
  if (!mayCancel) {
    Prompts::Notice(LockHeldText(holder) + QStringLiteral("\n読み取り専用で開きます。"));
    access->readOnly = true;
    return true;
  }
  switch (Prompts::Ask(LockHeldText(holder), LockHeldButtons(), PromptAnswer::Yes)) {
    case PromptAnswer::Yes:
      access->readOnly = true;
      return true;
    case PromptAnswer::No:
      if (access->lock.Take(path, true) != DataFileLock::Result::kTaken) access->readOnly = access->folderRefused = true;
      return true;
    default:
      return false;
  }
}

bool FileSession::LoadWith(const QString& path, Access access) {
  FileStamp read;
  if (!Load(path, &read)) return false;  // the new lock goes with `access`
  SetFileState(path, std::move(access), read);
  return true;
}

void FileSession::SetFileState(const QString& path, Access access, const FileStamp& stamp) {
  fileName_ = path;
  lock_ = std::move(access.lock);
  readOnly_ = access.readOnly;
  stamp_ = told_ = stamp;
  view_.FileStateChanged();
}

void FileSession::ReviewDiskChange(bool unsavedTyping) {
  if (fileName_.isEmpty() || !stamp_.known) return;
  FileStamp now;
  const DiskChange change = LookAtDisk(fileName_, stamp_, document_.SavedCopy(), &now);
  if (change == DiskChange::kNone) {
    stamp_ = told_ = now;
    return;
  }
  if (now == told_) return;  // told already
  told_ = now;
  // A deleted file has nothing to read again; the save asks.
  if (change == DiskChange::kDeleted) return;
  if (document_.IsChanged() || unsavedTyping) {
    Prompts::Notice(ChangedOnDiskNotice());
    return;
  }
  if (Prompts::Confirm(ReloadQuestion(), PromptButtons::YesNo) != PromptAnswer::Yes) return;
  Access access;
  access.lock = std::move(lock_);
  access.readOnly = readOnly_;
  const QString path = fileName_;
  if (LoadWith(path, std::move(access))) view_.ShowFirstStrip();
}

bool FileSession::Load(const QString& path, FileStamp* read) {
  // From here on the document no longer belongs to the old file name.
  ForgetDocument();
  view_.ClearStripList();
  view_.ClearStripView();
  DataFileContent content = ReadDataFile(path, read);
  if (content.status == DataFileContent::Status::kReadError) {
    Prompts::Error(ReadErrorMessage(path));
    return false;
  }
  if (content.status == DataFileContent::Status::kFormatError) {
    Prompts::Error(FormatErrorMessage());
    return false;
  }
  document_.SetLines(std::move(content.lines));
  document_.MarkSaved();  // a converted old file counts as unchanged
  QList<StripRow> rows;
  try {
    rows = StripRowsOf(document_);
  } catch (const DocumentError&) {
    // Reading the file already checked the strip count; this is a guard.
    ForgetDocument();
    Prompts::Error(FormatErrorMessage());
    return false;
  }
  for (const StripRow& row : rows) view_.AddStripRow(row);
  if (view_.StripRowCount() == 0) {
    // Nothing to show: keep neither the lines nor the name, so that no
    // later save can write this document over the file.
    ForgetDocument();
    return false;
  }
  return true;
}

bool FileSession::ActionFileSaveExecute() { return Save() == SaveOutcome::kWritten; }

bool FileSession::ActionFileSaveAsExecute() { return SaveAs() == SaveOutcome::kWritten; }

FileSession::SaveOutcome FileSession::Save() {
  if (view_.StripRowCount() == 0) return SaveOutcome::kNothingToSave;
  view_.CommitPendingKey();
  // A read-only document is saved under another name.
  if (fileName_.isEmpty() || readOnly_) return AskNameAndWrite();
  switch (CheckBeforeSave()) {
    case DiskAnswer::kWrite:
      break;
    case DiskAnswer::kSaveAs:
      return AskNameAndWrite();
    case DiskAnswer::kCancel:
      return SaveOutcome::kCancelled;
  }
  return Write(fileName_) ? SaveOutcome::kWritten : SaveOutcome::kFailed;
}

FileSession::DiskAnswer FileSession::CheckBeforeSave() {
  if (!stamp_.known) return DiskAnswer::kWrite;
  FileStamp now;
  const DiskChange change = LookAtDisk(fileName_, stamp_, document_.SavedCopy(), &now);
  if (change == DiskChange::kNone) {
    stamp_ = now;
    return DiskAnswer::kWrite;
  }
  const bool deleted = change == DiskChange::kDeleted;
  switch (Prompts::Ask(deleted ? DeletedOnDiskQuestion() : ChangedOnDiskQuestion(),
                       deleted ? DeletedOnDiskButtons() : ChangedOnDiskButtons(), PromptAnswer::No)) {
    case PromptAnswer::Yes:
      return DiskAnswer::kWrite;
    case PromptAnswer::No:
      return DiskAnswer::kSaveAs;
    default:
      return DiskAnswer::kCancel;
  }
}

FileSession::SaveOutcome FileSession::SaveAs() {
  if (view_.StripRowCount() == 0) return SaveOutcome::kNothingToSave;
  view_.CommitPendingKey();
  return AskNameAndWrite();
}

FileSession::SaveOutcome FileSession::AskNameAndWrite() {
  const std::optional<QString> chosen = Prompts::Current().SaveFile(SaveDialog());
  if (!chosen) return SaveOutcome::kCancelled;
  if (!ClaimForSaving(WithDefaultExtension(*chosen, QString::fromLatin1(kDefaultExtension)))) {
    return SaveOutcome::kCancelled;
  }
  return Write(fileName_) ? SaveOutcome::kWritten : SaveOutcome::kFailed;
}

bool FileSession::ClaimForSaving(const QString& path) {
  if (SamePath(path, fileName_) && !readOnly_) return true;  // its own file, its own lock
  Access access;
  LockHolder holder;
  if (access.lock.Take(path, false, &holder) == DataFileLock::Result::kHeld) {
    if (Prompts::Confirm(OverwriteHeldQuestion(holder), PromptButtons::YesNo, PromptAnswer::No) != PromptAnswer::Yes) {
      return false;
    }
    access.lock.Take(path, true);
  }
  // The chosen file is the document's file from now on, written or not: a
  // later save must not go to the file the user chose to keep as it was.
  // What is on disk there now is what the user chose to replace.
  SetFileState(path, std::move(access), FileStamp());
  return true;
}

bool FileSession::Write(const QString& path) {
  FileStamp written;
  if (!WriteDataFile(path, document_.lines(), &written)) {
    // The saved copy stays as it was, so the document still counts as changed.
    Prompts::Error(WriteErrorMessage(path));
    return false;
  }
  stamp_ = told_ = written;
  document_.MarkSaved();
  view_.ChangesSettled();
  view_.DataFileUsed(path);
  return true;
}
