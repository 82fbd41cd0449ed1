// The file commands of the main window: the work is done by FileSession;
// the window supplies the strip list and the strip view. Also what comes
// from the desktop: files given, handed over or dropped, the recent files,
// the end of the session.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>

#include "app/Main.h"
#include "base/Mainsub.h"
#include "base/RecentFiles.h"
#include "document/RecoveryCopy.h"

namespace {

// How long a file from the desktop waits for an open dialog to close
// before it looks again.
constexpr int kDialogWaitMs = 200;
// How long the end of the session waits for open dialogs to close.
constexpr int kSessionEndWaitMs = 50;
constexpr int kSessionEndWaits = 20;

// The first local .VRD file among dropped data; empty when there is none.
QString DroppedDataFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    const QString path = url.toLocalFile();
    if (!path.isEmpty() && QFileInfo(path).suffix().compare(QStringLiteral("vrd"), Qt::CaseInsensitive) == 0) {
      return path;
    }
  }
  return {};
}

// Copies a start cannot offer are told in the status bar for the session
// (in a notice when the status bar is hidden), never left out in silence.
void ShowWithheldCopies(QWidget* window, QStatusBar* bar, const std::vector<WithheldCopy>& withheld) {
  const QString line = WithheldCopiesLine(withheld);
  if (line.isEmpty()) return;
  if (!bar->isVisibleTo(window)) {
    Prompts::Notice(line);
    return;
  }
  auto* note = new QLabel(line, bar);
  note->setObjectName(QStringLiteral("RecoveryNote"));
  note->setToolTip(WithheldCopiesDetails(withheld));
  bar->addPermanentWidget(note);
}

}  // namespace

void TFMain::ActionFileNewExecute() { fileSession_.ActionFileNewExecute(); }

void TFMain::ActionFileOpenExecute() { fileSession_.ActionFileOpenExecute(); }

void TFMain::ActionFileSaveExecute() { fileSession_.ActionFileSaveExecute(); }

void TFMain::ActionFileSaveAsExecute() { fileSession_.ActionFileSaveAsExecute(); }

bool TFMain::OpenDataFile(const QString& path) {
  CommitPendingKey();
  if (fileSession_.ConfirmDiscard()) return false;
  return fileSession_.OpenFile(path);
}

void TFMain::closeEvent(QCloseEvent* event) {
  if (sessionEnding_) {
    event->accept();  // the changes are in the recovery copy
    return;
  }
  if (keyCount_ > 0) RefocusStep();
  if (fileSession_.ConfirmDiscard()) {
    event->ignore();
    return;
  }
  event->accept();
}

void TFMain::CommitPendingKey() {
  if (keyCount_ > 0 && showDetail_) RefocusStep();
  EndKeyEdit();  // also when no focus moved (the window inactive)
}

void TFMain::ClearStripList() { ListView1->clear(); }

int TFMain::StripRowCount() const { return ListView1->topLevelItemCount(); }

void TFMain::ShowFirstStrip() { ShowStrip(1); }

void TFMain::OpenFileFromDesktop(const QString& path) {
  if (sessionEnding_) return;
  if (QApplication::activeModalWidget()) {
    // A dialog is working on the document: the file waits until it closes.
    QTimer::singleShot(kDialogWaitMs, this, [this, path] { OpenFileFromDesktop(path); });
    return;
  }
  BringToFront();
  OpenDataFile(path);
}

