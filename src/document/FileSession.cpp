#include "document/FileSession.h"

#include <QDir>
#include <QFile>

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

namespace {

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
    case PromptAnswer::Yes:
      // A save that failed must not let the caller throw the changes away.
      if (Save() == SaveOutcome::kFailed) return true;
      return fileName_.isEmpty();
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
  if (!Load(path)) return false;
  fileName_ = path;
  view_.ShowFirstStrip();
  view_.DataFileUsed(path);
  return true;
}

bool FileSession::OpenRecovered(const QString& copy, const QString& dataFile) {
  if (!Load(copy)) return false;
  fileName_ = dataFile;
  document_.ClearSavedCopy();  // none of it is in the data file
  view_.ShowFirstStrip();
  return true;
}

bool FileSession::Load(const QString& path) {
  // From here on the document no longer belongs to the old file name.
  ForgetDocument();
  view_.ClearStripList();
  view_.ClearStripView();
  DataFileContent content = ReadDataFile(path);
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
  if (fileName_.isEmpty()) return AskNameAndWrite();
  return Write(fileName_) ? SaveOutcome::kWritten : SaveOutcome::kFailed;
}

FileSession::SaveOutcome FileSession::SaveAs() {
  if (view_.StripRowCount() == 0) return SaveOutcome::kNothingToSave;
  view_.CommitPendingKey();
  return AskNameAndWrite();
}

FileSession::SaveOutcome FileSession::AskNameAndWrite() {
  const std::optional<QString> chosen = Prompts::Current().SaveFile(SaveDialog());
  if (!chosen) return SaveOutcome::kCancelled;
  // The chosen file is the document's file from now on, written or not: a
  // later save must not go to the file the user chose to keep as it was.
  fileName_ = WithDefaultExtension(*chosen, QString::fromLatin1(kDefaultExtension));
  return Write(fileName_) ? SaveOutcome::kWritten : SaveOutcome::kFailed;
}

bool FileSession::Write(const QString& path) {
  if (!WriteDataFile(path, document_.lines())) {
    // The saved copy stays as it was, so the document still counts as changed.
    Prompts::Error(WriteErrorMessage(path));
    return false;
  }
  document_.MarkSaved();
  view_.ChangesSettled();
  view_.DataFileUsed(path);
  return true;
}
