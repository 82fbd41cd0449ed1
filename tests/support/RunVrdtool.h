#pragma once
// Runs the built vrdtool, for the tests of its commands.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct VrdtoolRun {
  int exitCode = -1;  // -1 when it did not finish or crashed
  QByteArray out;
  QByteArray err;
  QString Out() const { return QString::fromUtf8(out); }
  QString Err() const { return QString::fromUtf8(err); }
};

VrdtoolRun RunVrdtool(const QStringList& args);
