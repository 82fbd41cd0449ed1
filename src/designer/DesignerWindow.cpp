#include "designer/DesignerWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

#include "base/LineIO.h"
#include "base/PrintSystem.h"
#include "base/Prompts.h"
#include "base/ShiftJis.h"
#include "designer/DesignPanel.h"
#include "designer/DesignSheet.h"
#include "designer/GridDialog.h"
#include "designer/TestStrip.h"
#include "document/Series.h"
#include "document/StripLayout.h"
#include "document/TemplateCheck.h"
#include "document/TemplateStore.h"
#include "print/PdfExport.h"

namespace {

QString DiscardQuestion() { return QStringLiteral("示名条タイプが変更されています。\n保存しますか？"); }

QString TypeOfPath(const QString& path) { return QFileInfo(path).fileName().section(QLatin1Char('.'), 0, 0); }

QAction* AddAction(QMenu* menu, const QString& text, const QKeySequence& shortcut, const std::function<void()>& run) {
  QAction* action = menu->addAction(text);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  QObject::connect(action, &QAction::triggered, menu, [run] { run(); });
  return action;
}

}  // namespace

DesignerWindow::DesignerWindow(const FileLocations& locations, AdjustmentSource adjustment, QWidget* parent)
    : QMainWindow(parent), locations_(locations), adjustment_(std::move(adjustment)) {
  setObjectName(QStringLiteral("DesignerWindow"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  sheet_ = new DesignSheet(design_);
  panel_ = new DesignPanel(design_);
  scroll_ = new QScrollArea;
  scroll_->setWidget(sheet_);
  scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  faultSummary_ = new QLabel;
  faultList_ = new QListWidget;
  faultList_->setObjectName(QStringLiteral("FaultList"));
  connect(faultList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const int key = item->data(Qt::UserRole).toInt();
    if (key >= 0) design_.Select({ItemOfKey(design_.Model(), key)});
  });
  auto* bottom = new QWidget;
  auto* bottomLayout = new QVBoxLayout(bottom);
  bottomLayout->setContentsMargins(0, 0, 0, 0);
  bottomLayout->addWidget(faultSummary_);
  bottomLayout->addWidget(faultList_);

  auto* left = new QSplitter(Qt::Vertical);
  left->addWidget(scroll_);
  left->addWidget(bottom);
  left->setStretchFactor(0, 4);
  left->setStretchFactor(1, 1);
  auto* panelScroll = new QScrollArea;
  panelScroll->setWidget(panel_);
  panelScroll->setWidgetResizable(true);
  panelScroll->setMinimumWidth(260);
  auto* split = new QSplitter(Qt::Horizontal);
  split->addWidget(left);
  split->addWidget(panelScroll);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 0);

  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(BuildHeader());
  layout->addWidget(split, 1);
  setCentralWidget(central);
  BuildMenus();

  connect(&design_, &TemplateDesign::ModelChanged, this, [this] {
    RefreshFaults();
    RefreshTitle();
    RefreshHeader();
  });
  connect(&design_, &TemplateDesign::NameChanged, this, &DesignerWindow::RefreshHeader);
  connect(&design_.History(), &QUndoStack::cleanChanged, this, &DesignerWindow::RefreshHeader);
  resize(1100, 780);
  design_.Reset(NewTemplate(), QString(), QString());
}

QWidget* DesignerWindow::BuildHeader() {
  auto* header = new QWidget;
  auto* rows = new QVBoxLayout(header);
  rows->setContentsMargins(0, 0, 0, 0);
  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(new QLabel(QStringLiteral("タイプ名")));
  name_ = new QLineEdit;
  name_->setObjectName(QStringLiteral("TypeName"));
  name_->setMinimumWidth(220);
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) { design_.SetStripType(text); });
  nameRow->addWidget(name_);
  sheetNote_ = new QLabel;
  sheetNote_->setObjectName(QStringLiteral("SheetNote"));
  nameRow->addWidget(sheetNote_, 1);
  rows->addLayout(nameRow);

  auto* titleRow = new QHBoxLayout;
  titleRow->addWidget(new QLabel(QStringLiteral("タイトル")));
  for (int s = 0; s < kSeriesCount; ++s) {
    auto* box = new QCheckBox(SeriesName(s).remove(QStringLiteral("シリーズ主装置")));
    box->setToolTip(SeriesName(s));
    connect(box, &QCheckBox::clicked, this, &DesignerWindow::TitleToggled);
    seriesBoxes_ << box;
    titleRow->addWidget(box);
  }
  freeTitle_ = new QLineEdit;
  freeTitle_->setPlaceholderText(QStringLiteral("説明（自由に）"));
  connect(freeTitle_, &QLineEdit::editingFinished, this, &DesignerWindow::TitleToggled);
  titleRow->addWidget(freeTitle_, 1);
  rows->addLayout(titleRow);
  return header;
}

void DesignerWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  AddAction(file, QStringLiteral("新規作成(&N)"), QKeySequence::New, [this] { NewType(); });
  AddAction(file, QStringLiteral("開く(&O)..."), QKeySequence::Open, [this] { AskOpen(); });
  AddAction(file, QStringLiteral("保存(&S)"), QKeySequence::Save, [this] { Save(); });
  AddAction(file, QStringLiteral("名前を付けて保存(&A)..."), {}, [this] { AskSaveAs(); });
  file->addSeparator();
  AddAction(file, QStringLiteral("テスト印刷(&T)"), {}, [this] { TestPrint(); });
  AddAction(file, QStringLiteral("PDFに出力(&D)..."), {}, [this] { ExportPdf(); });
  file->addSeparator();
  AddAction(file, QStringLiteral("閉じる(&C)"), QKeySequence::Close, [this] { close(); });

  QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
  QAction* undo = AddAction(edit, QStringLiteral("元に戻す(&U)"), QKeySequence(QStringLiteral("Ctrl+Z")),
                            [this] { design_.History().undo(); });
  QAction* redo = AddAction(edit, QStringLiteral("やり直し(&Y)"), QKeySequence(QStringLiteral("Ctrl+Y")),
                            [this] { design_.History().redo(); });
  undo->setObjectName(QStringLiteral("DesignerUndo"));
  redo->setObjectName(QStringLiteral("DesignerRedo"));
  auto names = [this, undo, redo] {
    const QUndoStack& history = design_.History();
    undo->setEnabled(history.canUndo());
    redo->setEnabled(history.canRedo());
    undo->setText(history.canUndo() ? QStringLiteral("元に戻す(&U): %1").arg(history.undoText()) : QStringLiteral("元に戻す(&U)"));
    redo->setText(history.canRedo() ? QStringLiteral("やり直し(&Y): %1").arg(history.redoText()) : QStringLiteral("やり直し(&Y)"));
  };
  connect(&design_.History(), &QUndoStack::indexChanged, this, names);
  connect(&design_.History(), &QUndoStack::cleanChanged, this, names);
  names();
  edit->addSeparator();
  AddAction(edit, QStringLiteral("複製(&D)"), QKeySequence(QStringLiteral("Ctrl+D")), [this] {
    const Decimal4 offset = Decimal4::FromInt(2);
    const Selection selected = design_.Selected();
    if (selected.isEmpty()) return;
    StripTemplate probe = design_.Model();
    DuplicateItems(probe, selected, offset);
    if (probe.KeyCount() > layout::kMaxKeys || probe.groups.size() > layout::kMaxGroups) {
      Prompts::Error(QStringLiteral("キーかグループが100個を超えるので複製できません。"));
      return;
    }
    design_.Edit(QStringLiteral("複製"), [&](StripTemplate& t) { DuplicateItems(t, selected, offset); },
                 [&](StripTemplate&) {
                   StripTemplate before = design_.Model();
                   return DuplicateItems(before, selected, offset);
                 });
  });
  AddAction(edit, QStringLiteral("削除(&L)"), QKeySequence::Delete,
            [this] { EditSelection(QStringLiteral("削除"), [](StripTemplate& t, const Selection& s) { DeleteItems(t, s); }); });
  AddAction(edit, QStringLiteral("すべてを選択(&A)"), QKeySequence::SelectAll,
            [this] { design_.Select(AllItems(design_.Model())); });

  QMenu* arrange = menuBar()->addMenu(QStringLiteral("配置(&A)"));
  AddAction(arrange, QStringLiteral("グループの追加(&G)"), {}, [this] {
    Decimal4 bottom = Decimal4::FromInt(5);
    for (const TemplateGroup& group : design_.Model().groups) bottom = std::max(bottom, group.box.Bottom());
    const Decimal4 y = bottom + Decimal4::FromInt(5);
    if (design_.Model().groups.size() >= layout::kMaxGroups) {
      Prompts::Error(QStringLiteral("グループは100個までです。"));
      return;
    }
    design_.Edit(QStringLiteral("グループの追加"), [&](StripTemplate& t) { AddGroup(t, Decimal4::FromInt(10), y); },
                 [](StripTemplate& t) { return Selection{ItemRef{static_cast<int>(t.groups.size()) - 1, -1}}; });
  });
  AddAction(arrange, QStringLiteral("キーの追加(&K)..."), {}, [this] { AskGrid(); });
  arrange->addSeparator();
  const std::pair<const char*, Align> aligns[] = {{"左揃え", Align::kLeft},   {"右揃え", Align::kRight},
                                                  {"上揃え", Align::kTop},    {"下揃え", Align::kBottom},
                                                  {"左右中央揃え", Align::kCentreX}, {"上下中央揃え", Align::kCentreY}};
  for (const auto& [text, align] : aligns) {
    const QString name = QString::fromUtf8(text);
    const Align how = align;
    AddAction(arrange, name, {}, [this, name, how] {
      EditSelection(name, [how](StripTemplate& t, const Selection& s) { AlignItems(t, s, how); });
    });
  }
  arrange->addSeparator();
  AddAction(arrange, QStringLiteral("左右に等間隔"), {}, [this] {
    EditSelection(QStringLiteral("左右に等間隔"), [](StripTemplate& t, const Selection& s) { DistributeItems(t, s, true); });
  });
  AddAction(arrange, QStringLiteral("上下に等間隔"), {}, [this] {
    EditSelection(QStringLiteral("上下に等間隔"), [](StripTemplate& t, const Selection& s) { DistributeItems(t, s, false); });
  });
  arrange->addSeparator();
  AddAction(arrange, QStringLiteral("番号の振り直し(&R)..."), {}, [this] { AskRenumber(); });

  QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  AddAction(view, QStringLiteral("全体を表示(&F)"), QKeySequence(QStringLiteral("Ctrl+0")), [this] { FitSheet(); });
  AddAction(view, QStringLiteral("実寸 100%(&T)"), QKeySequence(QStringLiteral("Ctrl+1")), [this] { TrueSize(); });
  AddAction(view, QStringLiteral("拡大(&I)"), QKeySequence::ZoomIn, [this] { sheet_->SetScale(sheet_->Scale() * 1.25); });
  AddAction(view, QStringLiteral("縮小(&O)"), QKeySequence::ZoomOut, [this] { sheet_->SetScale(sheet_->Scale() / 1.25); });
  view->addSeparator();
  AddAction(view, QStringLiteral("グリッドの間隔(&G)..."), {}, [this] { AskGridStep(); });
}

