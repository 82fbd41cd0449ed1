#pragma once
// The main window: owns the strip document, shows the strip list and the
// strip view, carries the key-label palette and every command.

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <QColor>
#include <functional>
#include <memory>
#include <optional>

#include "document/FileSession.h"
#include "document/StripDocument.h"
#include "view/KeyEditing.h"
#include "view/KeySearch.h"
#include "view/KeySelection.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class QSplitter;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QStatusBar;
class QUndoStack;
class TSettings;
class CanvasImage;
class PaletteButtons;
class DataFileWatcher;
class RecentFiles;
class RecoveryCopies;
class StripView;
struct RecoverySnapshot;

// The windows created at start-up besides the main window, in creation order.
class TFTelAdd;
class TFKeyLabel;
class TFVersion;
class TFAdjust;
class TFSearch;
class TFPrintJimeijoList;
class TFPrintJimeijoCard;
class TFViewImage;
class DesignerWindow;
class TemplateManager;

struct AppWindows {
  TFTelAdd* telAdd = nullptr;
  TFKeyLabel* keyLabel = nullptr;
  TFVersion* version = nullptr;
  TFAdjust* adjust = nullptr;
  TFSearch* search = nullptr;
  TFPrintJimeijoList* printList = nullptr;
  TFPrintJimeijoCard* printCard = nullptr;
  TFViewImage* viewImage = nullptr;
};

class TFMain : public QMainWindow, private FileSessionView, private SearchHost {
  Q_OBJECT
 public:
  // The settings object lives in the program folder given; an empty folder
  // means the folder of the executable.
  explicit TFMain(const QString& programFolder = QString());
  ~TFMain() override;

  TSettings& Settings() { return *settings_; }
  // Opens the strip type designer on a template file, or on a new type when
  // the path is empty (after its question about unsaved changes).
  void OpenTemplateDesigner(const QString& templatePath);
  // The designer's 新規 and 編集 in the dialog テンプレートの管理: each closes
  // the dialog and opens the designer.
  void AddDesignerButtons(TemplateManager& dialog);
  void SetWindows(const AppWindows& windows) { windows_ = windows; }

  // State other windows and the tests read.
  int CurrentSeries() const { return currentSeries_; }
  int CurrentStripNumber() const { return currentStripNumber_; }
  int KeyCount() const { return keyCount_; }
  bool DetailViewChosen() const { return showDetail_; }
  const QStringList& FontList() const { return fontList_; }
  StripDocument& Document() { return document_; }
  const QString& FileName() const { return fileSession_.FileName(); }
  bool IsReadOnly() const { return fileSession_.IsReadOnly(); }
  // The caption for a data file (empty for a document never saved).
  static QString TitleFor(const QString& fileName, bool readOnly = false);
  // Opens a data file as the open command does, without its dialog; a file
  // that cannot be read is refused before the question about changes.
  bool OpenDataFile(const QString& path);

  // The desktop (MainFile.cpp): a file given on the command line, handed
  // over by a second start or dropped on the window waits in a queue and
  // opens from the event loop once no dialog or message box is open, with
  // the window brought to the front; while one is open the window asks
  // for attention. A file that cannot be read is refused before the
  // question about unsaved changes.
  void OpenFileFromDesktop(const QString& path);
  // A second start without a file: the window (and a dialog open on it)
  // comes to the front and asks for attention.
  void ComeToFront();
  // The session ends (SIGTERM): the window closes as on exit but without
  // questions; unsaved changes are kept as a recovery copy.
  void EndSession();
  // Recovery copies (MainFile.cpp). Every few seconds, when the document
  // or the key being typed has changed since the last copy, a copy is
  // written (or, with no unsaved changes left, removed).
  void KeepRecoveryCopy();
  // At start-up: offers each copy that a program of this user and host
  // left behind without ending normally, the newest first, until one is
  // recovered; tells in the status bar of those it cannot offer.
  void OfferRecoveryCopies();
  RecoveryCopies& Recovery() { return *recovery_; }
  // The data file changed on disk (its watcher saw it): looked at while
  // this window is active, else once it is active again.
  void DataFileChangedOnDisk();
  static constexpr int kRecoveryCheckMs = 8000;
  // The recent files menu "最近使ったファイル(&R)" and its list.
  QMenu* RecentFilesMenu() const { return MenuRecent; }
  void OpenRecentFile(const QString& path);
  QAction* Action(const QString& name) const { return actions_.value(name); }
  QString StatusText() const;
  // Says what a command did or found in the status line, until the next hint.
  void ShowStatusMessage(const QString& text);

