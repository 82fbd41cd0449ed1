#include "view/StripView.h"

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
      canvas_{detailCanvas, allCanvas} {}

StripView::~StripView() { Clear(); }

void StripView::Clear() {
  for (QWidget*& layer : layer_) {
    delete layer;
    layer = nullptr;
  }
  controls_.clear();
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
    canvas_[v]->SetImage(RenderCanvas(plan_, static_cast<ViewKind>(v)));
    canvas_[v]->move(0, 0);
    content_[v]->resize(canvas_[v]->size());
  }
  for (int v = 0; v < kViewCount; ++v) layer_[v] = NewLayer(static_cast<ViewKind>(v));
  controls_.reserve(plan_.keys.size());
  for (const KeyPlan& key : plan_.keys) CreateKeyControls(key);
  RaiseWindowedControls();
  for (int k = 0; k < KeyCount(); ++k) DrawKeyFace(k);
  for (QWidget* layer : layer_) layer->show();
  return plan_.tooMany ? BuildResult::TooManyKeys : BuildResult::Built;
}

void StripView::CreateKeyControls(const KeyPlan& key) {
  const int k = static_cast<int>(controls_.size());
  std::array<KeyControls, kViewCount> both{CreateControls(key, kDetailView),
                                           CreateControls(key, kAllView)};
  controls_.push_back(both);
  if (key.editable) WireDetailEvents(k, both[kDetailView]);
  WireAllViewEvents(k, both[kAllView]);
}

QWidget* StripView::NewLayer(ViewKind view) {
  // The canvas is the layer's parent: a click between keys still reaches it.
  QWidget* layer = new QWidget(canvas_[view]);
  layer->hide();
  layer->setGeometry(canvas_[view]->rect());
  layer->setAttribute(Qt::WA_NoSystemBackground);
  return layer;
}

KeyControls StripView::CreateControls(const KeyPlan& key, ViewKind view) {
  const KeyView& at = key.view[view];
  QWidget* parent = layer_[view];
  KeyControls c;
  c.label = new NumberLabel(key, view, parent);
  c.label->setGeometry(at.label);
  c.label->setVisible(key.labelVisible);

  c.frame = new TextFrame(parent);
  c.frame->setGeometry(at.frame);
  c.frame->setVisible(key.editable);

  c.panel = new QWidget(parent);
  c.panel->setGeometry(at.panel);
  c.panel->setAutoFillBackground(true);
  QPalette white = c.panel->palette();
  white.setColor(QPalette::Window, Qt::white);
  c.panel->setPalette(white);
  const bool detailTabStop = view == kDetailView && key.editable;
  c.panel->setFocusPolicy(detailTabStop ? Qt::TabFocus : Qt::NoFocus);
  c.panel->setVisible(key.hasPanel);

  c.picture = new KeyImage(c.panel);
  c.picture->setGeometry(0, 0, at.panel.width(), at.panel.height());
  c.face = new KeyImage(c.panel);
  c.face->setGeometry(0, 0, at.panel.width(), at.panel.height());
  return c;
}

void StripView::RaiseWindowedControls() {
  // Panels lie above every label and frame; editors, made later, above all.
  for (auto& key : controls_) {
    for (KeyControls& c : key) c.panel->raise();
  }
}

void StripView::WireDetailEvents(int k, const KeyControls& c) {
  connect(c.face, &KeyImage::MouseDown, this,
          [this, k](Qt::MouseButtons b, Qt::KeyboardModifiers m) { emit KeyFaceMouseDown(k, b, m); });
  connect(c.face, &KeyImage::Clicked, this, [this, k] { emit KeyFaceClick(k); });
  connect(c.face, &KeyImage::DoubleClicked, this, [this, k] { emit KeyFaceDblClick(k); });
  connect(c.picture, &KeyImage::MouseDown, this,
          [this, k](Qt::MouseButtons b, Qt::KeyboardModifiers m) { emit KeyPictureMouseDown(k, b, m); });
  connect(c.picture, &KeyImage::Clicked, this, [this, k] { emit KeyPictureClick(k); });
  connect(c.picture, &KeyImage::DoubleClicked, this, [this, k] { emit KeyPictureDblClick(k); });
  connect(c.face, &KeyImage::ContextMenuRequested, this,
          [this, k](QPoint at) { emit KeyFaceContextMenu(k, at); });
  connect(c.picture, &KeyImage::ContextMenuRequested, this,
          [this, k](QPoint at) { emit KeyPictureContextMenu(k, at); });
}

void StripView::WireAllViewEvents(int k, const KeyControls& c) {
  auto jump = [this, k] { emit AllViewKeyDoubleClicked(k); };
  connect(c.face, &KeyImage::DoubleClicked, this, jump);
  connect(c.picture, &KeyImage::DoubleClicked, this, jump);
  connect(c.label, &NumberLabel::DoubleClicked, this, jump);
}

void StripView::KeyBlockResized(int k, qsizetype delta) {
  for (size_t i = size_t(std::max(k + 1, 0)); i < plan_.keys.size(); ++i) plan_.keys[i].blockLine += delta;
}

QPlainTextEdit* StripView::Editor(int k) {
  if (k < 0 || k >= KeyCount()) return nullptr;
  KeyControls& c = controls_[k][kDetailView];
  if (!c.editor) {
    c.editor = new QPlainTextEdit(layer_[kDetailView]);
    c.editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    c.editor->setFrameStyle(QFrame::NoFrame);
    c.editor->setFocusPolicy(Qt::ClickFocus);
    c.editor->hide();
    LoadKeyText(k);
    DrawKeyFace(k);  // places the editor
  }
  return c.editor;
}

void StripView::LoadKeyText(int k) {
  // The editor holds the key's lines in the key's font, so that typing
  // starts from what the document says.
  const KeyTextFormat format = ReadKeyTextFormat(document_->lines(), plan_.keys[k].blockLine);
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
  QStringList text;
  for (const QByteArray& line : format.text) text << sjis::Decode(line);
  editor->setPlainText(text.join('\n'));
}

void StripView::DrawKeyFace(int k) {
  if (!document_ || k < 0 || k >= KeyCount()) return;
  const KeyPlan& key = plan_.keys[k];
  const bool hasPicture = ReadKeyTextFormat(document_->lines(), key.blockLine).hasPicture;
  for (int v = 0; v < kViewCount; ++v) {
    const auto view = static_cast<ViewKind>(v);
    KeyControls& c = controls_[k][v];
    const FaceLayout layout = KeyFaceLayout(key, view, hasPicture);
    c.face->setGeometry(layout.face);
    if (c.editor) c.editor->setGeometry(layout.editor);
    // Pictures come with picture attachment; until then a picture key shows none.
    c.picture->SetImage(QImage());
    c.face->SetImage(layout.face.isEmpty() ? QImage() : RenderKeyFace(document_->lines(), key, view));
  }
}
