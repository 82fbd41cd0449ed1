// Building the main window: actions, menus, tool bar, panels, pop-up menus.
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QPainter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Glyphs.h"
#include "app/Main.h"
#include "base/Hints.h"
#include "base/FontItemDelegate.h"
#include "document/Series.h"
#include "keylabels/PaletteButtons.h"
#include "view/CanvasImage.h"

namespace {

enum class Kind { Plain, Check, Radio };

// A palette tab holds up to 20 buttons, one every 24 pixels, and its frame.
constexpr int kPaletteButtonsHeight = 20 * 24 + 4;

struct Command {
  const char* name;     // the action's name; its handler is name + "Execute"
  const char* caption;  // empty for commands without a menu item
  const char* shortcut;
  Kind kind;
  void (TFMain::*handler)();
  const char* statusTip;
};

// Every command of the window, in menu order; nullptr names separate groups.
const Command kCommands[] = {
    {"ActionFileNew", "新規作成(&N)", "Ctrl+N", Kind::Plain, &TFMain::ActionFileNewExecute, "新しいデータベースを作成します"},
    {"ActionFileOpen", "開く(&O)...", "Ctrl+O", Kind::Plain, &TFMain::ActionFileOpenExecute, "既存のデータベースを開きます"},
    {"ActionFileSave", "上書き保存(&S)", "Ctrl+S", Kind::Plain, &TFMain::ActionFileSaveExecute, "データベースを上書きで保存します"},
    {"ActionFileSaveAs", "名前を付けて保存(&A)...", "Ctrl+Shift+S", Kind::Plain, &TFMain::ActionFileSaveAsExecute, "データベースを名前を付けて保存します"},
    {"ActionFileSetup", "印刷位置の微調整(&E)...", "", Kind::Plain, &TFMain::ActionFileSetupExecute, "マニュアルで印字位置を微調整します"},
    {"ActionFilePrint", "示名条の印刷(&P)...", "Ctrl+P", Kind::Plain, &TFMain::ActionFilePrintExecute, "１枚あるいは複数枚の示名条を印刷します"},
    {"ActionFilePrintList", "示名条一覧の印刷(&L)...", "", Kind::Plain, &TFMain::ActionFilePrintListExecute, "登録されている示名条のリストを印刷します"},
    {"ActionFileExportPdf", "PDFに出力(&D)...", "", Kind::Plain, &TFMain::ActionFileExportPdfExecute, "選択した示名条をPDFファイルに出力します"},
    {"ActionFileExportCsv", "CSVに書き出し(&V)...", "", Kind::Plain, &TFMain::ActionFileExportCsvExecute, "示名条の一覧とキーの文字をCSVファイルに書き出します"},
    {"ActionFileImportCsv", "CSVから取り込み(&I)...", "", Kind::Plain, &TFMain::ActionFileImportCsvExecute, "CSVファイルから示名条を作成・更新します"},
    {"ActionFileExit", "終了(&X)", "Ctrl+Q", Kind::Plain, &TFMain::ActionFileExitExecute, "プログラムを終了します"},
    {"ActionEditUndo", "元に戻す(&U)", "Ctrl+Z", Kind::Plain, &TFMain::ActionEditUndoExecute, ""},
    {"ActionEditRedo", "やり直し(&Y)", "Ctrl+Y", Kind::Plain, &TFMain::ActionEditRedoExecute, ""},
    {"ActionEditCut", "切り取り(&T)", "Ctrl+X", Kind::Plain, &TFMain::ActionEditCutExecute, ""},
    {"ActionEditCopy", "コピー(&C)", "Ctrl+C", Kind::Plain, &TFMain::ActionEditCopyExecute, ""},
    {"ActionEditPaste", "貼り付け(&P)", "Ctrl+V", Kind::Plain, &TFMain::ActionEditPasteExecute, ""},
    {"ActionEditDelete", "削除(&D)", "Ctrl+Del", Kind::Plain, &TFMain::ActionEditDeleteExecute, ""},
    {"ActionEditPicOn", "画像添付(&G)...", "", Kind::Plain, &TFMain::ActionEditPicOnExecute, ""},
    {"ActionEditPicOff", "画像添付解除(&R)", "", Kind::Plain, &TFMain::ActionEditPicOffExecute, ""},
    {"ActionEditAllSel", "すべてを選択(&A)", "Ctrl+A", Kind::Plain, &TFMain::ActionEditAllSelExecute, ""},
    {"ActionEditSelReset", "選択の解除(&X)", "", Kind::Plain, &TFMain::ActionEditSelResetExecute, ""},
    {"ActionEditFind", "検索(&S)...", "Ctrl+F", Kind::Plain, &TFMain::ActionEditFindExecute, ""},
    {"ActionEditReplace", "置換(&N)...", "Ctrl+R", Kind::Plain, &TFMain::ActionEditReplaceExecute, ""},
    {"ActionJimeijoNew", "示名条の作成(&N)...", "", Kind::Plain, &TFMain::ActionJimeijoNewExecute, ""},
    {"ActionJimeijoEdit", "示名条の編集(&E)...", "", Kind::Plain, &TFMain::ActionJimeijoEditExecute, ""},
    {"ActionJimeijoDelete", "示名条の削除(&D)", "", Kind::Plain, &TFMain::ActionJimeijoDeleteExecute, ""},
    {"ActionJimeijoSaveType", "この示名条のタイプをテンプレートとして保存(&T)...", "", Kind::Plain,
     &TFMain::ActionJimeijoSaveTypeExecute, "選択した示名条のグループとキーの配置をテンプレートとして保存します"},
    {"ActionJimeijoTemplates", "テンプレートの管理(&M)...", "", Kind::Plain, &TFMain::ActionJimeijoTemplatesExecute,
     "示名条のタイプ（テンプレート）の一覧、取り込み、書き出し、削除"},
    {"ActionJimeijoDesign", "示名条タイプの作成(&Y)...", "", Kind::Plain, &TFMain::ActionJimeijoDesignExecute, "示名条のタイプをmm単位で描いてテンプレートとして保存します"},
    {"ActionKeyLabelEdit", "キーラベルの編集(&H)...", "", Kind::Plain, &TFMain::ActionKeyLabelEditExecute, ""},
    {"ActionKeyLabelShow", "キーラベル(&K)", "", Kind::Check, &TFMain::ActionKeyLabelShowExecute, ""},
    {"ActionListJimeijo", "示名条一覧(&L)", "", Kind::Check, &TFMain::ActionListJimeijoExecute, ""},
    {"ActionShowToolBar", "ツールバー(&T)", "", Kind::Check, &TFMain::ActionShowToolBarExecute, ""},
    {"ActionShowStatusBar", "ステータスバー(&S)", "", Kind::Check, &TFMain::ActionShowStatusBarExecute, ""},
    {"ActionShowDetail", "詳細画面(&D)", "", Kind::Radio, &TFMain::ActionShowDetailExecute, ""},
    {"ActionShowAll", "全体画面(&A)", "", Kind::Radio, &TFMain::ActionShowAllExecute, ""},
    {"ActionFormatFont", "フォント(&F)...", "", Kind::Plain, &TFMain::ActionFormatFontExecute, ""},
    {"ActionFormatLeft", "左寄せ(&L)", "", Kind::Radio, &TFMain::ActionFormatLeftExecute, ""},
    {"ActionFormatCenter", "センタリング(&C)", "", Kind::Radio, &TFMain::ActionFormatCenterExecute, ""},
    {"ActionFormatRight", "右寄せ(&R)", "", Kind::Radio, &TFMain::ActionFormatRightExecute, ""},
    {"ActionFormatBColor", "背景色(&B)", "", Kind::Plain, &TFMain::ActionFormatBColorExecute, ""},
    {"ActionFormatColor", "", "", Kind::Plain, &TFMain::ActionFormatColorExecute, ""},
    {"ActionFormatBold", "", "", Kind::Plain, &TFMain::ActionFormatBoldExecute, ""},
    {"ActionFormatItalic", "", "", Kind::Plain, &TFMain::ActionFormatItalicExecute, ""},
    {"ActionHelpAbout", "バージョン情報(&A)...", "F1", Kind::Plain, &TFMain::ActionHelpAboutExecute, ""},
};

const QList<QStringList> kRadioGroups = {
    {QStringLiteral("ActionShowDetail"), QStringLiteral("ActionShowAll")},
    {QStringLiteral("ActionFormatLeft"), QStringLiteral("ActionFormatCenter"), QStringLiteral("ActionFormatRight")},
};

struct MenuSpec {
  const char* name;
  const char* title;
  QList<const char*> items;  // action names; "-" is a separator
};

const QList<MenuSpec> kMenus = {
    {"MenuFile", "ファイル(&F)",
     {"ActionFileNew", "ActionFileOpen", "ActionFileSave", "ActionFileSaveAs", "-", "ActionFileSetup",
      "ActionFilePrint", "ActionFilePrintList", "ActionFileExportPdf",
      "ActionFileExportCsv", "ActionFileImportCsv", "-", "ActionFileExit"}},
    {"MenuEdit", "編集(&E)",
     {"ActionEditUndo", "ActionEditRedo", "-", "ActionEditCut", "ActionEditCopy", "ActionEditPaste", "ActionEditDelete", "-", "ActionEditPicOn",
      "ActionEditPicOff", "-", "ActionEditAllSel", "ActionEditSelReset", "-", "ActionEditFind",
      "ActionEditReplace"}},
    {"MenuJimeijo", "示名条編集(&S)",
     {"ActionJimeijoNew", "ActionJimeijoEdit", "ActionJimeijoDelete", "-", "ActionJimeijoSaveType",
      "ActionJimeijoTemplates", "ActionJimeijoDesign"}},
    {"MenuKeyLabel", "キーラベル(&K)", {"ActionKeyLabelEdit", "ActionKeyLabelShow"}},
    {"MenuList", "一覧(&L)", {"ActionListJimeijo"}},
    {"MenuView", "表示(&V)",
     {"ActionShowToolBar", "ActionShowStatusBar", "-", "ActionShowDetail", "ActionShowAll"}},
    {"MenuFormat", "書式(&R)",
     {"ActionFormatFont", "ActionFormatLeft", "ActionFormatCenter", "ActionFormatRight",
      "ActionFormatBColor"}},
    {"MenuHelp", "ヘルプ(&H)", {"ActionHelpAbout"}},
};


}  // namespace

