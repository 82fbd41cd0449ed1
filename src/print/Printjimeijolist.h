#pragma once
// The preview window of the printed strip list: one 1080 x 760 page at a
// time, paged without messages, printed with "印刷" in one job.

#include <QDialog>
#include <functional>
#include <vector>

#include "print/ListPrint.h"
#include "print/PreviewBar.h"

class TSettings;

class TFPrintJimeijoList : public QDialog {
  Q_OBJECT
 public:
  // The strip list as it is on screen, read at every show and print.
  using RowSource = std::function<QList<StripRow>()>;

  explicit TFPrintJimeijoList(TSettings& settings, QWidget* parent = nullptr);
  ~TFPrintJimeijoList() override;

  // Builds the list rows once and shows page 1; ShowModal then runs the window.
  void Prepare(RowSource source);
  int ShowModal(RowSource source);

  int CurrentPage() const { return currentPage_; }
  // What the prints since Prepare sent, for the main window's status line;
  // empty when nothing was sent.
  const QString& PrintedText() const { return printedText_; }
  int PageCount() const { return pageCount_; }

  QPushButton* ButtonPrint = nullptr;
  QPushButton* ButtonPrev = nullptr;
  QPushButton* ButtonNext = nullptr;
  QPushButton* ButtonClose = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  CanvasImage* imgPage = nullptr;

  static constexpr int kPageWidth = 1080;
  static constexpr int kPageHeight = 760;

 private:
  QString printedText_;
  void ButtonPrintClick();
  void ButtonPrevClick();
  void ButtonNextClick();
  void RebuildRows();
  void ShowPage();

  TSettings& settings_;
  RowSource source_;
  std::vector<ListRow> rows_;
  int pageCount_ = 1;
  int currentPage_ = 1;
};
