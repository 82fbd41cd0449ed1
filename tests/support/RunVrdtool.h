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

// Runs it with stderr on a terminal (a pseudo-terminal) and sends it SIGINT
// as soon as `interruptAt` shows there; `err` is what the terminal got.
VrdtoolRun RunVrdtoolOnTerminal(const QStringList& args, const QByteArray& interruptAt);