void DesignerWindow::EditSelection(const QString& name,
                                   const std::function<void(StripTemplate&, const Selection&)>& change) {
  const Selection selected = design_.Selected();
  if (selected.isEmpty()) return;
  const bool removes = name == QStringLiteral("削除");
  design_.Edit(name, [&](StripTemplate& t) { change(t, selected); },
               [&](StripTemplate&) { return removes ? Selection{} : selected; });
}

void DesignerWindow::RefreshHeader() {
  if (name_->text() != design_.StripType()) name_->setText(design_.StripType());
  sheetNote_->setText(SheetNote(design_.Model(), design_.StripType()));
  const QString shown = design_.StripType().isEmpty() ? QStringLiteral("（名前なし）") : design_.StripType();
  setWindowTitle(QStringLiteral("%1%2 - %3").arg(shown, design_.IsChanged() ? QStringLiteral(" *") : QString(),
                                                 QString::fromUtf8(kDesignerTitle)));
  sheet_->updateGeometry();
  sheet_->update();
}

void DesignerWindow::RefreshFaults() {
  faultList_->clear();
  const QList<TemplateFault>& faults = design_.Faults();
  for (const TemplateFault& fault : faults) {
    auto* item = new QListWidgetItem(QStringLiteral("%1: %2").arg(fault.IsError() ? QStringLiteral("エラー") : QStringLiteral("警告"),
                                                                   fault.Text()));
    item->setData(Qt::UserRole, fault.key);
    item->setForeground(fault.IsError() ? QColor(200, 0, 0) : QColor(150, 100, 0));
    faultList_->addItem(item);
  }
  faultSummary_->setText(QStringLiteral("チェック: %1").arg(TemplateCheckSummary(faults)));
}

void DesignerWindow::RefreshTitle() {
  const StripTemplate& model = design_.Model();
  for (int s = 0; s < seriesBoxes_.size(); ++s) seriesBoxes_[s]->setChecked(model.Serves(s));
  if (!freeTitle_->hasFocus()) freeTitle_->setText(FreeTextOf(model.title));
}

