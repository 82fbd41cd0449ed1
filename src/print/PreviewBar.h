#pragma once
// The button bar both print previews share: "印刷", "<<前ﾍﾟｰｼﾞ", "次ﾍﾟｰｼﾞ>>"
// and, at the right edge, "閉じる", above a scrolling page area.

#include <QString>

class CanvasImage;
class QDialog;
class QPushButton;
class QScrollArea;

struct PreviewControls {
  QPushButton* ButtonPrint = nullptr;
  QPushButton* ButtonPrev = nullptr;
  QPushButton* ButtonNext = nullptr;
  QPushButton* ButtonClose = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  CanvasImage* imgPage = nullptr;
};

// Builds the bar and the page area into the dialog; "閉じる" rejects it.
PreviewControls BuildPreviewControls(QDialog* dialog);

// Keeps "印刷" disabled from its click until the print has ended, so that
// no second print starts while one runs.
class PrintRunning {
 public:
  explicit PrintRunning(QPushButton* button);
  ~PrintRunning();
  PrintRunning(const PrintRunning&) = delete;
  PrintRunning& operator=(const PrintRunning&) = delete;

 private:
  QPushButton* button_;
};
