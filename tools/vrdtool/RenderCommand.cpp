// vrdtool render: draws one strip of a data file onto a PNG the way the
// detail view (or the all view) shows it, with the view's own geometry and
// drawing code.
#include <QImage>

#include "Commands.h"
#include "document/StripDocument.h"
#include "view/KeyTextLoad.h"
#include "view/StripGeometry.h"
#include "view/StripRenderer.h"

namespace {

struct RenderArgs {
  QString file;
  int strip = 0;
  QString out;
  ViewKind view = kDetailView;
};

bool ParseRenderArgs(QStringList args, RenderArgs* parsed) {
  if (args.removeAll(QStringLiteral("--all")) > 0) parsed->view = kAllView;
  if (args.size() != 3) return false;
  bool ok = false;
  parsed->file = args[0];
  parsed->strip = args[1].toInt(&ok);
  parsed->out = args[2];
  return ok && parsed->strip > 0;
}

}  // namespace

int RunRender(const QStringList& args) {
  RenderArgs a;
  if (!ParseRenderArgs(args, &a)) return Fail(QStringLiteral("usage: vrdtool render FILE N OUT.png [--all]"));
  std::optional<DataFileContent> content = LoadDataFile(a.file);
  if (!content) return 2;
  StripDocument document;
  document.SetLines(std::move(content->lines));
  const qsizetype separator = document.FindStrip(a.strip);
  if (separator < 0) return Fail(QStringLiteral("%1: there is no strip %2").arg(a.file).arg(a.strip));

  QImage image;
  try {
    const StripPlan plan = PlanStrip(document.lines(), separator + 1);
    if (plan.tooMany) return Fail(a.file + ": " + QString::fromUtf8(kTooManyButtonsText));
    // The view shows text lines cut to 20 bytes (the file is not written).
    CutLongKeyTextLines(document, plan);
    image = RenderStrip(document.lines(), plan, a.view);
  } catch (const DocumentError& e) {
    return Fail(a.file + ": " + LayoutErrorText(e));
  }
  if (!image.save(a.out, "PNG")) return Fail(QStringLiteral("%1: cannot write the image").arg(a.out));
  return 0;
}
