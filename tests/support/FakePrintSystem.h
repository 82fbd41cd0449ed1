#pragma once
// A PrintSystem that records every job and draws its pages onto images at a
// chosen resolution, with scripted print dialog answers and injectable
// failures, so tests check titles, papers, page counts, order and pixels.

#include <QImage>
#include <QList>
#include <QMap>
#include <deque>

#include "base/PrintSystem.h"

struct RecordedJob {
  QString printer;
  QString title;
  QPageSize::PageSizeId paper = QPageSize::A4;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  QList<QImage> pages;  // empty images unless the fake keeps them
  int pageCount = 0;
  bool ended = false;
};

class FakePrintSystem : public PrintSystem {
 public:
  // Installs itself with one printer offering A4, A5 and B5 (JIS).
  FakePrintSystem();
  ~FakePrintSystem() override;

  QStringList Printers() const override { return printers; }
  int CurrentPrinter() const override;
  void SetCurrentPrinter(int index) override { current = index; }
  std::optional<QList<QPageSize::PageSizeId>> PaperSizes(int printer) const override;
  bool PaperSelectable(int printer) const override;
  void SetPaper(QPageSize::PageSizeId value) override { paper = value; }
  QPageSize::PageSizeId Paper() const override { return paper; }
  std::optional<PrintChoice> ShowPrintDialog(const PrintDialogRequest& request) override;
  std::unique_ptr<PrintJob> BeginJob(const QString& title, QPageLayout::Orientation orientation) override;

  QStringList printers{QStringLiteral("Fake Printer")};
  int current = 0;
  // Per printer name: the papers offered (nothing: the query fails);
  // printers not listed offer A4, A5 and JIS B5.
  QMap<QString, std::optional<QList<QPageSize::PageSizeId>>> papers;
  QStringList notSelectable;
  QPageSize::PageSizeId paper = QPageSize::Letter;  // the printer's own paper

  int dpi = 254;           // 10 pixels per millimetre
  QPoint canvasOrigin;     // where the canvas origin lies from the paper corner
  bool keepPages = true;   // draw pages onto images (false: count only)
  bool failBegin = false;
  bool failEnd = false;

  std::deque<std::optional<PrintChoice>> dialogAnswers;  // cancelled when none left
  QList<PrintDialogRequest> dialogRequests;
  QList<RecordedJob> jobs;
};
