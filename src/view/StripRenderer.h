#pragma once
// Drawing a laid-out strip the way the view shows it. Each piece is drawn by
// one function that both the view's widgets (in their own coordinates) and
// the whole-strip renderer use:
//   the canvas (white, silver group rectangles, grey key outlines),
//   number labels and text frames (above the canvas, in key order),
//   text panels with the key faces (above everything else).

#include <QImage>
#include <QRect>

#include "view/StripGeometry.h"

struct KeyTextFormat;

class QPainter;

// Screen images have 96 dots per inch (3780 dots per metre).
inline constexpr int kScreenDotsPerMeter = 3780;
// Colours of the canvas, as Windows colour values.
inline constexpr int kGroupColor = 12632256;   // silver
inline constexpr int kKeyOutlineColor = 8421504;  // grey
// Rounded key corners: the ellipse of each corner, in pixels.
inline constexpr int kCornerEllipseWidth = 25;
inline constexpr int kCornerEllipseHeight = 20;

// A white image of the given size (in logical pixels) at screen resolution.
// With a device pixel ratio above 1 (a 200 % desktop) it holds that many
// device pixels per logical pixel, so that drawing on it stays sharp.
QImage NewScreenImage(QSize size, qreal devicePixelRatio = 1);

// The view's canvas: white, the group rectangles filled silver and the key
// outlines filled grey, each with a 1 px black border, keys with rounded
// corners unless the series has square ones.
QImage RenderCanvas(const StripPlan& plan, ViewKind view, qreal devicePixelRatio = 1);

// The key's number label in `rect` (transparent: only the digits are
// drawn, aligned left, centre or right at the top, clipped to the rect).
// Draws nothing when the label is hidden.
void DrawNumberLabel(QPainter& painter, const QRect& rect, const KeyPlan& key, ViewKind view);

// A white box with a thin black border on its outermost pixels.
void DrawTextFrame(QPainter& painter, const QRect& rect);

// Where the face image sits inside the text panel (panel coordinates) and
// where the detail view's key editor sits (canvas coordinates). A key with
// a picture gets a face of no width at the panel height's position and an
// editor of no width, so nothing shows its text and it cannot be typed into.
struct FaceLayout {
  QRect face;
  QRect editor;
};
FaceLayout KeyFaceLayout(const KeyPlan& key, ViewKind view, bool hasPicture);

// Larger than any sheet needs: a face beyond it comes from a damaged file
// and is not drawn, rather than allocating gigabytes.
inline constexpr int kMaxFaceSide = 8192;

// The face image of a key: white, of the panel's size, with the key text
// drawn by DrawKeyText at the view's font size. A null image when the face
// has no area or a side above kMaxFaceSide. DocumentError as DrawKeyText.
QImage RenderKeyFace(const Lines& lines, const KeyPlan& key, ViewKind view, qreal devicePixelRatio = 1);
// The same from the key's lines read before, for a panel of `size`.
QImage RenderKeyFace(const KeyTextFormat& format, QSize panel, int textPointSize, qreal devicePixelRatio = 1);
// True when RenderKeyFace would show the key's whole text on a face of
// `panel`'s size, nothing clipped at its edges.
bool KeyFaceFits(const KeyTextFormat& format, QSize panel, int textPointSize);

// The whole view of a strip on one image of the canvas size: canvas, then
// each key's number label and frame in key order, then each key's text
// panel with its face, or its picture stretched over the panel. Anything
// outside the canvas is cut off.
QImage RenderStrip(const Lines& lines, const StripPlan& plan, ViewKind view);