void TFMain::CreateActions() {
  for (const Command& c : kCommands) {
    auto* action = new QAction(QString::fromUtf8(c.caption), this);
    action->setObjectName(QString::fromLatin1(c.name));
    if (*c.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(c.shortcut)));
    action->setCheckable(c.kind != Kind::Plain);
    action->setStatusTip(QString::fromUtf8(c.statusTip));
    // The handler sets check marks itself: undo Qt's own toggle first.
    auto handler = c.handler;
    connect(action, &QAction::triggered, this, [this, action, handler](bool) {
      if (action->actionGroup()) {
        RestoreRadioMarks(action->actionGroup());
      } else if (action->isCheckable()) {
        action->setChecked(!action->isChecked());
      }
      (this->*handler)();
    });
    addAction(action);  // shortcuts work while the menu bar is hidden too
    actions_.insert(action->objectName(), action);
  }
  // The display modes and the alignments are radio items, one group each.
  for (const QStringList& names : kRadioGroups) {
    auto* group = new QActionGroup(this);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (const QString& name : names) group->addAction(Action(name));
  }
}

void TFMain::RestoreRadioMarks(QActionGroup* group) {
  // A radio item's mark follows its tool bar button, which its handler sets:
  // the marks go back to the buttons' state before the handler runs.
  const QList<QAction*> items = group->actions();
  for (QAction* item : items) {
    if (QToolButton* button = radioButtons_.value(item); button && !button->isChecked()) item->setChecked(false);
  }
  for (QAction* item : items) {
    if (QToolButton* button = radioButtons_.value(item); button && button->isChecked()) item->setChecked(true);
  }
}

