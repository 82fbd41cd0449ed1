#pragma once
// A copy of a document's unsaved changes, kept when the program has to end
// without asking (the session ends). It is written like a save, into the
// recovery folder, never over the data file itself.

#include <QDateTime>
#include <QString>

#include "base/Lines.h"

// The copy's file name: the data file's base name (or "無題" for a document
// never saved), the time and ".VRD", so that no copy replaces another.
QString RecoveryCopyName(const QString& dataFile, const QDateTime& when);

// Writes `lines` into `folder` (made when missing) under RecoveryCopyName.
// The path written; empty when the write failed.
QString WriteRecoveryCopy(const QString& folder, const QString& dataFile, const Lines& lines,
                          const QDateTime& when);
