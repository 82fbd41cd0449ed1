#pragma once
// The preview window of strip card printing: one strip of the print
// selection per page, paged with the bar's buttons, printed with "印刷".

#include <QDialog>
#include <QList>

#include "print/PreviewBar.h"

class StripDocument;
class TSettings;
struct PrintAdjustment;

class TFPrintJimeijoCard : public QDialog {
  Q_OBJECT
 public:
  explicit TFPrintJimeijoCard(TSettings& settings, QWidget* parent = nullptr);
  ~TFPrintJimeijoCard() override;

  // Fills the print selection (0-based list positions) and shows its first
  // page; `adjustment` is read at every drawing. ShowModal then runs the
  // window and discards the selection when it closes.
  void Prepare(const StripDocument& document, const QList<int>& selection,
               const PrintAdjustment& adjustment);
  int ShowModal(const StripDocument& document, const QList<int>& selection,
                const PrintAdjustment& adjustment);

  int CurrentPage() const { return currentPage_; }
  // What the prints since Prepare sent, for the main window's status line;
  // empty when nothing was sent.
  const QString& PrintedText() const { return printedText_; }
  const QList<int>& Selection() const { return selection_; }

  QPushButton* ButtonPrint = nullptr;
  QPushButton* ButtonPrev = nullptr;
  QPushButton* ButtonNext = nullptr;
  QPushButton* ButtonClose = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  CanvasImage* imgPage = nullptr;

 private:
  QString printedText_;
  void ButtonPrintClick();
  void ButtonPrevClick();
  void ButtonNextClick();
  void UpdateButtons();
  void DrawPage();

  TSettings& settings_;
  const StripDocument* document_ = nullptr;
  const PrintAdjustment* adjustment_ = nullptr;
  QList<int> selection_;
  int currentPage_ = 0;
};
