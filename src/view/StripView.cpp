#include "view/StripView.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "base/ColorPair.h"
#include "base/ShiftJis.h"
#include "document/StripDocument.h"
#include "view/CanvasImage.h"
#include "view/KeyText.h"
#include "view/KeyTextLoad.h"
#include "view/StripRenderer.h"

StripView::StripView(QWidget* detailContent, CanvasImage* detailCanvas, QWidget* allContent,
                     CanvasImage* allCanvas, QObject* parent)
    : QObject(parent),
      content_{detailContent, allContent},
      canvas_{detailCanvas, allCanvas} {
  for (int v = 0; v < kViewCount; ++v) layer_[v] = NewLayer(static_cast<ViewKind>(v));
}

StripView::~StripView() {
  Clear();
  for (QWidget* layer : layer_) delete layer;
}

void StripView::Clear() {
  // A focused panel or editor loses the focus while it is hidden or
  // destroyed: that is no key event for the window.
  const QSignalBlocker blocker(this);
  // Hidden, a focused control would hand the focus on to the next one in
  // the window; it lets it go instead, as a destroyed one does.
  QWidget* focused = QApplication::focusWidget();
  for (QWidget* layer : layer_) {
    if (focused && layer->isAncestorOf(focused)) focused->clearFocus();
    layer->hide();
  }
  // The controls stay for the next strip; the editors hold this strip's texts.
  for (auto& key : controls_) {
    delete key[kDetailView].editor;
    key[kDetailView].editor = nullptr;
  }
  pictures_.clear();
  fits_.clear();
  plan_ = StripPlan();
  document_ = nullptr;
  for (int v = 0; v < kViewCount; ++v) {
    canvas_[v]->Reset(0, 0);
    content_[v]->resize(0, 0);
  }
}

StripView::BuildResult StripView::Build(StripDocument& document, qsizetype stripStart) {
  Clear();
  // Everything is read before anything is built or written: a damaged line
  // leaves the document and the view untouched.
  StripPlan plan = PlanStrip(document.lines(), stripStart);
  CutLongKeyTextLines(document, plan);
  document_ = &document;
  plan_ = std::move(plan);
  if (plan_.tooMany && plan_.groups.empty()) return BuildResult::TooManyGroups;

  for (int v = 0; v < kViewCount; ++v) {
    canvas_[v]->SetImage(RenderCanvas(plan_, static_cast<ViewKind>(v), canvas_[v]->devicePixelRatioF()));
    canvas_[v]->move(0, 0);
    content_[v]->resize(canvas_[v]->size());
    layer_[v]->setGeometry(canvas_[v]->rect());
  }
  pictures_.assign(plan_.keys.size(), KeyPictureMemo(&decodedPictures_));
  fits_.assign(plan_.keys.size(), true);
  const size_t made = controls_.size();
  while (controls_.size() < plan_.keys.size()) CreateKeyControls(static_cast<int>(controls_.size()));
  if (controls_.size() > made) RaiseWindowedControls();
  for (int k = 0; k < static_cast<int>(controls_.size()); ++k) PlaceKeyControls(k);
  for (int k = 0; k < KeyCount(); ++k) DrawKeyFace(k);
  for (QWidget* layer : layer_) layer->show();
  return plan_.tooMany ? BuildResult::TooManyKeys : BuildResult::Built;
}

void StripView::CreateKeyControls(int k) {
  std::array<KeyControls, kViewCount> both;
  for (int v = 0; v < kViewCount; ++v) {
    QWidget* parent = layer_[v];
    KeyControls& c = both[v];
    c.label = new NumberLabel(plan_.keys[k], static_cast<ViewKind>(v), parent);
    c.frame = new TextFrame(parent);
    c.panel = new QWidget(parent);
    c.panel->setAutoFillBackground(true);
    QPalette white = c.panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    c.panel->setPalette(white);
    c.picture = new KeyImage(c.panel);
    c.face = new KeyImage(c.panel);
  }
  controls_.push_back(both);
  WireDetailEvents(k, both[kDetailView]);
  WireAllViewEvents(k, both[kAllView]);
}

void StripView::PlaceKeyControls(int k) {
  const bool shown = k < KeyCount();
  for (int v = 0; v < kViewCount; ++v) {
    KeyControls& c = controls_[k][v];
    if (!shown) {
      for (QWidget* w : {static_cast<QWidget*>(c.label), static_cast<QWidget*>(c.frame), c.panel}) w->hide();
      continue;
    }
    const KeyPlan& key = plan_.keys[k];
    const KeyView& at = key.view[v];
    c.label->SetKey(key);
    c.label->setGeometry(at.label);
    c.label->setVisible(key.labelVisible);
    c.frame->SetPenWidth(1);
    c.frame->setGeometry(at.frame);
    c.frame->setVisible(key.editable);
    c.panel->setGeometry(at.panel);
    const bool detailTabStop = v == kDetailView && key.editable;
    c.panel->setFocusPolicy(detailTabStop ? Qt::TabFocus : Qt::NoFocus);
    // An input method's composition on the current key starts its editor.
    c.panel->setAttribute(Qt::WA_InputMethodEnabled, detailTabStop);
    c.panel->setVisible(key.hasPanel);
    c.picture->setGeometry(0, 0, at.panel.width(), at.panel.height());
    c.picture->SetImage(QImage());
  }
}

