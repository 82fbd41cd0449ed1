#pragma once
// The file commands of the main window (new, open, save, save as) and the
// unsaved-changes question, on the strip document and the current file
// name. A data file may lie on a folder that others share: while it is
// open the session holds a lock beside it (see DataFileLock), and it
// remembers what it read or last wrote there (FileStamp), so that a save
// never overwrites somebody else's work without a question. Everything outside the document (the strip list, the strip view, a
// key being typed) is reached through FileSessionView, which the main
// window implements; every message and file dialog goes through Prompts.

#include <QString>

#include "base/FileStamp.h"
#include "base/Prompts.h"
#include "document/DataFileLock.h"
#include "document/StripRow.h"

class StripDocument;

class FileSessionView {
 public:
  virtual ~FileSessionView() = default;
  // Commits a key being typed: when a strip is laid out and the detail view
  // is active, moves the focus away from the key editor (refocus step).
  virtual void CommitPendingKey() = 0;
  // Removes every row of ListView1.
  virtual void ClearStripList() = 0;
  // Appends a row to ListView1 (its columns: StripRow::Columns()).
  virtual void AddStripRow(const StripRow& row) = 0;
  virtual int StripRowCount() const = 0;
  // Clears the strip view (ClearStripView) and sets the strip start line to 0.
  virtual void ClearStripView() = 0;
  // Focuses and selects row 0 (its series becomes current), sets the strip
  // start line to 3, lays strip 1 out and makes it the current strip.
  virtual void ShowFirstStrip() = 0;
  // The document is being replaced (new, open): its undo history goes.
  virtual void ForgetHistory() {}
  // A data file was opened or written.
  virtual void DataFileUsed(const QString& /*path*/) {}
  // The document's changes were saved or given up: no copy of them is
  // needed any more.
  virtual void ChangesSettled() {}
  // The file name or the read-only state changed.
  virtual void FileStateChanged() {}
};

class FileSession {
 public:
  FileSession(StripDocument& document, FileSessionView& view) : document_(document), view_(view) {}

  // Full path of the data file, empty when the document has none.
  const QString& FileName() const { return fileName_; }
  // Opened read-only (another program has the file, its folder takes no
  // lock, or it is one of the program's own): everything works but save,
  // which asks for another name.
  bool IsReadOnly() const { return readOnly_; }
  // Files in `folder` (the installed program's own) open read-only,
  // without a lock.
  void SetShippedFolder(const QString& folder) { shippedFolder_ = folder; }
  // Names the document's file without reading it: nothing is known of
  // what the file holds, so the next save writes without looking.
  void SetFileName(const QString& fileName) {
    fileName_ = fileName;
    stamp_ = told_ = FileStamp();
  }

  // Asks about unsaved changes. True means the caller must stop: the user
  // cancelled, cancelled the save dialog of a never-saved document, or the
  // save failed.
  bool ConfirmDiscard();
  // Empties the document and the file name after ConfirmDiscard.
  void ActionFileNewExecute();
  // Replaces the document by a chosen file after ConfirmDiscard. True when
  // a file with at least one strip was opened. Cancelling the question or
  // the dialog changes nothing; a file that fails to open or holds no strip
  // leaves an empty document and no file name.
  bool ActionFileOpenExecute();
  // Writes the document to the current file name, or runs save as when
  // there is none. Does nothing while the strip list is empty. True when
  // the document was written.
  bool ActionFileSaveExecute();
  // Asks for a file name, makes it the current file name and writes the
  // document there. True when written; a failed write keeps the new name.
  bool ActionFileSaveAsExecute();

  // Opens a file named outside the open dialog (the desktop, the recent
  // files): a file that is missing or cannot be read is refused with its
  // message before anything is asked, and the document stays as it was;
  // otherwise as the open command after its dialog, question included.
  bool OpenGivenFile(const QString& path);
  // The part of open after the dialog: empties the document, the name, the
  // list and the view, then reads `path`. Asks nothing about unsaved changes.
  bool OpenFile(const QString& path);
  // Opens the recovery copy `copy` as the document of `dataFile` (empty for
  // a document never saved), marked as changed, so that saving writes
  // `dataFile`. Asks nothing about unsaved changes; the same results as
  // OpenFile.
  bool OpenRecovered(const QString& copy, const QString& dataFile);
  // The data file may have changed on disk (the window saw it change). A
  // change not seen before is told once: a document without unsaved
  // changes offers to read the file again; one with changes says that the
  // save will ask. `unsavedTyping`: text being typed, not yet in the
  // document, counts as a change.
  void ReviewDiskChange(bool unsavedTyping = false);

  // The texts and dialogs of the file commands.
  static QString FormatErrorMessage();
  static QString DiscardQuestion();
  static QString ReadErrorMessage(const QString& path);
  static QString WriteErrorMessage(const QString& path);
  static QString ChangedOnDiskQuestion();
  static QString DeletedOnDiskQuestion();
  static QString ReloadQuestion();
  static QString ChangedOnDiskNotice();
  static QString ReadOnlyFolderNotice();
  static QString OverwriteHeldQuestion(const LockHolder& holder);
  static const QStringList& ChangedOnDiskButtons();
  static const QStringList& DeletedOnDiskButtons();
  static const QStringList& LockHeldButtons();
  static FileDialogSpec OpenDialog();
  static FileDialogSpec SaveDialog();
  static constexpr const char* kDefaultExtension = "VRD";

 private:
  enum class SaveOutcome { kWritten, kNothingToSave, kCancelled, kFailed };
  SaveOutcome Save();
  SaveOutcome SaveAs();
  SaveOutcome AskNameAndWrite();
  // What a save to the current file must do first, after looking at the
  // file on disk.
  enum class DiskAnswer { kWrite, kSaveAs, kCancel };
  DiskAnswer CheckBeforeSave();
  bool Write(const QString& path);
  void ForgetDocument();
  // Empties the document, the name, the list and the view, then reads
  // `path` and fills the list; false, with the document left empty, when
  // it cannot be read or holds no strip. `read` receives the file's stamp.
  bool Load(const QString& path, FileStamp* read = nullptr);
  // How `path` may be opened: its lock taken into `lock`, or read-only
  // (another program has it and the user said so, or no lock can be
  // written). False when the user cancelled. With `mayCancel` false a
  // file held elsewhere opens read-only after a notice.
  struct Access {
    DataFileLock lock;
    bool readOnly = false;
    bool folderRefused = false;
  };
  bool ClaimAccess(const QString& path, bool mayCancel, Access* access);
  // Load, then the document belongs to `path` with `access`.
  bool LoadWith(const QString& path, Access access);
  // The chosen file of save as: its lock, asking when another program
  // has it. False when the user keeps away from it.
  bool ClaimForSaving(const QString& path);
  void SetFileState(const QString& path, Access access, const FileStamp& stamp);

  StripDocument& document_;
  FileSessionView& view_;
  QString fileName_;
  DataFileLock lock_;
  bool readOnly_ = false;
  QString shippedFolder_;
  // The data file as last read or written; unknown without either.
  FileStamp stamp_;
  // The latest state of the file on disk that the user was told about.
  FileStamp told_;
};
