// The main window's view toggles, display modes, scrolling, splitter, series
// selector and strip list selection.
#include <QSignalBlocker>
#include <QAction>
#include <QComboBox>
#include <QLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "app/Main.h"
#include "document/Series.h"
#include "base/Prompts.h"
#include "document/DocumentError.h"
#include "view/CanvasImage.h"
#include "view/StripView.h"

namespace {

// The key-editing items that EnableEditCommands switches together.
const char* const kEditCommands[] = {
    "ActionEditCut",    "ActionEditCopy",   "ActionEditPaste",  "ActionEditDelete",
    "ActionEditPicOn",  "ActionEditPicOff", "ActionEditAllSel", "ActionEditSelReset",
    "ActionEditFind",   "ActionEditReplace",
};

}  // namespace

void TFMain::SetKeyLabelShown(bool shown) {
  dispKeyLabel_ = shown;
  Action(QStringLiteral("ActionKeyLabelShow"))->setChecked(shown);
  ToolButtonKeyLabel->setChecked(shown);
  pnlKeyLabel->setVisible(shown);
}

void TFMain::SetListShown(bool shown) {
  dispList_ = shown;
  Action(QStringLiteral("ActionListJimeijo"))->setChecked(shown);
  ToolButtonListJimeijo->setChecked(shown);
  // The splitter's handle goes with the list.
  ListView1->setVisible(shown);
}

void TFMain::SetToolBarShown(bool shown) {
  dispToolBar_ = shown;
  Action(QStringLiteral("ActionShowToolBar"))->setChecked(shown);
  ToolBar1->setVisible(shown);
}

void TFMain::SetStatusBarShown(bool shown) {
  dispStatusBar_ = shown;
  Action(QStringLiteral("ActionShowStatusBar"))->setChecked(shown);
  // The status bar always sits below the list: the window keeps it at the
  // bottom edge, so no re-stacking is needed when it comes back.
  StatusBar1->setVisible(shown);
}

void TFMain::ActionKeyLabelShowExecute() {
  SetKeyLabelShown(!dispKeyLabel_);
  // The rule needs the scroll box's width after the palette came or went.
  pnlBase->layout()->activate();
  ApplyScrollRule(1, 0);
}

void TFMain::ActionListJimeijoExecute() { SetListShown(!dispList_); }

void TFMain::ActionShowToolBarExecute() { SetToolBarShown(!dispToolBar_); }

void TFMain::ActionShowStatusBarExecute() { SetStatusBarShown(!dispStatusBar_); }

void TFMain::SetDisplayMode(bool detail) {
  showDetail_ = detail;
  Action(QStringLiteral("ActionShowDetail"))->setChecked(detail);
  Action(QStringLiteral("ActionShowAll"))->setChecked(!detail);
  ToolButtonShowDetail->setChecked(detail);
  ToolButtonShowAll->setChecked(!detail);
}

void TFMain::ActionShowAllExecute() {
  pnlDisp->setFocus();  // ends a key text edit in progress
  EndKeyEdit();
  if (!showDetail_ && ToolButtonShowAll->isChecked()) return;
  SetDisplayMode(false);
  if (keyCount_ == 0) return;
  RefocusStep();
  ScrollBox1->hide();
  ScrollBox2->show();
  EnableEditCommands(false);
  ApplyScrollRule(3, 0);
}

void TFMain::ActionShowDetailExecute() {
  if (showDetail_ && ToolButtonShowDetail->isChecked()) return;
  SetDisplayMode(true);
  if (keyCount_ == 0) return;
  ShowDetailAtKey(0);
  RefocusStep();
}

void TFMain::ShowDetailAtKey(int k) {
  SetDisplayMode(true);
  ScrollBox1->show();
  ScrollBox2->hide();
  EnableEditCommands(true);
  ClearKeySelection();
  ApplyScrollRule(3, k);
  currentKey_ = k;
  ShowKeyFormat(k);
}

void TFMain::RefocusStep() {
  // Focus changes are synchronous here: no wait is needed for the key being
  // typed to be committed.
  pnlDisp->setFocus();
  EndKeyEdit();
  FocusDetailPanel(currentKey_);
}

QScrollArea* TFMain::ActiveScrollBox() const {
  return ToolButtonShowDetail->isChecked() ? ScrollBox1 : ScrollBox2;
}

void TFMain::ApplyScrollRule(int mode, int key) {
  QScrollArea* box = ActiveScrollBox();
  if (!box || !box->widget()) return;
  const QSize content = box->widget()->size();
  if (mode == 1 || mode == 3) {
    box->horizontalScrollBar()->setValue((content.width() - box->width()) / 2);
  }
  if (mode == 2 || mode == 3) {
    box->verticalScrollBar()->setValue(key < keyCount_ / 2 ? 0 : content.height() / 2);
  }
}

void TFMain::EnableEditCommands(bool on) {
  for (const char* name : kEditCommands) Action(QString::fromLatin1(name))->setEnabled(on);
  for (QMenu* popup : {PopupMenu1A, PopupMenu1B}) {
    for (QAction* entry : popup->actions()) entry->setEnabled(on);
  }
}

