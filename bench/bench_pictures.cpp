// A 100-key strip in which every key carries its own picture: laying it out
// in the main window (every picture decoded), redrawing the keys (no
// decoding), rendering it as vrdtool does, and decoding alone.
#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <functional>
#include <cstdio>
#include <ctime>
#include <algorithm>
#include <chrono>

#include "HundredKeyStrip.h"
#include "Timing.h"
#include "app/Main.h"
#include "base/LineIO.h"
#include "base/Mainsub.h"
#include "base/Prompts.h"
#include "document/StripLayout.h"
#include "view/PictureCodec.h"
#include "view/StripRenderer.h"
#include "view/StripView.h"

namespace {

class ConsolePrompts : public Prompts {
 public:
  PromptAnswer Message(const QString& text, const QString& title, PromptIcon, PromptButtons,
                       PromptAnswer defaultAnswer) override {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    return defaultAnswer;
  }
  std::optional<QString> OpenFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> SaveFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<QColor> Color(const QColor&) override { return std::nullopt; }
  std::optional<QFont> Font(const QFont&, const QColor&, QColor*) override { return std::nullopt; }
};

// A logo of the size sites use: a coloured band with the key's number.
QByteArray Logo(int n, const char* format) {
  QImage image(160, 48, QImage::Format_RGB32);
  image.fill(QColor::fromHsv((n * 37) % 360, 200, 230));
  QPainter painter(&image);
  painter.setPen(Qt::black);
  painter.setFont(QFont(QStringLiteral("IPAGothic"), 20));
  painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("LOGO %1").arg(n));
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format, 85);
  return bytes;
}

QList<QByteArray> PictureStrip(const char* format, const QByteArray& kind, qint64* bytes, int first = 1) {
  QList<QByteArray> lines = bench::HundredKeyStrip();
  *bytes = 0;
  for (int k = 0; k < 100; ++k) {
    const qsizetype key = KeyBlockLine(lines, 3, k);
    const QByteArray logo = Logo(k + first, format);
    *bytes += logo.size();
    lines[key + layout::kPictureKind] = kind;
    lines[key + layout::kPictureData] = EncodePictureText(logo);
  }
  return lines;
}

double CpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Wall and processor milliseconds per run: on a machine shared with other
// work the processor time is the steadier figure.
struct Timing {
  double wall, cpu;
};
Timing Measure(int runs, const std::function<void()>& work) {
  const double cpuStart = CpuMilliseconds();
  const double wall = bench::MillisecondsPerRun(runs, work);
  return {wall, (CpuMilliseconds() - cpuStart) / (runs + 1)};  // the warm-up run included
}

void Print(const char* what, Timing t) {
  std::printf("  %-46s %8.3f %8.3f\n", what, t.wall, t.cpu);
}

// `strips` copies of the picture strip, each with pictures of its own.
QList<QByteArray> PictureDocument(const char* format, const QByteArray& kind, int strips, qint64* bytes) {
  QList<QByteArray> lines;
  for (int n = 1; n <= strips; ++n) {
    QList<QByteArray> strip = PictureStrip(format, kind, bytes, 100 * n);
    if (n == 1) lines = strip.mid(0, 2);
    strip[2] = SeparatorLine(n);
    lines += strip.mid(2);
  }
  lines[1] = QByteArray::number(strips);
  return lines;
}

// The fastest time of laying out strips 2 to `strips` from the list, each
// with pictures the window has not seen before.
double FirstSightMilliseconds(TFMain& main, int strips) {
  double fastest = 1e9;
  for (int n = 2; n <= strips; ++n) {
    QApplication::processEvents();
    const auto start = std::chrono::steady_clock::now();
    main.ListView1->setCurrentItem(main.ListView1->topLevelItem(n - 1));
    fastest = std::min(fastest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return fastest;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterFontSubstitutes();
  ConsolePrompts prompts;
  Prompts::Install(&prompts);
  QTemporaryDir folder;
  TFMain main(folder.path());
  main.show();
  const int runs = 20;
  const auto idle = [] { QApplication::processEvents(); };
  constexpr int kStrips = 8;
  // The same strips without pictures: a picture kind left blank.
  qint64 plainBytes = 0;
  const QString plainPath = folder.filePath(QStringLiteral("plain.VRD"));
  if (!WriteLinesFile(plainPath, PictureDocument("JPG", QByteArray(), kStrips, &plainBytes)) ||
      !main.OpenDataFile(plainPath)) {
    return 1;
  }
  main.Action("ActionShowDetail")->trigger();
  const double plainFirstMs = FirstSightMilliseconds(main, kStrips);
  const double plainMs = bench::FastestMilliseconds([&] { main.BuildStripView(); }, idle, 15);
  main.Document().MarkSaved();
  std::printf("100-key strip, every key with its own picture (ms, fastest of several), ratio to the same\n"
              "strip without pictures (limit 1.5): chosen in the list %.3f ms, laid out again %.3f ms\n",
              plainFirstMs, plainMs);
  for (const auto& [format, kind] : {std::pair{"JPG", QByteArray(".jpg")}, std::pair{"BMP", QByteArray(".bmp")}}) {
    qint64 bytes = 0;
    const QList<QByteArray> lines = PictureDocument(format, kind, kStrips, &bytes);
    const QString path = folder.filePath(QStringLiteral("pictures%1.VRD").arg(format));
    if (!WriteLinesFile(path, lines)) return 1;
    if (!main.OpenDataFile(path) || main.KeyCount() != 100) {
      std::fprintf(stderr, "the bench strip did not lay out 100 keys\n");
      return 1;
    }
    std::printf("%s pictures of 160 x 48 pixels, %lld bytes a strip\n", format, bytes);
    const double firstMs = FirstSightMilliseconds(main, kStrips);
    const double againMs = bench::FastestMilliseconds([&] { main.BuildStripView(); }, idle, 15);
    std::printf("  %-46s %8.3f  ratio %5.2f\n", "chosen in the list, pictures decoded", firstMs, firstMs / plainFirstMs);
    std::printf("  %-46s %8.3f  ratio %5.2f\n", "laid out again, pictures kept", againMs, againMs / plainMs);
    const Timing redraw = Measure(runs, [&] {
      for (int k = 0; k < 100; ++k) main.View().DrawKeyFace(k);
    });
    const qsizetype start = main.Document().FindStrip(kStrips) + 1;
    const StripPlan plan = PlanStrip(main.Document().lines(), start);
    const Timing render = Measure(runs, [&] { RenderStrip(main.Document().lines(), plan, kDetailView); });
    const Lines& shown = main.Document().lines();
    const Timing decode = Measure(runs, [&] {
      for (const KeyPlan& key : plan.keys) {
        DecodePictureText(shown[key.blockLine + layout::kPictureData], kind);
      }
    });
    const Timing base64 = Measure(runs, [&] {
      for (const KeyPlan& key : plan.keys) PictureDataBytes(shown[key.blockLine + layout::kPictureData]);
    });
    std::printf("  mean of %d runs %30s %8s %8s\n", runs, "", "wall", "cpu");
    Print("redrawing all 100 keys (pictures kept)", redraw);
    Print("rendering the strip as vrdtool render does", render);
    Print("decoding the 100 pictures alone", decode);
    Print("  of which their Base64", base64);
    main.Document().MarkSaved();
  }
  return 0;
}
