#include "document/DataFileLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "base/LineIO.h"

namespace {

constexpr qint64 kOtherHostLockSeconds = 24 * 60 * 60;

// A value may hold any character: '%' and line ends are escaped so that
// each field stays one line.
QByteArray Escaped(const QString& text) {
  return text.toUtf8().replace("%", "%25").replace("\n", "%0A").replace("\r", "%0D");
}

QString UserName() {
  if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name) {
    return QString::fromLocal8Bit(entry->pw_name);
  }
  return qEnvironmentVariable("USER");
}

// When a process of this computer began, from /proc; invalid when unknown.
QDateTime ProcessStart(qint64 pid) {
  QByteArray stat;
  QByteArray system;
  if (!ReadFileBytes(QStringLiteral("/proc/%1/stat").arg(pid), &stat) ||
      !ReadFileBytes(QStringLiteral("/proc/stat"), &system)) {
    return {};
  }
  // The fields after the command name (which may hold blanks) start with
  // the state, field 3; the start time in clock ticks after boot is field 22.
  const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
  const qsizetype bootAt = system.indexOf("\nbtime ");
  if (fields.size() < 20 || bootAt < 0) return {};
  const qint64 boot = system.mid(bootAt + 7, system.indexOf('\n', bootAt + 1) - bootAt - 7).toLongLong();
  const qint64 ticks = fields[19].toLongLong();
  const long perSecond = ::sysconf(_SC_CLK_TCK);
  if (boot <= 0 || perSecond <= 0) return {};
  return QDateTime::fromMSecsSinceEpoch((boot * 1000) + ticks * 1000 / perSecond, Qt::UTC);
}

}  // namespace

QByteArray LockHolder::ToBytes() const {
  return "user=" + Escaped(user) + "\nhost=" + Escaped(host) + "\nprocess=" + QByteArray::number(process) +
         "\ntime=" + time.toUTC().toString(Qt::ISODateWithMs).toUtf8() + '\n';
}

LockHolder LockHolder::FromBytes(const QByteArray& bytes) {
  LockHolder holder;
  for (const QByteArray& line : bytes.split('\n')) {
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) continue;
    const QByteArray key = line.left(equals);
    const QByteArray value = line.mid(equals + 1).trimmed();
    const QString text = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
    if (key == "user") holder.user = text;
    if (key == "host") holder.host = text;
    if (key == "process") holder.process = value.toLongLong();
    if (key == "time") holder.time = QDateTime::fromString(text, Qt::ISODateWithMs);
  }
  return holder;
}

LockHolder LockHolder::ThisProgram() {
  return {UserName(), QSysInfo::machineHostName(), QCoreApplication::applicationPid(),
          QDateTime::currentDateTimeUtc()};
}

QString LockPathOf(const QString& dataFile) {
  const QFileInfo info(dataFile);
  return info.absoluteDir().filePath(QStringLiteral(".~lock.") + info.fileName() + '#');
}

bool ProcessRunsSince(qint64 pid, const QDateTime& since) {
  if (pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno != EPERM)) return false;
  const QDateTime started = ProcessStart(pid);
  // A second's grace: the start time is kept in clock ticks.
  return !started.isValid() || !since.isValid() || started <= since.addSecs(1);
}

LockStatus JudgeLock(const LockHolder& found, const LockHolder& self, const QDateTime& now,
                     const ProcessProbe& runs) {
  if (found.host == self.host) {
    if (found.process == self.process) return LockStatus::kOurs;
    return runs(found.process, found.time) ? LockStatus::kHeld : LockStatus::kStale;
  }
  // A lock that cannot be read names no process to look for: it counts as
  // another computer's.
  if (!found.time.isValid()) return LockStatus::kHeld;
  return found.time.secsTo(now) < kOtherHostLockSeconds ? LockStatus::kHeld : LockStatus::kStale;
}

LockInspection InspectLock(const QString& dataFile) {
  LockInspection inspection;
  QByteArray bytes;
  if (!ReadFileBytes(LockPathOf(dataFile), &bytes)) {
    // Seen but unreadable is somebody's lock all the same.
    if (QFileInfo::exists(LockPathOf(dataFile))) inspection.status = LockStatus::kHeld;
    return inspection;
  }
  inspection.holder = LockHolder::FromBytes(bytes);
  inspection.status = JudgeLock(inspection.holder, LockHolder::ThisProgram(), QDateTime::currentDateTimeUtc());
  return inspection;
}

QString LockHeldText(const LockHolder& holder) {
  const QString user = holder.user.isEmpty() ? QStringLiteral("不明") : holder.user;
  const QString host = holder.host.isEmpty() ? QStringLiteral("不明") : holder.host;
  const QString time = holder.time.isValid()
                           ? holder.time.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm"))
                           : QStringLiteral("不明な時刻");
  return QStringLiteral("このファイルは %1 (%2) が %3 から開いています。").arg(user, host, time);
}

DataFileLock::DataFileLock(DataFileLock&& other) noexcept
    : dataFile_(std::exchange(other.dataFile_, QString())), self_(std::move(other.self_)) {}

DataFileLock& DataFileLock::operator=(DataFileLock&& other) noexcept {
  if (this != &other) {
    Release();
    dataFile_ = std::exchange(other.dataFile_, QString());
    self_ = std::move(other.self_);
  }
  return *this;
}

DataFileLock::Result DataFileLock::Take(const QString& dataFile, bool takeOver, LockHolder* found) {
  Release();
  const LockHolder self = LockHolder::ThisProgram();
  // Two tries: a lock that appears between the look and the write is looked at again.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const LockInspection inspection = InspectLock(dataFile);
    if (inspection.status == LockStatus::kHeld && !takeOver) {
      if (found) *found = inspection.holder;
      return Result::kHeld;
    }
    const bool replace = inspection.status != LockStatus::kFree;
    switch (WriteNewFile(LockPathOf(dataFile), self.ToBytes(), replace)) {
      case NewFileResult::kWritten:
        dataFile_ = dataFile;
        self_ = self;
        return Result::kTaken;
      case NewFileResult::kExists:
        continue;
      case NewFileResult::kFailed:
        return Result::kFailed;
    }
  }
  if (found) *found = InspectLock(dataFile).holder;
  return Result::kHeld;
}

void DataFileLock::Release() {
  if (dataFile_.isEmpty()) return;
  const QString path = LockPathOf(dataFile_);
  dataFile_.clear();
  QByteArray bytes;
  if (!ReadFileBytes(path, &bytes) || !LockHolder::FromBytes(bytes).SameProgram(self_)) return;
  FileSystemCalls::Current().Unlink(QFile::encodeName(path).constData());
}
