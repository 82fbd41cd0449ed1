#include "document/RecoveryCopy.h"

#include <QDir>
#include <QFileInfo>

#include "document/DataFile.h"

QString RecoveryCopyName(const QString& dataFile, const QDateTime& when) {
  const QString base = dataFile.isEmpty() ? QStringLiteral("無題") : QFileInfo(dataFile).completeBaseName();
  return QStringLiteral("%1-%2.VRD").arg(base, when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

QString WriteRecoveryCopy(const QString& folder, const QString& dataFile, const Lines& lines,
                          const QDateTime& when) {
  if (!QDir().mkpath(folder)) return {};
  const QString path = QDir(folder).filePath(RecoveryCopyName(dataFile, when));
  return WriteDataFile(path, lines) ? path : QString();
}