void DesignerWindow::TitleToggled() {
  QList<int> series;
  for (int s = 0; s < seriesBoxes_.size(); ++s) {
    if (seriesBoxes_[s]->isChecked()) series << s;
  }
  // The title is only rebuilt when the boxes or the text say something else.
  QList<int> served = design_.Model().SeriesServed();
  if (series == served && freeTitle_->text().simplified() == FreeTextOf(design_.Model().title)) return;
  const QByteArray title = TitleOf(series, freeTitle_->text());
  design_.Edit(QStringLiteral("タイトルの変更"), [&](StripTemplate& t) { t.title = title; });
}

void DesignerWindow::NewType() {
  if (!ConfirmDiscard()) return;
  design_.Reset(NewTemplate(), QString(), QString());
  FitSheet();
}

bool DesignerWindow::OpenTemplate(const QString& path) {
  QByteArray bytes;
  if (!ReadFileBytes(path, &bytes)) {
    Prompts::Error(QStringLiteral("ファイル「%1」を読み込めません。").arg(QDir::toNativeSeparators(path)));
    return false;
  }
  const TemplateReading reading = ReadTemplateBytes(bytes);
  if (!reading.model) {
    const QString why = reading.faults.isEmpty() ? QString() : reading.faults.first().Text();
    Prompts::Error(QStringLiteral("テンプレート「%1」は読み込めません。%2").arg(QFileInfo(path).fileName(), why));
    return false;
  }
  design_.Reset(*reading.model, TypeOfPath(path), path);
  FitSheet();
  return true;
}

bool DesignerWindow::Save() {
  const QString type = design_.StripType();
  if (const QString problem = TemplateStore::NameProblem(type); !problem.isEmpty()) {
    Prompts::Error(problem);
    return false;
  }
  const TemplateStore store(locations_);
  const QString target = store.UserPath(type);
  const bool sameFile = !design_.SavedPath().isEmpty() && QFileInfo(design_.SavedPath()) == QFileInfo(target) &&
                        !locations_.IsShippedTemplate(target);
  if (!sameFile) {
    // Another file: the store refuses a shipped one and asks before replacing one of the user's.
    if (!store.SaveChecked(type, design_.Model())) return false;
  } else {
    const QByteArray bytes = design_.Model().ToBytes();
    const QList<TemplateFault> faults = CheckTemplateBytes(bytes, sjis::Encode(type));
    if (const TemplateFault* error = FirstTemplateError(faults)) {
      Prompts::Error(QStringLiteral("テンプレート「%1.TPL」は保存できません。%2").arg(type, error->Text()));
      return false;
    }
    if (!faults.isEmpty() &&
        Prompts::Confirm(QStringLiteral("テンプレート「%1.TPL」には次の警告があります。\n%2\n\nこのまま保存しますか？")
                             .arg(type, TemplateFaultLines(faults)),
                         PromptButtons::YesNo, PromptAnswer::No) != PromptAnswer::Yes) {
      return false;
    }
    if (!WriteFileSafely(target, bytes)) {
      Prompts::Error(QStringLiteral("テンプレート「%1」を保存できませんでした。").arg(QDir::toNativeSeparators(target)));
      return false;
    }
  }
  design_.MarkSaved(store.UserPath(type));
  return true;
}

bool DesignerWindow::SaveAs(const QString& stripType) {
  const QString old = design_.StripType();
  design_.SetStripType(stripType);
  if (Save()) return true;
  design_.SetStripType(old);
  return false;
}

bool DesignerWindow::AddGridKeys(const GridDescription& grid) {
  StripTemplate probe = design_.Model();
  AddGrid(probe, grid);
  if (probe.KeyCount() > layout::kMaxKeys || probe.groups.size() > layout::kMaxGroups) {
    Prompts::Error(QStringLiteral("キーが合わせて100個を超えるので追加できません。"));
    return false;
  }
  return design_.Edit(QStringLiteral("キーの追加"), [&](StripTemplate& t) { AddGrid(t, grid); },
                      [&](StripTemplate&) {
                        StripTemplate before = design_.Model();
                        return AddGrid(before, grid);
                      });
}

bool DesignerWindow::RefuseErrors(const QString& action) {
  const TemplateFault* error = FirstTemplateError(design_.Faults());
  if (!error) return false;
  Prompts::Error(QStringLiteral("エラーがあるので%1できません。%2").arg(action, error->Text()));
  return true;
}

