// vrdtool templates / template ...: the strip templates the program reads,
// checked; one template checked, taken from a strip, drawn, or written from
// a compact description of a grid of keys.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <algorithm>
#include <tuple>

#include "Commands.h"
#include "base/FileLocations.h"
#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/StripCreation.h"
#include "document/StripDocument.h"
#include "document/StripLayout.h"
#include "document/StripTemplate.h"
#include "document/TemplateCheck.h"
#include "document/TemplateGrid.h"
#include "view/StripGeometry.h"
#include "view/StripRenderer.h"

namespace {

constexpr int kFailed = 2;

QString SeriesColumn(const QList<int>& series) {
  QStringList names;
  for (int s : series) names << SeriesName(s);
  return names.isEmpty() ? QStringLiteral("(no series)") : names.join(QStringLiteral(", "));
}

QString CheckColumn(const QList<TemplateFault>& faults) {
  const auto errors = std::count_if(faults.begin(), faults.end(), [](const TemplateFault& f) { return f.IsError(); });
  const auto warnings = faults.size() - errors;
  if (faults.isEmpty()) return QStringLiteral("ok");
  return QStringLiteral("%1 errors, %2 warnings").arg(errors).arg(warnings);
}

// The listing of `vrdtool templates`: one line per template file, tab
// separated: type, counts, series, folder ("user" or "shipped") and path,
// check result, and why a file is not offered. Faults go to stderr.
bool PrintTemplateListing(const QList<TemplateFileInfo>& files, const FileLocations& locations) {
  bool sound = true;
  for (const TemplateFileInfo& file : files) {
    const QString folder = locations.IsShippedTemplate(file.path) ? QStringLiteral("shipped") : QStringLiteral("user");
    QString line = QStringLiteral("%1\t%2 groups, %3 keys\t%4\t%5 %6\t%7")
                       .arg(file.stripType, QString::number(file.groups), QString::number(file.keys),
                            SeriesColumn(file.series), folder, QDir::toNativeSeparators(QFileInfo(file.path).absolutePath()),
                            CheckColumn(file.faults));
    if (!file.offered) line += QStringLiteral("\tnot offered: ") + file.notOfferedReason;
    PrintLine(line);
    for (const TemplateFault& fault : file.faults) {
      if (fault.IsError()) PrintError(file.fileName + QStringLiteral(": ") + fault.Text());
    }
    sound = sound && !HasTemplateErrors(file.faults) && file.notOfferedReason != QStringLiteral("ファイルを読み込めません。");
  }
  return sound;
}

// FILE:LINE: エラー|警告: [n番目のキー: ]reason, one per fault.
void PrintFaults(const QString& fileName, const QList<TemplateFault>& faults) {
  for (const TemplateFault& fault : faults) {
    const QString kind = fault.IsError() ? QStringLiteral("エラー") : QStringLiteral("警告");
    QString where = fileName + ':' + QString::number(fault.line);
    if (fault.key >= 0) where += QStringLiteral(": %1番目のキー").arg(fault.key + 1);
    PrintLine(QStringLiteral("%1: %2: %3").arg(where, kind, fault.reason));
  }
}

QByteArray StripTypeOf(const QString& path) { return sjis::Encode(QFileInfo(path).fileName().section('.', 0, 0)); }

// Writes a checked model: refused with errors (exit 2), else 0 or 1 (warnings).
int WriteCheckedTemplate(const QString& path, const StripTemplate& model) {
  const QByteArray bytes = model.ToBytes();
  const QList<TemplateFault> faults = CheckTemplateBytes(bytes, StripTypeOf(path));
  PrintFaults(QFileInfo(path).fileName(), faults);
  if (HasTemplateErrors(faults)) return Fail(QStringLiteral("%1: not written (errors)").arg(path));
  if (!WriteFileSafely(path, bytes)) return Fail(QStringLiteral("%1: cannot write the file").arg(path));
  return TemplateCheckLevel(faults);
}

int RunTemplateCheck(const QStringList& args) {
  if (args.size() != 1) return Fail(QStringLiteral("usage: vrdtool template check FILE.TPL"));
  QByteArray bytes;
  if (!ReadFileBytes(args[0], &bytes)) return Fail(QStringLiteral("%1: cannot be read").arg(args[0]));
  const QList<TemplateFault> faults = CheckTemplateBytes(bytes, StripTypeOf(args[0]));
  PrintFaults(QFileInfo(args[0]).fileName(), faults);
  if (faults.isEmpty()) PrintLine(QStringLiteral("ok"));
  return TemplateCheckLevel(faults);
}

int RunTemplateFromStrip(const QStringList& args) {
  bool ok = false;
  const int strip = args.value(1).toInt(&ok);
  if (args.size() != 3 || !ok || strip < 1) {
    return Fail(QStringLiteral("usage: vrdtool template from-strip FILE.VRD N OUT.TPL"));
  }
  std::optional<DataFileContent> content = LoadDataFile(args[0]);
  if (!content) return kFailed;
  StripDocument document;
  document.SetLines(std::move(content->lines));
  const qsizetype separator = document.FindStrip(strip);
  if (separator < 0) return Fail(QStringLiteral("%1: there is no strip %2").arg(args[0]).arg(strip));
  try {
    const qsizetype start = separator + 1;
    const QByteArray title = LineAt(document.lines(), start + layout::kSeriesName);
    return WriteCheckedTemplate(args[2], TemplateOfStrip(document.lines(), start, title));
  } catch (const DocumentError& e) {
    return Fail(QStringLiteral("%1: strip %2 is damaged (%3)").arg(args[0]).arg(strip).arg(e.Expected()));
  }
}

int RunTemplateRender(QStringList args) {
  const std::optional<QString> seriesText = TakeOption(args, QStringLiteral("--series"));
  const bool all = TakeFlag(args, QStringLiteral("--all"));
  if (args.size() != 2) return Fail(QStringLiteral("usage: vrdtool template render FILE.TPL OUT.png [--series N] [--all]"));
  QByteArray bytes;
  if (!ReadFileBytes(args[0], &bytes)) return Fail(QStringLiteral("%1: cannot be read").arg(args[0]));
  const TemplateReading reading = ReadTemplateBytes(bytes);
  const QList<TemplateFault> faults = CheckTemplateBytes(bytes, StripTypeOf(args[0]));
  if (const TemplateFault* error = FirstTemplateError(faults)) {
    return Fail(QFileInfo(args[0]).fileName() + QStringLiteral(": ") + error->Text());
  }
  int series = reading.model->SeriesServed().value(0, -1);
  if (seriesText) {
    bool ok = false;
    series = seriesText->toInt(&ok);
    if (!ok || !IsSeries(series)) return Fail(QStringLiteral("--series: expected 0 to 6"));
  }
  const Lines lines = DocumentOfTemplate(*reading.model, sjis::Encode(SeriesName(series)), StripTypeOf(args[0]));
  try {
    const StripPlan plan = PlanStrip(lines, 3);
    if (plan.tooMany) return Fail(QString::fromUtf8(kTooManyButtonsText));
    const QImage image = RenderStrip(lines, plan, all ? kAllView : kDetailView);
    if (!image.save(args[1], "PNG")) return Fail(QStringLiteral("%1: cannot write the image").arg(args[1]));
  } catch (const DocumentError& e) {
    return Fail(LayoutErrorText(e));
  }
  return 0;
}

// "WxH" (or "W,H") in millimetres, both above 0.
std::optional<std::pair<Decimal4, Decimal4>> ParseSize(const QString& text) {
  const QStringList parts = text.split(QRegularExpression(QStringLiteral("[x,×]")));
  if (parts.size() != 2) return std::nullopt;
  const std::optional<Decimal4> a = Decimal4::FromText(parts[0].trimmed().toLatin1());
  const std::optional<Decimal4> b = Decimal4::FromText(parts[1].trimmed().toLatin1());
  if (!a || !b || *a <= Decimal4() || *b <= Decimal4()) return std::nullopt;
  return std::pair{*a, *b};
}

// "ROWSxCOLUMNS" with an optional "@X,Y" (the group's corner in mm).
std::optional<GridGroup> ParseGroup(const QString& text) {
  const QStringList parts = text.split(QLatin1Char('@'));
  const QStringList counts = parts[0].split(QRegularExpression(QStringLiteral("[x×]")));
  if (parts.size() > 2 || counts.size() != 2) return std::nullopt;
  GridGroup group;
  bool okRows = false, okColumns = false;
  group.rows = counts[0].trimmed().toInt(&okRows);
  group.columns = counts[1].trimmed().toInt(&okColumns);
  if (!okRows || !okColumns || group.rows < 1 || group.columns < 1 || group.rows * group.columns > 100) {
    return std::nullopt;
  }
  if (parts.size() == 2) {
    const QStringList at = parts[1].split(QLatin1Char(','));
    if (at.size() != 2) return std::nullopt;
    group.x = Decimal4::FromText(at[0].trimmed().toLatin1());
    group.y = Decimal4::FromText(at[1].trimmed().toLatin1());
    if (!group.x || !group.y) return std::nullopt;
  }
  return group;
}

// The series by number (0-6) or by a part of its name ("Ｔｅ").
QList<int> ParseSeries(const QString& text) {
  QList<int> series;
  for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    bool ok = false;
    const int number = part.trimmed().toInt(&ok);
    int found = ok && IsSeries(number) ? number : -1;
    for (int s = 0; s < kSeriesCount && found < 0 && !ok; ++s) {
      if (SeriesName(s).contains(part.trimmed())) found = s;
    }
    if (found < 0) return {};
    series << found;
  }
  return series;
}

