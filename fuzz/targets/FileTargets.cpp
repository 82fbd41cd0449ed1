// Templates, key-label files and the settings file.
#include <QTemporaryFile>
#include <algorithm>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "base/IniFile.h"
#include "base/LineIO.h"
#include "base/ShiftJis.h"
#include "document/Series.h"
#include "document/StripLayout.h"
#include "document/StripTemplate.h"
#include "document/Template.h"
#include "document/TemplateCheck.h"
#include "keylabels/PaletteList.h"

int FuzzTemplate(const uint8_t* data, size_t size) {
  const Lines lines = SplitLines(FuzzBytes(data, size));
  if (!lines.isEmpty()) {
    for (int series = 0; series < kSeriesCount; ++series) TemplateServesSeries(lines[0], sjis::Encode(SeriesName(series)));
  }
  for (const QByteArray& line : lines.mid(0, 64)) {
    IsEditableTemplateKey(line);
    FUZZ_ASSERT(KeyStartLines(line).size() >= 14);
  }
  bool structureSound = true;
  try {
    StripBodyFromTemplate(lines);
  } catch (const DocumentError& e) {
    FUZZ_ASSERT(e.Line() >= 0 && e.Line() <= lines.size());
    structureSound = false;
  }
  // The model: read, written back line for line, and checked. Every fault
  // names a line of the file (or one past its end) and a key that exists.
  const TemplateReading reading = ReadTemplate(lines);
  FUZZ_ASSERT(reading.model || !reading.faults.isEmpty());
  if (reading.model) {
    FUZZ_ASSERT(structureSound);
    FUZZ_ASSERT(reading.model->ToLines() == lines);
    FUZZ_ASSERT(StripBodyOf(*reading.model) == StripBodyFromTemplate(lines));
  }
  const QList<TemplateFault> faults = CheckTemplateBytes(FuzzBytes(data, size), "fuzz");
  const int keys = reading.model ? reading.model->KeyCount() : layout::kMaxKeys;
  for (const TemplateFault& fault : faults) {
    FUZZ_ASSERT(fault.line >= 0 && fault.line <= lines.size() + 1);
    FUZZ_ASSERT(fault.key >= -1 && fault.key < std::max(keys, 1));
    FUZZ_ASSERT(!fault.reason.isEmpty());
  }
  return 0;
}

int FuzzKeyLabels(const uint8_t* data, size_t size) {
  const Lines list = SplitLines(FuzzBytes(data, size));
  for (int series = 0; series < kSeriesCount; ++series) {
    if (!IsWellFormedPaletteList(list, series)) continue;
    // Every entry of a well-formed list can be read and committed back.
    Lines changed = list;
    for (int entry = 0; entry < PaletteEntryCount(series); ++entry) {
      Lines labelLines;
      const KeyLabelFormat format = Myfunc_Get_Label(list, entry, &labelLines);
      CaptionOf(labelLines);
      CommitKeyLabel(&changed, entry, format, labelLines);
    }
    FUZZ_ASSERT(IsWellFormedPaletteList(changed, series));
  }
  return 0;
}

int FuzzIniFile(const uint8_t* data, size_t size) {
  QTemporaryFile file;
  if (!file.open()) return 0;
  file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  file.close();
  IniFile ini(file.fileName());
  ini.ReadInteger(QStringLiteral("Position"), QStringLiteral("MainTop"), 0);
  ini.ReadString(QStringLiteral("Dir"), QStringLiteral("OpenPicture"), QString());
  // A value written reads back, here and from the file.
  ini.WriteInteger(QStringLiteral("Position"), QStringLiteral("TelListHeight"), 123);
  FUZZ_ASSERT(ini.ReadInteger(QStringLiteral("Position"), QStringLiteral("TelListHeight"), 0) == 123);
  FUZZ_ASSERT(IniFile(file.fileName()).ReadInteger(QStringLiteral("Position"), QStringLiteral("TelListHeight"), 0) == 123);
  return 0;
}