void TFMain::CreateMenus() {
  for (const MenuSpec& menuEntry : kMenus) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(menuEntry.title));
    menu->setObjectName(QString::fromLatin1(menuEntry.name));
    for (const char* item : menuEntry.items) {
      if (QString::fromLatin1(item) == "-") menu->addSeparator();
      else menu->addAction(Action(QString::fromLatin1(item)));
    }
  }
}

QToolButton* TFMain::AddToolButton(const QString& name, const QString& hint, QAction* action,
                                   ButtonKind kind) {
  auto* button = new QToolButton(ToolBar1);
  button->setObjectName(name);
  button->setIcon(ToolbarGlyph(name));
  button->setFixedSize(24, 22);
  button->setAutoRaise(true);
  button->setCheckable(kind != ButtonKind::Push);
  SetHint(button, hint);
  if (kind == ButtonKind::HandlerPressed && action->actionGroup()) radioButtons_.insert(action, button);
  connect(button, &QToolButton::clicked, this, [button, action, kind](bool) {
    // A toggle shown by its handler: Qt's own toggle is undone first.
    if (kind == ButtonKind::HandlerPressed) button->setChecked(!button->isChecked());
    action->trigger();
  });
  ToolBar1->addWidget(button);
  return button;
}

void TFMain::CreateToolBar() {
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setFixedHeight(29);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->toggleViewAction()->setVisible(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  addToolBar(Qt::TopToolBarArea, ToolBar1);

  auto gap = [this] {
    auto* spacer = new QWidget(ToolBar1);
    spacer->setFixedWidth(6);
    ToolBar1->addWidget(spacer);
  };
  auto button = [this](const char* name, const char* hint, const char* action,
                       ButtonKind kind = ButtonKind::Push) {
    return AddToolButton(QString::fromLatin1(name), QString::fromUtf8(hint),
                         Action(QString::fromLatin1(action)), kind);
  };
  constexpr auto kShown = ButtonKind::HandlerPressed;
  constexpr auto kSelf = ButtonKind::SelfToggling;

  button("ToolButtonNew", "新規作成|新しいデータベースを作成します", "ActionFileNew");
  button("ToolButtonOpen", "開く|既存のデータベースを開きます", "ActionFileOpen");
  button("ToolButtonSave", "上書き保存|データベースを上書きで保存します", "ActionFileSave");
  gap();
  button("ToolButtonPrint", "示名条の印刷|１枚あるいは複数枚の示名条を印刷します", "ActionFilePrint");
  button("ToolButtonJimeijoNew", "示名条の作成|示名条を作成します", "ActionJimeijoNew");
  button("ToolButtonJimeijoDelete", "示名条の削除|選択された示名条を削除します", "ActionJimeijoDelete");
  ToolButtonListJimeijo = button("ToolButtonListJimeijo", "示名条一覧|示名条一覧を表示します", "ActionListJimeijo", kShown);
  gap();
  ComboBoxFont = new QComboBox(ToolBar1);
  ComboBoxFont->setObjectName(QStringLiteral("ComboBoxFont"));
  ComboBoxFont->setFixedWidth(132);
  ComboBoxFont->setItemDelegate(new FontItemDelegate(&fontList_, &toolbarComboFlag_, ComboBoxFont));
  SetHint(ComboBoxFont, QStringLiteral("フォント切替"));
  ToolBar1->addWidget(ComboBoxFont);
  gap();
  ComboBoxFontSize = new QComboBox(ToolBar1);
  ComboBoxFontSize->setObjectName(QStringLiteral("ComboBoxFontSize"));
  ComboBoxFontSize->setEditable(true);
  ComboBoxFontSize->setFixedWidth(53);
  ComboBoxFontSize->setInsertPolicy(QComboBox::NoInsert);
  // Every typed character is a size of its own: "1" must not complete to "10".
  ComboBoxFontSize->setCompleter(nullptr);
  SetHint(ComboBoxFontSize, QStringLiteral("フォントサイズ"));
  ToolBar1->addWidget(ComboBoxFontSize);
  gap();
  button("ToolButtonColor", "文字色|文字の色を変更します", "ActionFormatColor");
  button("ToolButtonBColor", "背景色|背景の色を変更します", "ActionFormatBColor");
  ToolButtonBold = button("ToolButtonBold", "太字|文字を太字にします。", "ActionFormatBold", kSelf);
  ToolButtonItalic = button("ToolButtonItalic", "斜体|文字を斜体にします。", "ActionFormatItalic", kSelf);
  gap();
  ToolButtonLeft = button("ToolButtonLeft", "左寄せ|文字を左に揃えます", "ActionFormatLeft", kShown);
  ToolButtonCenter = button("ToolButtonCenter", "センタリング|文字を中央に揃えます", "ActionFormatCenter", kShown);
  ToolButtonRight = button("ToolButtonRight", "右寄せ|文字を右に揃えます", "ActionFormatRight", kShown);
  gap();
  ToolButtonKeyLabel = button("ToolButtonKeyLabel", "キーラベル|キーラベルの表示ON/OFFを切り替えます", "ActionKeyLabelShow", kShown);
  gap();
  ToolButtonShowDetail = button("ToolButtonShowDetail", "詳細画面|詳細画面の表示に切り替えます", "ActionShowDetail", kShown);
  ToolButtonShowAll = button("ToolButtonShowAll", "全体画面|全体画面の表示に切り替えます", "ActionShowAll", kShown);
  gap();
  ComboBoxSeries = new QComboBox(ToolBar1);
  ComboBoxSeries->setObjectName(QStringLiteral("ComboBoxSeries"));
  ComboBoxSeries->setFixedWidth(150);
  SetHint(ComboBoxSeries, QStringLiteral("主装置のシリーズ切替"));
  ToolBar1->addWidget(ComboBoxSeries);
}

QScrollArea* TFMain::CreateScrollBox(const QString& name, const QString& canvasName,
                                     CanvasImage** canvas) {
  auto* box = new QScrollArea(pnlDisp);
  box->setObjectName(name);
  box->setWidgetResizable(false);
  box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The content holds the canvas and, above it, the controls of every key.
  auto* content = new QWidget;
  content->setObjectName(name + QStringLiteral("Content"));
  content->setAutoFillBackground(true);
  *canvas = new CanvasImage(content);
  (*canvas)->setObjectName(canvasName);
  box->setWidget(content);
  content->resize(0, 0);
  return box;
}

void TFMain::CreatePanels() {
  pnlBase = new QWidget(this);
  pnlBase->setObjectName(QStringLiteral("pnlBase"));
  setCentralWidget(pnlBase);
  auto* baseLayout = new QHBoxLayout(pnlBase);
  baseLayout->setContentsMargins(0, 0, 0, 0);
  baseLayout->setSpacing(0);

  Splitter1 = new QSplitter(Qt::Vertical, pnlBase);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(4);
  Splitter1->setChildrenCollapsible(false);
  // The boundary follows the mouse as a line and moves once the drag ends,
  // so the splitter rule runs once per drag (Splitter1Moved).
  Splitter1->setOpaqueResize(false);
  baseLayout->addWidget(Splitter1, 1);

  pnlDisp = new QWidget(Splitter1);
  pnlDisp->setObjectName(QStringLiteral("pnlDisp"));
  pnlDisp->setFocusPolicy(Qt::StrongFocus);
  auto* dispLayout = new QVBoxLayout(pnlDisp);
  dispLayout->setContentsMargins(0, 0, 0, 0);
  dispLayout->setSpacing(0);
  pnlText = new QLabel(pnlDisp);
  pnlText->setObjectName(QStringLiteral("pnlText"));
  pnlText->setFixedHeight(20);
  pnlText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // The caption stays at the top while no scroll box shows.
  dispLayout->addWidget(pnlText, 0, Qt::AlignTop);
  ScrollBox1 = CreateScrollBox(QStringLiteral("ScrollBox1"), QStringLiteral("imgBase1"), &imgBase1);
  ScrollBox2 = CreateScrollBox(QStringLiteral("ScrollBox2"), QStringLiteral("imgBase2"), &imgBase2);
  dispLayout->addWidget(ScrollBox1, 1);
  dispLayout->addWidget(ScrollBox2, 1);
  Splitter1->addWidget(pnlDisp);

  ListView1 = new QTreeWidget(Splitter1);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setColumnCount(6);
  ListView1->setHeaderLabels({QStringLiteral("主装置のシリーズ"), QStringLiteral("示名条のタイプ"),
                              QStringLiteral("内線番号"), QStringLiteral("部署"),
                              QStringLiteral("使用者名"), QStringLiteral("登録日時")});
  ListView1->setRootIsDecorated(false);
  ListView1->setItemsExpandable(false);
  ListView1->setUniformRowHeights(true);
  ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setSortingEnabled(false);
  ListView1->header()->setStretchLastSection(false);
  ListView1->setMinimumHeight(20);
  ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
  // The selection stays visible while the list has no focus.
  QPalette pal = ListView1->palette();
  pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
  pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
  ListView1->setPalette(pal);
  ListView1->installEventFilter(this);
  Splitter1->addWidget(ListView1);
  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 0);

  pnlKeyLabel = new QWidget(pnlBase);
  pnlKeyLabel->setObjectName(QStringLiteral("pnlKeyLabel"));
  pnlKeyLabel->setFixedWidth(180);
  auto* keyLabelLayout = new QVBoxLayout(pnlKeyLabel);
  keyLabelLayout->setContentsMargins(0, 0, 0, 0);
  PageControl1 = new QTabWidget(pnlKeyLabel);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  for (int i = 1; i <= 3; ++i) {
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("TabSheet%1").arg(i));
    PageControl1->addTab(sheet, QStringLiteral("ｷｰﾗﾍﾞﾙ%1").arg(i));
  }
  // Three tabs fit side by side in the narrow panel.
  FitPaletteTabs(PageControl1, pnlKeyLabel->width());
  // As high as its tallest tab of buttons, shown or not: the splitter rule
  // measures the list against it.
  PageControl1->setFixedHeight(PageControl1->tabBar()->sizeHint().height() + kPaletteButtonsHeight);
  keyLabelLayout->addWidget(PageControl1);
  keyLabelLayout->addStretch(1);
  baseLayout->addWidget(pnlKeyLabel);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setFixedHeight(24);
  StatusBar1->setSizeGripEnabled(false);
  StatusText1 = new QLabel(StatusBar1);
  StatusText1->setObjectName(QStringLiteral("StatusText1"));
  StatusBar1->addWidget(StatusText1, 1);
  setStatusBar(StatusBar1);

  ComboBoxSeries->addItems(SeriesNames());
}

