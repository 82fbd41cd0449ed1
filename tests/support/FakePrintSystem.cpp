#include "support/FakePrintSystem.h"

#include <QPainter>

namespace {

class FakeJob final : public PrintJob {
 public:
  FakeJob(FakePrintSystem& system, qsizetype index) : system_(system), index_(index) { StartPage(); }
  ~FakeJob() override {
    if (painter_.isActive()) painter_.end();
  }

  QPainter& Canvas() override { return painter_; }
  int DpiX() const override { return system_.dpi; }
  int DpiY() const override { return system_.dpi; }
  QPoint CanvasOrigin() const override { return system_.canvasOrigin; }
  bool NewPage() override {
    StartPage();
    return true;
  }
  bool End() override {
    if (painter_.isActive()) painter_.end();
    Job().ended = !system_.failEnd;
    return !system_.failEnd;
  }

 private:
  RecordedJob& Job() { return system_.jobs[index_]; }
  void StartPage() {
    if (painter_.isActive()) painter_.end();
    RecordedJob& job = Job();
    ++job.pageCount;
    QImage page;
    if (system_.keepPages) {
      const QPageLayout layout(QPageSize(job.paper), job.orientation, QMarginsF());
      const QSizeF mm = layout.fullRect(QPageLayout::Millimeter).size();
      const double perMm = system_.dpi / 25.4;
      page = QImage(qRound(mm.width() * perMm), qRound(mm.height() * perMm), QImage::Format_RGB32);
    } else {
      page = QImage(1, 1, QImage::Format_RGB32);
    }
    const int dotsPerMeter = qRound(system_.dpi / 0.0254);
    page.setDotsPerMeterX(dotsPerMeter);
    page.setDotsPerMeterY(dotsPerMeter);
    page.fill(Qt::white);
    job.pages.append(page);
    painter_.begin(&job.pages.last());
  }

  FakePrintSystem& system_;
  qsizetype index_;
  QPainter painter_;
};

}  // namespace

FakePrintSystem::FakePrintSystem() { PrintSystem::Install(this); }
FakePrintSystem::~FakePrintSystem() { PrintSystem::Install(nullptr); }

int FakePrintSystem::CurrentPrinter() const {
  if (printers.isEmpty()) return -1;
  return current >= 0 && current < printers.size() ? current : 0;
}

std::optional<QList<QPageSize::PageSizeId>> FakePrintSystem::PaperSizes(int printer) const {
  if (printer < 0 || printer >= printers.size()) return std::nullopt;
  const auto it = papers.find(printers[printer]);
  if (it != papers.end()) return *it;
  return QList<QPageSize::PageSizeId>{QPageSize::A4, QPageSize::A5, QPageSize::JisB5};
}

bool FakePrintSystem::PaperSelectable(int printer) const {
  return printer >= 0 && printer < printers.size() && !notSelectable.contains(printers[printer]);
}

std::optional<PrintChoice> FakePrintSystem::ShowPrintDialog(const PrintDialogRequest& request) {
  dialogRequests.append(request);
  if (dialogAnswers.empty()) return std::nullopt;
  const std::optional<PrintChoice> answer = dialogAnswers.front();
  dialogAnswers.pop_front();
  return answer;
}

std::unique_ptr<PrintJob> FakePrintSystem::BeginJob(const QString& title,
                                                    QPageLayout::Orientation orientation) {
  if (failBegin) return nullptr;
  RecordedJob job;
  job.printer = CurrentPrinterName();
  job.title = title;
  job.paper = paper;
  job.orientation = orientation;
  jobs.append(job);
  return std::make_unique<FakeJob>(*this, jobs.size() - 1);
}