// An option's error: the message, exit 2.
int BadOption(const QString& option, const QString& expected) {
  return Fail(QStringLiteral("vrdtool template grid: %1: expected %2").arg(option, expected));
}

const char kGridUsage[] =
    "usage: vrdtool template grid OUT.TPL --series S[,S...] --group ROWSxCOLS[@X,Y] [--group ...] "
    "[--key WxH] [--pitch XxY] [--labels left|right|none] [--across] [--first N] "
    "[--fixed TEXT[,TEXT...]] [--fixed-size N] [--title TEXT]";

int RunTemplateGrid(QStringList args) {
  GridDescription grid;
  const std::optional<QString> series = TakeOption(args, QStringLiteral("--series"));
  const QList<int> served = series ? ParseSeries(*series) : QList<int>{};
  if (served.isEmpty()) return BadOption(QStringLiteral("--series"), QStringLiteral("series numbers 0-6 or names"));
  while (std::optional<QString> text = TakeOption(args, QStringLiteral("--group"))) {
    const std::optional<GridGroup> group = ParseGroup(*text);
    if (!group) return BadOption(QStringLiteral("--group"), QStringLiteral("ROWSxCOLUMNS[@X,Y]"));
    grid.groups << *group;
  }
  if (grid.groups.isEmpty()) return Fail(QString::fromLatin1(kGridUsage));
  if (std::optional<QString> text = TakeOption(args, QStringLiteral("--key"))) {
    const auto size = ParseSize(*text);
    if (!size) return BadOption(QStringLiteral("--key"), QStringLiteral("WIDTHxHEIGHT in mm"));
    std::tie(grid.keyWidth, grid.keyHeight) = *size;
  }
  if (std::optional<QString> text = TakeOption(args, QStringLiteral("--pitch"))) {
    const auto pitch = ParseSize(*text);
    if (!pitch) return BadOption(QStringLiteral("--pitch"), QStringLiteral("XxY in mm"));
    grid.pitchX = pitch->first;
    grid.pitchY = pitch->second;
  }
  if (std::optional<QString> text = TakeOption(args, QStringLiteral("--labels"))) {
    if (*text == QStringLiteral("left")) grid.labels = NumberLabels::kLeft;
    else if (*text == QStringLiteral("right")) grid.labels = NumberLabels::kRight;
    else if (*text == QStringLiteral("none")) grid.labels = NumberLabels::kNone;
    else return BadOption(QStringLiteral("--labels"), QStringLiteral("left, right or none"));
  }
  grid.numberAcross = TakeFlag(args, QStringLiteral("--across"));
  if (std::optional<QString> text = TakeOption(args, QStringLiteral("--first"))) {
    bool ok = false;
    grid.firstNumber = text->toInt(&ok);
    if (!ok || grid.firstNumber < 1 || grid.firstNumber > 999) return BadOption(QStringLiteral("--first"), QStringLiteral("1 to 999"));
  }
  if (std::optional<QString> text = TakeOption(args, QStringLiteral("--fixed"))) {
    for (const QString& fixed : text->split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      const std::optional<QByteArray> bytes = sjis::EncodeExactly(fixed);
      if (!bytes || bytes->size() > layout::kTextLineBytes) {
        return BadOption(QStringLiteral("--fixed"), QStringLiteral("texts of at most 20 Shift_JIS bytes"));
      }
      grid.fixedTexts << *bytes;
    }
  }
  if (std::optional<QString> text = TakeOption(args, QStringLiteral("--fixed-size"))) {
    bool ok = false;
    grid.fixedTextSize = text->toInt(&ok);
    if (!ok || grid.fixedTextSize < 1 || grid.fixedTextSize > 99) return BadOption(QStringLiteral("--fixed-size"), QStringLiteral("1 to 99"));
  }
  QStringList names;
  for (int s : served) names << SeriesName(s);
  grid.title = sjis::Encode(names.join(QStringLiteral("／")));
  if (std::optional<QString> text = TakeOption(args, QStringLiteral("--title"))) {
    grid.title = sjis::Encode(names.join(QStringLiteral("／")) + QLatin1Char(' ') + *text);
  }
  if (args.size() != 1) return Fail(QString::fromLatin1(kGridUsage));
  return WriteCheckedTemplate(args[0], TemplateOfGrid(grid));
}

}  // namespace

int RunTemplate(const QStringList& args) {
  const QString sub = args.value(0);
  const QStringList rest = args.mid(1);
  if (sub == QStringLiteral("check")) return RunTemplateCheck(rest);
  if (sub == QStringLiteral("from-strip")) return RunTemplateFromStrip(rest);
  if (sub == QStringLiteral("render")) return RunTemplateRender(rest);
  if (sub == QStringLiteral("grid")) return RunTemplateGrid(rest);
  return Fail(QStringLiteral("usage: vrdtool template check|from-strip|render|grid ... (see vrdtool --help)"));
}

int RunTemplates(const QStringList& args) {
  FileLocations locations = FileLocations::ForThisProgram();
  if (args.size() == 2 && args[0] == "--dir") {
    locations = FileLocations(args[1]);
  } else if (!args.isEmpty()) {
    PrintError(QStringLiteral("vrdtool templates: expected [--dir DIR]"));
    return 2;
  }
  return PrintTemplateListing(SurveyTemplateFolders(locations.TemplateFolders()), locations) ? 0 : 1;
}
