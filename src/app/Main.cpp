// The main window: construction, settings, first show, hints and closing.
#include "app/Main.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

#include "app/Version.h"
#include "base/Mainsub.h"
#include "base/Placement.h"
#include "base/RecentFiles.h"
#include "document/RecoveryCopy.h"
#include "document/Series.h"
#include "keylabels/PaletteList.h"
#include "view/CanvasImage.h"
#include "view/KeyFormat.h"
#include "view/StripView.h"

namespace {

const QString kChecked = QStringLiteral("Checked");
const QString kPosition = QStringLiteral("Position");
const QString kData = QStringLiteral("Data");
constexpr int kDefaultColumnWidths[6] = {120, 280, 120, 160, 120, 120};

}  // namespace

TFMain::TFMain(const QString& programFolder)
    : settings_(programFolder.isEmpty() ? std::make_unique<TSettings>()
                                        : std::make_unique<TSettings>(programFolder)) {
  setObjectName(QStringLiteral("FMain"));
  QFont windowFont(QStringLiteral("ＭＳ Ｐゴシック"));
  windowFont.setPixelSize(12);
  setFont(windowFont);
  setMinimumSize(1000, 738);

  CreateActions();
  CreateHistory();
  CreateTitleAndIcon();
  CreateMenus();
  CreateRecentFilesMenu();
  CreateRecovery();
  CreateDataFileWatcher();
  fileSession_.SetShippedFolder(settings_->Locations().ShippedFolder());
  CreateToolBar();
  CreatePanels();
  CreatePopupMenus();
  WireStripView();
  WireFormatControls();
  RestoreState();

  connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection&) {
            if (quietListChange_) return;
            // Each newly selected row would lay its strip out over the one
            // before: lay out only the row that would end up shown, so that
            // selecting a thousand strips for printing stays instant.
            QList<int> rows;
            for (const QModelIndex& index : selected.indexes()) {
              if (index.column() == 0) rows.append(index.row());
            }
            if (rows.isEmpty()) return;
            const int focused = ListView1->currentIndex().row();
            ListView1SelectItem(rows.contains(focused) ? focused : rows.last());
          });
  connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { ListView1DblClick(); });
  connect(ComboBoxSeries, &QComboBox::activated, this, &TFMain::ComboBoxSeriesChange);
  connect(Splitter1, &QSplitter::splitterMoved, this, [this] { Splitter1Moved(); });
  for (QScrollArea* box : {ScrollBox1, ScrollBox2}) {
    box->viewport()->installEventFilter(this);
  }
}

TFMain::~TFMain() {
  // The history, a child, is cleared when it goes, after this window's
  // members: it must not call back into them.
  history_->disconnect(this);
  // The per-key controls go before the window's own widgets do.
  delete stripView_;
  stripView_ = nullptr;
  SaveState();
  settings_.reset();
}

void TFMain::RestoreState() {
  RestoreWindowPlacement(this, *settings_, QStringLiteral("Main"), {0, 0, 1000, 738, 2});
  SetKeyLabelShown(settings_->ReadInteger(kChecked, QStringLiteral("DispKeyLabel"), 1) != 0);
  SetListShown(settings_->ReadInteger(kChecked, QStringLiteral("DispList"), 1) != 0);
  SetToolBarShown(settings_->ReadInteger(kChecked, QStringLiteral("DispToolBar"), 1) != 0);
  SetStatusBarShown(settings_->ReadInteger(kChecked, QStringLiteral("DispStatusBar"), 1) != 0);
  const int listHeight = ClampedSize(settings_->ReadInteger(kPosition, QStringLiteral("TelListHeight"), 105));
  ListView1->resize(ListView1->width(), listHeight);
  Splitter1->setSizes({qMax(0, height() - listHeight), listHeight});
  for (int c = 0; c < 6; ++c) {
    ListView1->setColumnWidth(
        c, ClampedSize(settings_->ReadInteger(kPosition, QStringLiteral("TelList%1").arg(c), kDefaultColumnWidths[c])));
  }
  showDetail_ = settings_->ReadInteger(kChecked, QStringLiteral("DispLayout"), 1) == 0;
  SetDisplayMode(showDetail_);
  int series = settings_->ReadInteger(kData, QStringLiteral("SelSeriesNo"), 0);
  // Every per-series table has seven rows: another value would index past them.
  currentSeries_ = IsSeries(series) ? series : 0;
  ComboBoxSeries->setCurrentIndex(currentSeries_);
}

void TFMain::SaveState() {
  SaveWindowPlacement(this, *settings_, QStringLiteral("Main"));
  settings_->WriteInteger(kChecked, QStringLiteral("DispKeyLabel"), dispKeyLabel_ ? 1 : 0);
  settings_->WriteInteger(kChecked, QStringLiteral("DispList"), dispList_ ? 1 : 0);
  settings_->WriteInteger(kChecked, QStringLiteral("DispToolBar"), dispToolBar_ ? 1 : 0);
  settings_->WriteInteger(kChecked, QStringLiteral("DispStatusBar"), dispStatusBar_ ? 1 : 0);
  settings_->WriteInteger(kChecked, QStringLiteral("DispLayout"), showDetail_ ? 0 : 1);
  settings_->WriteInteger(kPosition, QStringLiteral("TelListHeight"), ListView1->height());
  for (int c = 0; c < 6; ++c) {
    settings_->WriteInteger(kPosition, QStringLiteral("TelList%1").arg(c), ListView1->columnWidth(c));
  }
  settings_->WriteInteger(kData, QStringLiteral("SelSeriesNo"), currentSeries_);
  // Last, so that a new settings file holds every other key where it always has.
  recentFiles_->Save();
}

void TFMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!firstShown_) {
    firstShown_ = true;
    FirstShow();
  }
}

void TFMain::FirstShow() {
  ApplicationHint(QString());
  FillFontList();
  Myfunc_Set_FontSize(ComboBoxFontSize);
  StartPalette();
  ClearStripView();
}

void TFMain::Myfunc_Set_FontSize(QComboBox* target) {
  const QSignalBlocker quiet(target);  // filling the list is no size choice
  target->clear();
  target->addItems(FontSizeList());
}

void TFMain::FillFontList() {
  const QSignalBlocker quiet(ComboBoxFont);  // filling the list is no font choice
  ComboBoxFont->clear();
  fontList_ = FontListEntries(QFontDatabase::families(), SubstitutedFontNames(),
                              [](const QString& family) { return QFontDatabase::isScalable(family); });
  for (const QString& entry : fontList_) ComboBoxFont->addItem(FontListName(entry));
}

bool TFMain::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    ApplicationHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  if (event->type() == QEvent::WindowActivate && diskChangePending_) {
    QTimer::singleShot(0, this, &TFMain::DataFileChangedOnDisk);
  }
  return QMainWindow::event(event);
}

void TFMain::ApplicationHint(const QString& longHint) {
  const QString text = longHint.isEmpty() ? TFVersion::NoticeLine() : longHint;
  StatusText1->setText(QChar(0x3000) + text);
}

QString TFMain::StatusText() const { return StatusText1->text(); }

void TFMain::ShowStatusMessage(const QString& text) { StatusText1->setText(QChar(0x3000) + text); }

void TFMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ApplyScrollRule(1, 0);
}

bool TFMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListView1 && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
      ActionJimeijoDeleteExecute();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}