QWidget* StripView::NewLayer(ViewKind view) {
  // The canvas is the layer's parent: a click between keys still reaches it.
  QWidget* layer = new QWidget(canvas_[view]);
  layer->hide();
  layer->setAttribute(Qt::WA_NoSystemBackground);
  return layer;
}

bool StripView::Editable(int k) const { return k < KeyCount() && plan_.keys[k].editable; }

void StripView::RaiseWindowedControls() {
  // Panels lie above every label and frame; editors, made later, above all.
  for (auto& key : controls_) {
    for (KeyControls& c : key) c.panel->raise();
  }
}

namespace {

const char kKeyIndexProperty[] = "keyIndex";

}  // namespace

// The controls stay from strip to strip, so every key's are wired; fixed
// keys and keys without a text panel are neither selected, edited nor
// jumped to, which each event checks when it comes.
void StripView::WireDetailEvents(int k, const KeyControls& c) {
  c.panel->setProperty(kKeyIndexProperty, k);
  c.panel->installEventFilter(this);
  connect(c.face, &KeyImage::MouseDown, this, [this, k](Qt::MouseButtons b, Qt::KeyboardModifiers m) {
    if (Editable(k)) emit KeyFaceMouseDown(k, b, m);
  });
  connect(c.face, &KeyImage::Clicked, this, [this, k] { if (Editable(k)) emit KeyFaceClick(k); });
  connect(c.face, &KeyImage::DoubleClicked, this, [this, k] { if (Editable(k)) emit KeyFaceDblClick(k); });
  connect(c.picture, &KeyImage::MouseDown, this, [this, k](Qt::MouseButtons b, Qt::KeyboardModifiers m) {
    if (Editable(k)) emit KeyPictureMouseDown(k, b, m);
  });
  connect(c.picture, &KeyImage::Clicked, this, [this, k] { if (Editable(k)) emit KeyPictureClick(k); });
  connect(c.picture, &KeyImage::DoubleClicked, this, [this, k] { if (Editable(k)) emit KeyPictureDblClick(k); });
  connect(c.face, &KeyImage::ContextMenuRequested, this, [this, k](QPoint at) {
    if (Editable(k)) emit KeyFaceContextMenu(k, at);
  });
  connect(c.picture, &KeyImage::ContextMenuRequested, this, [this, k](QPoint at) {
    if (Editable(k)) emit KeyPictureContextMenu(k, at);
  });
}

void StripView::WireAllViewEvents(int k, const KeyControls& c) {
  auto jump = [this, k] { if (Editable(k)) emit AllViewKeyDoubleClicked(k); };
  connect(c.face, &KeyImage::DoubleClicked, this, jump);
  connect(c.picture, &KeyImage::DoubleClicked, this, jump);
  connect(c.label, &NumberLabel::DoubleClicked, this, jump);
}

QPlainTextEdit* StripView::Editor(int k) {
  if (k < 0 || k >= KeyCount()) return nullptr;
  KeyControls& c = controls_[k][kDetailView];
  if (!c.editor) {
    auto* editor = new KeyEditor(layer_[kDetailView]);
    c.editor = editor;
    editor->hide();
    // Tab from the editor goes on to the next key, Shift+Tab back to its own panel.
    QWidget::setTabOrder(c.panel, editor);
    connect(editor, &KeyEditor::EscapePressed, this, [this, k] { emit KeyEditorEscape(k); });
    connect(editor, &KeyEditor::Exited, this, [this, k] { emit KeyEditorExit(k); });
    connect(editor, &KeyEditor::LineBytesChanged, this,
            [this, k](int line, int bytes) { emit KeyEditorLineBytes(k, line, bytes); });
    LoadKeyText(k);
    DrawKeyFace(k);  // places the editor
  }
  return c.editor;
}

void StripView::ReloadEditor(int k) {
  if (k < 0 || k >= KeyCount()) return;
  if (!controls_[k][kDetailView].editor) {
    Editor(k);
    return;
  }
  LoadKeyText(k);
}

