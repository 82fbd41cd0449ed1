#include "TemplateSamples.h"

#include "base/LineIO.h"
#include "support/TestFiles.h"

const char kTeTitle[] = "Ｔｅシリーズ主装置用 試験";

Lines KeyTemplate(const char* keyNumberField) {
  return {"1", "2", "40", "8", "1.5", "2.5", "4", "4", Sj("ＭＳ Ｐゴシック"), "7", "0", "0", "0", "2",
          Sj(keyNumberField), "6.5", "2", "33", "6"};
}

Lines GroupTemplate(int showNumbers, const QList<const char*>& fields) {
  Lines lines{QByteArray::number(showNumbers), "10", "20", "44", QByteArray::number(fields.size() * 9 + 2),
              QByteArray::number(fields.size())};
  for (const char* field : fields) lines << KeyTemplate(field);
  return lines;
}

Lines TemplateLines(const char* title, const QList<Lines>& groups) {
  Lines lines{Sj(title), QByteArray::number(groups.size())};
  for (const Lines& group : groups) lines << group;
  return lines;
}

void WriteTemplate(const QString& path, const Lines& lines) { WriteBytes(path, JoinLines(lines)); }

Lines TeTemplate() {
  return TemplateLines(kTeTitle, {GroupTemplate(1, {"001", "002", "003"}),
                                  GroupTemplate(0, {"-01,12内線", "-02"})});
}