void TFMain::CreatePopupMenus() {
  auto popup = [this](const char* name, QList<const char*> items) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::fromLatin1(name));
    for (const char* item : items) {
      if (QString::fromLatin1(item) == "-") {
        menu->addSeparator();
        continue;
      }
      // Pop-up items carry their own captions; they share the command.
      QAction* command = Action(QString::fromLatin1(item));
      QString caption = command->text();
      if (caption.endsWith(QStringLiteral("...")) && QString::fromLatin1(name) != "PopupMenu2") {
        caption.chop(3);
      }
      QAction* entry = menu->addAction(caption);
      entry->setObjectName(QString::fromLatin1(name) + '_' + command->objectName());
      connect(entry, &QAction::triggered, command, &QAction::trigger);
    }
    return menu;
  };
  PopupMenu1A = popup("PopupMenu1A", {"ActionEditCut", "ActionEditCopy", "ActionEditPaste",
                                      "ActionEditDelete", "-", "ActionEditPicOn"});
  PopupMenu1B = popup("PopupMenu1B", {"ActionEditPicOff"});
  PopupMenu2 = popup("PopupMenu2", {"ActionJimeijoNew", "ActionJimeijoEdit", "ActionJimeijoDelete", "-",
                                    "ActionJimeijoSaveType"});
  connect(ListView1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupMenu2->popup(ListView1->viewport()->mapToGlobal(pos)); });
}