void TFMain::Splitter1Moved() {
  // A list dragged too high would hide the display: it takes back the height
  // left by the other bars instead.
  const int splitterTop = ListView1->y() - Splitter1->handleWidth();
  if (splitterTop < 390) {
    const int toolBar = ToolBar1->isVisible() ? ToolBar1->height() : 0;
    // The window's height with its frame, as the rule counts it.
    const int listHeight = frameGeometry().height() - PageControl1->height() - StatusBar1->height() -
                           Splitter1->handleWidth() - toolBar - 47;
    const int total = Splitter1->height() - Splitter1->handleWidth();
    Splitter1->setSizes({qMax(0, total - listHeight), qMax(20, listHeight)});
  }
}

void TFMain::ClearStripView() {
  ResetStripView();
  stripStartLine_ = 0;
}

void TFMain::ResetStripView() {
  // Callers commit a pending edit first; what the editor still holds now
  // belongs to a document that is going away.
  editingKey_ = -1;
  selectionClickFlag_ = false;
  selection_.Reset(0);
  pnlDisp->hide();
  stripView_->Clear();
  EnableEditCommands(false);
  keyCount_ = 0;
  currentStripNumber_ = 0;
  toolbarComboFlag_ = false;
  pnlText->clear();
  {
    // No strip, no current key: no size to show.
    const QSignalBlocker quietSize(ComboBoxFontSize);
    ComboBoxFontSize->setEditText(QString());
    shownSizeText_.clear();
  }
  // Without a strip the empty scroll box of the chosen mode shows.
  ScrollBox1->setVisible(showDetail_);
  ScrollBox2->setVisible(!showDetail_);
  pnlDisp->show();
}

void TFMain::BuildStripView() {
  ResetStripView();
  pnlDisp->hide();
  ScrollBox1->hide();
  ScrollBox2->hide();
  StripView::BuildResult result;
  try {
    result = stripView_->Build(document_, stripStartLine_);
  } catch (const DocumentError& error) {
    // The display stays hidden until the next strip is laid out.
    Prompts::Error(LayoutErrorText(error));
    return;
  }
  keyCount_ = stripView_->KeyCount();
  selection_.Reset(keyCount_);
  if (result != StripView::BuildResult::Built) {
    Prompts::Error(QString::fromUtf8(kTooManyButtonsText));
    pnlDisp->show();
    return;
  }
  pnlText->setText(StripCaption(document_.lines(), stripStartLine_));
  ReportKeysNotFitting(stripView_->KeysNotFitting());
  if (keyCount_ > 0) {
    currentKey_ = 0;
    ShowKeyFormat(0);
    if (ToolButtonShowDetail->isChecked()) {
      ScrollBox1->show();
      ApplyScrollRule(3, 0);
      EnableEditCommands(true);
    } else {
      ScrollBox2->show();
      ApplyScrollRule(3, 0);
    }
  }
  pnlDisp->show();
}

void TFMain::FocusDetailPanel(int k) { FocusKeyPanel(k); }

void TFMain::WireStripView() {
  stripView_ = new StripView(ScrollBox1->widget(), imgBase1, ScrollBox2->widget(), imgBase2, this);
  WireKeyEvents();
  connect(stripView_, &StripView::AllViewKeyDoubleClicked, this, [this](int k) {
    if (showDetail_) return;
    ShowDetailAtKey(k);
    FocusDetailPanel(k);
  });
  connect(imgBase2, &CanvasImage::DoubleClicked, this, [this](QPoint at) {
    if (showDetail_ || keyCount_ == 0) return;
    const int k = AllViewKeyAt(stripView_->Plan(), document_.lines(), at);
    if (k < 0 || k >= keyCount_) return;
    ShowDetailAtKey(k);
    FocusDetailPanel(k);
  });
  connect(imgBase1, &CanvasImage::Clicked, this, [this](QPoint) {
    pnlDisp->setFocus();
    FocusDetailPanel(currentKey_);
  });
  connect(imgBase2, &CanvasImage::Clicked, this, [this](QPoint) { pnlDisp->setFocus(); });
  connect(stripView_, &StripView::KeyFaceContextMenu, this,
          [this](int, QPoint at) { PopupMenu1A->popup(at); });
  connect(stripView_, &StripView::KeyPictureContextMenu, this,
          [this](int, QPoint at) { PopupMenu1B->popup(at); });
}

void TFMain::ComboBoxSeriesChange(int index) {
  // The palette of the old series is replaced by that of the new one; the
  // strips in the document keep their own series.
  ChangePaletteSeries(index);
}

void TFMain::SelectSeries(int s) {
  if (!IsSeries(s) || s == currentSeries_) return;
  ComboBoxSeries->setCurrentIndex(s);
  ComboBoxSeriesChange(s);
}

void TFMain::ListView1SelectItem(int row) {
  if (row + 1 == currentStripNumber_) return;
  EndKeyEdit();
  LayOutStrip(row + 1);
}

void TFMain::LayOutStrip(int number) {
  const qsizetype separator = document_.FindStrip(number);
  if (separator <= 0) return;
  stripStartLine_ = separator + 1;
  BuildStripView();
  currentStripNumber_ = number;
  // The strip's series becomes the current one (its row names it).
  if (QTreeWidgetItem* item = ListView1->topLevelItem(number - 1)) {
    SelectSeries(SeriesIndexOf(item->text(0)));
  }
}

void TFMain::ListView1DblClick() { ActionJimeijoEditExecute(); }