  // Operations other parts of the program use.
  void EnableEditCommands(bool on);
  void ApplyScrollRule(int mode, int key);
  void ShowDetailAtKey(int k);
  void SelectSeries(int series);
  // The strip list rows, with the header lines as the document holds them.
  QList<StripRow> ListRows() const;
  // Lays out the strip starting at the strip start line in both views.
  void BuildStripView();
  // Destroys every key control and forgets the strip start line.
  void ClearStripView() override;
  StripView& View() { return *stripView_; }

  // Key selection and editing (MainKeys.cpp).
  const KeySelection& Selection() const { return selection_; }
  int CurrentKey() const { return currentKey_; }
  // The key whose editor is open, -1 when none.
  int EditingKey() const { return editingKey_; }
  // The selected keys in key order, and the document lines of their blocks:
  // what the commands that act on every selected key work on.
  std::vector<int> SelectedKeys() const { return selection_.SelectedKeys(); }
  QList<qsizetype> SelectedKeyLines() const;
  void ClearKeySelection();
  // Writes key k's editor lines into its block and redraws the key; a
  // damaged block shows the layout error and leaves the document alone.
  bool CommitKeyText(int k);
  // A palette label handed to every selected key that shows no picture.
  void ApplyKeyLabelToSelectedKeys(const KeyLabelValues& label);
  // Ends the edit in progress, if any, committing it.
  void EndKeyEdit();
  // Shows key k's format in the tool bar (MainFormat.cpp).
  void ShowKeyFormat(int k);
  // Writes alignment a into key k and shows it on the tool bar.
  void SetKeyAlignment(int k, int a);
  // The tool bar's font and size boxes changed by the user.
  void ComboBoxFontChange();
  void ComboBoxFontSizeChange();