bool StripView::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::InputMethod) {
    const QVariant key = watched->property(kKeyIndexProperty);
    if (key.isValid() && Editable(key.toInt())) {
      const PanelKeyAction action = type == QEvent::KeyPress ? PanelKeyActionOf(*static_cast<QKeyEvent*>(event))
                                                             : PanelKeyActionOf(*static_cast<QInputMethodEvent*>(event));
      if (action == PanelKeyAction::StartTyping) {
        emit KeyPanelEdit(key.toInt(), event);
        return true;
      }
      if (action == PanelKeyAction::OpenAtEnd) {
        emit KeyPanelEdit(key.toInt(), nullptr);
        return true;
      }
    }
  }
  if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
    const QVariant key = watched->property(kKeyIndexProperty);
    if (key.isValid() && Editable(key.toInt()) && FocusMoveCounts(static_cast<QFocusEvent*>(event)->reason())) {
      if (type == QEvent::FocusIn) {
        emit KeyPanelEnter(key.toInt());
      } else {
        emit KeyPanelExit(key.toInt());
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

void StripView::MoveBlocksAfter(int k, qsizetype delta) {
  if (delta == 0 || k < 0 || k >= KeyCount()) return;
  for (size_t j = k + 1; j < plan_.keys.size(); ++j) plan_.keys[j].blockLine += delta;
  for (size_t g = plan_.keys[k].group + 1; g < plan_.groups.size(); ++g) {
    plan_.groups[g].headerLine += delta;
  }
}

void StripView::SetSelectionMark(int k, bool selected) {
  if (k < 0 || k >= KeyCount()) return;
  controls_[k][kDetailView].frame->SetPenWidth(selected ? 2 : 1);
}

void StripView::ShowEditor(int k) {
  QPlainTextEdit* editor = Editor(k);
  if (!editor) return;
  controls_[k][kDetailView].frame->hide();
  editor->show();
  editor->raise();
}

void StripView::HideEditor(int k) {
  if (k < 0 || k >= KeyCount()) return;
  KeyControls& c = controls_[k][kDetailView];
  if (c.editor) c.editor->hide();
  c.panel->setVisible(plan_.keys[k].hasPanel);
  c.frame->setVisible(plan_.keys[k].editable);
}

void StripView::ReloadEditorFormat(int k) {
  if (k < 0 || k >= KeyCount()) return;
  if (!controls_[k][kDetailView].editor) {
    Editor(k);
    return;
  }
  LoadEditorFormat(k, ReadKeyTextFormat(document_->lines(), plan_.keys[k].blockLine));
}

void StripView::LoadEditorFormat(int k, const KeyTextFormat& format) {
  QPlainTextEdit* editor = controls_[k][kDetailView].editor;
  QFont font(sjis::Decode(format.fontName));
  font.setPixelSize(PointsToPixels(format.pointSize, editor->logicalDpiY()));
  font.setBold(format.bold);
  font.setItalic(format.italic);
  editor->setFont(font);
  QPalette colours = editor->palette();
  colours.setColor(QPalette::Text, QColorFromWin(format.fontColor));
  colours.setColor(QPalette::Base, QColorFromWin(format.backColor));
  editor->setPalette(colours);
}

void StripView::LoadKeyText(int k) {
  // The editor holds the key's lines in the key's font, so that typing
  // starts from what the document says.
  const KeyTextFormat format = ReadKeyTextFormat(document_->lines(), plan_.keys[k].blockLine);
  LoadEditorFormat(k, format);
  QPlainTextEdit* editor = controls_[k][kDetailView].editor;
  QStringList text;
  for (const QByteArray& line : format.text) text << sjis::Decode(line);
  editor->setPlainText(text.join('\n'));
}

void StripView::DrawKeyFace(int k) {
  if (!document_ || k < 0 || k >= KeyCount()) return;
  const KeyTextFormat format = ReadKeyTextFormat(document_->lines(), plan_.keys[k].blockLine);
  // The size may have changed since the layout (formatting, palette).
  SetKeyTextPointSize(plan_, k, format.pointSize);
  const KeyPlan& key = plan_.keys[k];
  const bool hasPicture = format.hasPicture;
  const QImage& picture = pictures_[k].Picture(document_->lines(), key.blockLine);
  fits_[k] = !key.hasPanel || KeyFaceFits(format, key.view[kDetailView].panel.size(), key.view[kDetailView].textPointSize);
  for (int v = 0; v < kViewCount; ++v) {
    const auto view = static_cast<ViewKind>(v);
    KeyControls& c = controls_[k][v];
    const FaceLayout layout = KeyFaceLayout(key, view, hasPicture);
    c.face->setGeometry(layout.face);
    if (c.editor) c.editor->setGeometry(layout.editor);
    c.picture->SetImage(picture);
    // The mark is the detail view's alone: the all view shows the strip as printed.
    c.face->SetOverflowMark(view == kDetailView && !fits_[k]);
    if (layout.face.isEmpty()) {
      c.face->SetImage(QImage());
    } else {
      const QSize panel = key.view[v].panel.size();
      const int pointSize = key.view[v].textPointSize;
      const qreal ratio = c.face->devicePixelRatioF();
      c.face->SetImageSource(
          [format, panel, pointSize, ratio] { return RenderKeyFace(format, panel, pointSize, ratio); });
    }
  }
}

void StripView::RefreshKeyBlockLines() {
  if (!document_) return;
  for (KeyPlan& key : plan_.keys) {
    key.blockLine = ::KeyBlockLine(document_->lines(), plan_.stripStart, key.index);
  }
}

std::vector<int> StripView::KeysNotFitting() const {
  std::vector<int> keys;
  for (int k = 0; k < KeyCount(); ++k) {
    if (!fits_[k]) keys.push_back(k);
  }
  return keys;
}