void TFMain::BringToFront() {
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void TFMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedDataFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFMain::dropEvent(QDropEvent* event) {
  const QString path = DroppedDataFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // Opened after the drop has ended, so that the question about unsaved
  // changes does not hold up the program the file came from.
  QTimer::singleShot(0, this, [this, path] { OpenFileFromDesktop(path); });
}

void TFMain::EndSession() {
  if (QWidget* dialog = QApplication::activeModalWidget(); dialog && sessionEndWaits_ < kSessionEndWaits) {
    // A dialog closed answers as Cancel does; the session ends once it is gone.
    ++sessionEndWaits_;
    dialog->close();
    QTimer::singleShot(kSessionEndWaitMs, this, &TFMain::EndSession);
    return;
  }
  CommitPendingKey();
  recovery_->Write(TakeRecoverySnapshot());
  recovery_->KeepAtExit();
  recovery_->Wait();
  sessionEnding_ = true;
  close();
  // The program ends even with a window of its own still open (the find
  // window, a dialog that would not close): quit ends every event loop.
  QCoreApplication::quit();
}

void TFMain::CreateRecentFilesMenu() {
  setAcceptDrops(true);
  recentFiles_ = std::make_unique<RecentFiles>(settings_->Ini());
  auto* file = menuBar()->findChild<QMenu*>(QStringLiteral("MenuFile"));
  MenuRecent = new QMenu(QStringLiteral("最近使ったファイル(&R)"), file);
  MenuRecent->setObjectName(QStringLiteral("MenuRecent"));
  QAction* lastSeparator = nullptr;
  for (QAction* item : file->actions()) {
    if (item->isSeparator()) lastSeparator = item;
  }
  file->insertMenu(lastSeparator, MenuRecent);
  FillRecentFilesMenu();
}

void TFMain::FillRecentFilesMenu() {
  MenuRecent->clear();
  const QStringList& files = recentFiles_->Files();
  for (int i = 0; i < files.size(); ++i) {
    const QString shown = QDir::toNativeSeparators(files[i]).replace('&', QStringLiteral("&&"));
    QAction* item = MenuRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    item->setStatusTip(QDir::toNativeSeparators(files[i]));
    // Queued: opening refills this menu, which deletes the item.
    const QString path = files[i];
    connect(item, &QAction::triggered, this, [this, path] { OpenRecentFile(path); }, Qt::QueuedConnection);
  }
  MenuRecent->setEnabled(!files.isEmpty());
}

void TFMain::OpenRecentFile(const QString& path) {
  if (!QFileInfo(path).isFile()) {
    Prompts::Error(QStringLiteral("ファイルが見つかりません。最近使ったファイルの一覧から削除します。\n%1")
                       .arg(QDir::toNativeSeparators(path)));
    recentFiles_->Remove(path);
    FillRecentFilesMenu();
    return;
  }
  OpenDataFile(path);
}

void TFMain::DataFileUsed(const QString& path) {
  recentFiles_->Add(path);
  FillRecentFilesMenu();
}

void TFMain::CreateRecovery() {
  recovery_ = std::make_unique<RecoveryCopies>(settings_->Locations().RecoveryFolder());
  auto* timer = new QTimer(this);
  timer->setInterval(kRecoveryCheckMs);
  connect(timer, &QTimer::timeout, this, &TFMain::KeepRecoveryCopy);
  timer->start();
}

TFMain::RecoveryStamp TFMain::CurrentRecoveryStamp() const {
  RecoveryStamp stamp{document_.Revision(), -1, 0, FileName()};
  if (QPlainTextEdit* editor = EditingEditor(); editor && editor->document()->isModified()) {
    stamp.key = editingKey_;
    stamp.typed = editor->document()->revision();
  }
  return stamp;
}

RecoverySnapshot TFMain::TakeRecoverySnapshot() const {
  return {document_.lines(), document_.SavedCopy(), TypedKeyChanges(), FileName()};
}

void TFMain::KeepRecoveryCopy() {
  const RecoveryStamp stamp = CurrentRecoveryStamp();
  if (stamp == recoveryStamp_) return;
  recoveryStamp_ = stamp;
  recovery_->Write(TakeRecoverySnapshot());
}

void TFMain::ChangesSettled() {
  recovery_->Remove();
  recoveryStamp_ = CurrentRecoveryStamp();
}

void TFMain::OfferRecoveryCopies() {
  FoundCopies found = FindLeftCopies(settings_->Locations().RecoveryFolder());
  ShowWithheldCopies(this, StatusBar1, found.withheld);
  for (LeftCopy& copy : found.offered) {
    // A question closed by the end of the session: the rest wait too.
    if (sessionEnding_ || sessionEndWaits_ > 0) return;
    const RecoveryChoice choice = AskAboutCopy(copy);
    if (choice == RecoveryChoice::kLater) continue;
    if (choice == RecoveryChoice::kDiscard) {
      copy.Discard();
      continue;
    }
    // A copy that cannot be read (its error shown) stays for the next start.
    if (!fileSession_.OpenRecovered(copy.CopyPath(), copy.DataFile())) return;
    recovery_->Adopt(std::move(copy));
    recoveryStamp_ = CurrentRecoveryStamp();  // the copy holds the document as it is
    return;
  }
}