bool DesignerWindow::TestPrint() {
  if (RefuseErrors(QStringLiteral("テスト印刷"))) return false;
  PrintSystem& system = PrintSystem::Current();
  if (!system.HasPrinters()) {
    Prompts::PrinterError(QStringLiteral("プリンタがありません。"));
    return false;
  }
  if (!PrintTestStrip(system, design_.Model(), design_.StripType(), adjustment_ ? adjustment_() : PrintAdjustment{})) {
    Prompts::PrinterError(QStringLiteral("テスト印刷ができませんでした。"));
    return false;
  }
  return true;
}

bool DesignerWindow::ExportPdf() {
  if (RefuseErrors(QStringLiteral("PDFに出力"))) return false;
  FileDialogSpec form;
  form.title = QStringLiteral("PDFに出力");
  form.filter = QStringLiteral("PDFファイル(*.pdf)|*.pdf");
  form.defaultExtension = QStringLiteral("pdf");
  form.fileName = design_.StripType().isEmpty() ? QStringLiteral("テスト印刷.pdf") : design_.StripType() + QStringLiteral(".pdf");
  const std::optional<QString> path = Prompts::Current().SaveFile(form);
  if (!path) return false;
  const QByteArray pdf =
      RenderTestStripPdf(design_.Model(), design_.StripType(), adjustment_ ? adjustment_() : PrintAdjustment{});
  if (pdf.isEmpty() || !WritePdfFile(*path, pdf)) {
    Prompts::Error(QStringLiteral("PDFファイル「%1」を書き込めませんでした。").arg(QDir::toNativeSeparators(*path)));
    return false;
  }
  return true;
}

bool DesignerWindow::ConfirmDiscard() {
  if (!design_.IsChanged()) return true;
  switch (Prompts::Confirm(DiscardQuestion(), PromptButtons::YesNoCancel)) {
    case PromptAnswer::Yes: return Save();
    case PromptAnswer::No: return true;
    default: return false;
  }
}

void DesignerWindow::closeEvent(QCloseEvent* event) {
  if (ConfirmDiscard()) event->accept();
  else event->ignore();
}

void DesignerWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (fitOnShow_) {
    fitOnShow_ = false;
    FitSheet();
  }
}

void DesignerWindow::FitSheet() { sheet_->SetScale(sheet_->FitScale(scroll_->viewport()->size())); }

void DesignerWindow::TrueSize() { sheet_->SetScale(sheet_->TrueSizeScale()); }

void DesignerWindow::AskOpen() {
  if (!ConfirmDiscard()) return;
  QStringList names;
  QStringList paths;
  for (const TemplateFileInfo& info : SurveyTemplateFolders(locations_.TemplateFolders())) {
    if (!info.offered) continue;
    const bool shipped = locations_.IsShippedTemplate(info.path);
    names << QStringLiteral("%1%2").arg(info.stripType, shipped ? QStringLiteral("（付属）") : QString());
    paths << info.path;
  }
  if (names.isEmpty()) {
    Prompts::Notice(QStringLiteral("テンプレートがありません。"));
    return;
  }
  bool ok = false;
  const QString chosen = QInputDialog::getItem(this, QStringLiteral("示名条タイプを開く"), QStringLiteral("示名条タイプ"),
                                               names, 0, false, &ok);
  if (ok) OpenTemplate(paths.value(names.indexOf(chosen)));
}

void DesignerWindow::AskSaveAs() {
  bool ok = false;
  const QString type = QInputDialog::getText(this, QStringLiteral("名前を付けて保存"), QStringLiteral("新しいタイプ名"),
                                             QLineEdit::Normal, design_.StripType(), &ok);
  if (ok) SaveAs(type);
}

void DesignerWindow::AskGrid() {
  GridDialog dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  QString problem;
  if (const std::optional<GridDescription> grid = dialog.Description(&problem)) AddGridKeys(*grid);
}

void DesignerWindow::AskRenumber() {
  if (design_.Selected().isEmpty()) return;
  bool ok = false;
  const int first = QInputDialog::getInt(this, QStringLiteral("番号の振り直し"), QStringLiteral("最初の番号"), 1, 1, 999, 1, &ok);
  if (!ok) return;
  EditSelection(QStringLiteral("番号の振り直し"), [first](StripTemplate& t, const Selection& s) { RenumberKeys(t, s, first); });
}

void DesignerWindow::AskGridStep() {
  bool ok = false;
  const double step = QInputDialog::getDouble(this, QStringLiteral("グリッドの間隔"), QStringLiteral("間隔 (mm、0でなし)"),
                                              sheet_->GridStep().ToDouble(), 0, 50, 4, &ok);
  if (ok) sheet_->SetGridStep(Decimal4::FromDouble(step));
}