  // The handlers of the detail view's key controls.
  void KeyFaceMouseDown(int k, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
  void KeyFaceClick(int k);
  void KeyFaceDblClick(int k);
  void KeyPictureMouseDown(int k, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
  void KeyPictureClick(int k);
  void KeyPictureDblClick(int k);
  void KeyPanelEnter(int k);
  void KeyPanelExit(int k);
  void KeyEditorKeyPress(int k, int key);
  void KeyEditorExit(int k);
  // A key typed on the current key's panel opens its editor: `passOn` (a
  // character or a composition) goes on to the editor, which starts with
  // it; without one (Enter, F2) the caret stands at the end of the text.
  void KeyPanelEdit(int k, QEvent* passOn);
  // The bytes of the line being typed, in the status line.
  void KeyEditorLineBytes(int k, int line, int bytes);
  // The key-label palette (MainPalette.cpp).
  void MakeKeyLabelButtons(int series);
  void FreeKeyLabelButtons();
  void SetKeyLabelCaptions();
  PaletteButtons& KeyLabelButtons();
  const Lines& PaletteList() const { return paletteList_; }

  // Find and replace (MainSearch.cpp): one press of the dialog's button,
  // every occurrence at once, and showing a match in its key's editor.
  const SearchState& KeySearchState() const { return searchState_; }
  void SearchKeyTexts(SearchMode mode, const SearchRequest& request) override;
  void ReplaceAllKeyTexts(const SearchRequest& request) override;
  void SelectFoundText(int strip, int key, int position, int length);

  // Undo and redo (MainUndo.cpp). Every change a user action makes to the
  // document is one step of the history.
  QUndoStack& History() { return *history_; }
  void ActionEditUndoExecute();
  void ActionEditRedoExecute();
  // Makes the document changes of one user action, from construction to
  // destruction, one undo step named `name`; nested steps join the outer one.
  class HistoryStep {
   public:
    HistoryStep(TFMain& window, const char* name);
    ~HistoryStep();
    HistoryStep(const HistoryStep&) = delete;
    HistoryStep& operator=(const HistoryStep&) = delete;

   private:
    TFMain& window_;
  };

 public slots:
  // File
  void ActionFileNewExecute();
  void ActionFileOpenExecute();
  void ActionFileSaveExecute();
  void ActionFileSaveAsExecute();
  void ActionFileSetupExecute();
  void ActionFilePrintExecute();
  void ActionFilePrintListExecute();
  void ActionFileExportPdfExecute();
  void ActionFileExportCsvExecute();
  void ActionFileImportCsvExecute();
  void ActionFileExitExecute();
  // Edit
  void ActionEditCutExecute();
  void ActionEditCopyExecute();
  void ActionEditPasteExecute();
  void ActionEditDeleteExecute();
  void ActionEditPicOnExecute();
  void ActionEditPicOffExecute();
  void ActionEditAllSelExecute();
  void ActionEditSelResetExecute();
  void ActionEditFindExecute();
  void ActionEditReplaceExecute();
  // Strips
  void ActionJimeijoNewExecute();
  void ActionJimeijoEditExecute();
  void ActionJimeijoDeleteExecute();
  // The strip types (MainTemplates.cpp): the focused strip's type saved as
  // the user's template, and the dialog that manages the templates.
  void ActionJimeijoSaveTypeExecute();
  void ActionJimeijoTemplatesExecute();
  // Saves strip `number`'s type as a template, asking for its name; true when saved.
  bool SaveStripTypeAsTemplate(int number);
  void ActionJimeijoDesignExecute();
  // Palette, list, view
  void ActionKeyLabelEditExecute();
  void ActionKeyLabelShowExecute();
  void ActionListJimeijoExecute();
  void ActionShowToolBarExecute();
  void ActionShowStatusBarExecute();
  void ActionShowDetailExecute();
  void ActionShowAllExecute();
  // Format
  void ActionFormatFontExecute();
  void ActionFormatColorExecute();
  void ActionFormatBColorExecute();
  void ActionFormatBoldExecute();
  void ActionFormatItalicExecute();
  void ActionFormatLeftExecute();
  void ActionFormatCenterExecute();
  void ActionFormatRightExecute();
  // Help
  void ActionHelpAboutExecute();

  // Strip list events.
  void ListView1SelectItem(int row);
  void ListView1DblClick();
  void ComboBoxSeriesChange(int index);
  void KeyLabelButtonClick(int entry);
  void Splitter1Moved();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Building the window (MainUi.cpp).
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreatePanels();
  void CreatePopupMenus();
  // Push buttons; toggles whose pressed state their handler sets (view
  // toggles, modes, alignment); toggles that flip themselves (bold, italic).
  enum class ButtonKind { Push, HandlerPressed, SelfToggling };
  // A radio item's mark back to its tool bar button's state.
  void RestoreRadioMarks(QActionGroup* group);
  QToolButton* AddToolButton(const QString& name, const QString& hint, QAction* action,
                             ButtonKind kind);
  QScrollArea* CreateScrollBox(const QString& name, const QString& canvasName, CanvasImage** canvas);

  // Settings (Main.cpp).
  void RestoreState();
  void SaveState();
  void FirstShow();
  void FillFontList();
  void Myfunc_Set_FontSize(QComboBox* target);

  // The palette of the current series: buttons, list, captions.
  void StartPalette();
  void ChangePaletteSeries(int series);

  // Hints and status line.
  void ApplicationHint(const QString& longHint);

  // View toggles and modes (MainView.cpp).
  void SetKeyLabelShown(bool shown);
  void SetListShown(bool shown);
  void SetToolBarShown(bool shown);
  void SetStatusBarShown(bool shown);
  void SetDisplayMode(bool detail);
  void WireStripView();
  void WireKeyEvents();
  // Focuses key k's detail text panel so that KeyPanelEnter runs, also when
  // the panel has the focus already.
  void FocusKeyPanel(int k);
  // Enables only the commands that act on several keys.
  void EnableOnlySelectionCommands();
  void SetPopupEntryEnabled(QMenu* popup, const char* command, bool on);
  // The picture items: attach off and detach on, or detach off.
  void EnablePictureRemoval(bool on);
  // The selection after a Shift or Ctrl click: several keys or one.
  void AfterSelectionClick();
  // The current key exists in the detail view: the single-key commands act on it.
  bool HasCurrentKey() const;
  QPlainTextEdit* EditingEditor() const;
  // How the status line names key k: its number label, else its position.
  QString KeyName(int k) const;
  // After key k's commit: whether a line was cut, whether the text fits.
  void ReportCommit(int k, bool cut);
  // Names the keys whose text does not fit, when there are any.
  void ReportKeysNotFitting(const std::vector<int>& keys);
  // The strip commands (MainStrips.cpp).
  static void FillListItem(class QTreeWidgetItem* item, const StripRow& row);
  void SelectListRowQuietly(int row);
  // Selects strip `number`'s row and lays the strip out.
  void ShowStrip(int number);
  // Lays strip `number` out and makes its series current; the list's
  // selection is left as it is.
  void LayOutStrip(int number);
  // Destroys the key controls and resets the view state (ClearStripView
  // also forgets the strip start line).
  void ResetStripView();
  void FocusDetailPanel(int k);
  QScrollArea* ActiveScrollBox() const;
  // Commits a key being typed: focus to the display panel, then the current
  // key's text panel.
  void RefocusStep();
  // Pictures (MainPictures.cpp).
  // Find and replace (MainSearch.cpp).
  void OpenSearch(SearchMode mode);
  // Writes the text of the key being edited into its block, leaving the
  // editor open with its selection.
  void CommitEditorInPlace();
  // A key of the laid-out strip whose lines a replacement changed.
  void RedrawReplacedKey(int strip, int key);
  Lines KeyTextLines(int k) const;

  // Undo and redo (MainUndo.cpp).
  void CreateHistory();
  void ForgetHistory() override;
  // Makes `changes` (an undo or redo) and shows the strip and keys they
  // touched; false when they no longer fit the document.
  bool ApplyHistoryChanges(const ChangeSet& changes);
  void ShowHistoryChanges(const ChangeSet& changes, bool stripsChanged);
  void RefillStripList();
  // The keys of the laid-out strip whose blocks hold a changed line.
  std::vector<int> KeysIn(const std::vector<LineRange>& ranges) const;
  void SelectChangedKeys(const std::vector<int>& keys);
  // Undo or redo when the history allows it, the editor's own first.
  void StepHistory(bool undo);

  // Formatting (MainFormat.cpp).
  void WireFormatControls();
  // The formatting commands act: a strip is laid out in the detail view.
  bool FormatCommandsApply() const;
  // Writes into every selected key with `write`, then reloads its editor's
  // format and redraws it; a damaged block shows the layout error.
  void FormatSelectedKeys(const std::function<void(StripDocument&, qsizetype)>& write);
  void PressAlignmentButton(int a);
  // A size typed but not confirmed is dropped: the box shows the current
  // key's size again.
  void DropTypedSize();
  // Runs the colour dialog on the current key's text or background colour.
  std::optional<int> ChooseColor(bool background);

  // The desktop (MainFile.cpp).
  void CreateRecentFilesMenu();
  void FillRecentFilesMenu();
  void BringToFront();
  // The window's icon, and its title following the file and its changes.
  void CreateTitleAndIcon();
  void ShowTitle();
  // The files from the desktop waiting to be opened, one at a time.
  void PlanDesktopFiles(int delayMs);
  void TakeDesktopFile();
  bool DialogOpen() const;
  QStringList desktopFiles_;
  bool desktopFilesPlanned_ = false;
  bool openingDesktopFile_ = false;
  void DataFileUsed(const QString& path) override;
  void FileStateChanged() override;
  void CreateDataFileWatcher();
  DataFileWatcher* dataFileWatcher_ = nullptr;
  bool diskChangePending_ = false;
  void CreateRecovery();
  // What tells a check that something changed since the last copy.
  struct RecoveryStamp {
    quint64 revision = 0;
    int key = -1;  // the key being typed, -1 when none
    int typed = 0; // its editor's revision
    QString dataFile;
    bool operator==(const RecoveryStamp&) const = default;
  };
  RecoveryStamp CurrentRecoveryStamp() const;
  RecoverySnapshot TakeRecoverySnapshot() const;
  // The changes the commit of the key being typed would make (MainKeys.cpp).
  ChangeSet TypedKeyChanges() const;
  void ChangesSettled() override;
  std::unique_ptr<RecoveryCopies> recovery_;
  RecoveryStamp recoveryStamp_;
  bool sessionEnding_ = false;
  int sessionEndWaits_ = 0;
  QMenu* MenuRecent = nullptr;
  std::unique_ptr<RecentFiles> recentFiles_;

  std::unique_ptr<TSettings> settings_;
  AppWindows windows_;
  // The strip type designer, made when first opened (MainDesigner.cpp).
  DesignerWindow* designer_ = nullptr;
  bool firstShown_ = false;

  // What the file commands need of the window.
  void CommitPendingKey() override;
  void ClearStripList() override;
  void AddStripRow(const StripRow& row) override;
  int StripRowCount() const override;
  void ShowFirstStrip() override;

  // Document state.
  StripDocument document_;
  FileSession fileSession_{document_, *this};
  qsizetype stripStartLine_ = 0;
  int currentStripNumber_ = 0;
  // The list's selection changes by the program, not by the user: the
  // strip is laid out by the caller.
  bool quietListChange_ = false;

  // Undo history.
  QUndoStack* history_ = nullptr;
  int historyStepDepth_ = 0;
  QString historyStepName_;
  bool applyingHistory_ = false;
  bool historyBroken_ = false;

  // View state.
  int currentSeries_ = 0;
  int keyCount_ = 0;
  int currentKey_ = 0;
  bool toolbarComboFlag_ = false;
  QString shownSizeText_;  // the size box's text as the program last set it
  bool selectionClickFlag_ = false;
  int editingKey_ = -1;
  int panelEnters_ = 0;  // counts KeyPanelEnter runs
  KeySelection selection_;
  SearchState searchState_;
  bool dispKeyLabel_ = true;
  bool dispList_ = true;
  bool dispToolBar_ = true;
  bool dispStatusBar_ = true;
  bool showDetail_ = false;
  QStringList fontList_;
  QHash<QAction*, QToolButton*> radioButtons_;

  // Palette state.
  Lines paletteList_;
  Lines labelLines_;
  PaletteButtons* keyLabelButtons_ = nullptr;

  QHash<QString, QAction*> actions_;
  StripView* stripView_ = nullptr;

 public:
  // Controls, named as the window's layout names them.
  QToolBar* ToolBar1 = nullptr;
  QToolButton* ToolButtonListJimeijo = nullptr;
  QToolButton* ToolButtonBold = nullptr;
  QToolButton* ToolButtonItalic = nullptr;
  QToolButton* ToolButtonLeft = nullptr;
  QToolButton* ToolButtonCenter = nullptr;
  QToolButton* ToolButtonRight = nullptr;
  QToolButton* ToolButtonKeyLabel = nullptr;
  QToolButton* ToolButtonShowDetail = nullptr;
  QToolButton* ToolButtonShowAll = nullptr;
  QComboBox* ComboBoxFont = nullptr;
  QComboBox* ComboBoxFontSize = nullptr;
  QComboBox* ComboBoxSeries = nullptr;
  QWidget* pnlBase = nullptr;
  QWidget* pnlKeyLabel = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QTreeWidget* ListView1 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QWidget* pnlDisp = nullptr;
  QLabel* pnlText = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  QScrollArea* ScrollBox2 = nullptr;
  CanvasImage* imgBase1 = nullptr;
  CanvasImage* imgBase2 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* StatusText1 = nullptr;
  QMenu* PopupMenu1A = nullptr;
  QMenu* PopupMenu1B = nullptr;
  QMenu* PopupMenu2 = nullptr;
};
