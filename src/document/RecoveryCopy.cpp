#include "document/RecoveryCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <algorithm>

#include "base/LineIO.h"
#include "document/StripDocument.h"

namespace {

const QString kCopySuffix = QStringLiteral(".VRD");
const QString kRecordSuffix = QStringLiteral(".record");
const QString kLockSuffix = QStringLiteral(".lock");

QString PathOf(const QString& folder, const QString& name, const QString& suffix) {
  return QDir(folder).filePath(name + suffix);
}

// A lock that only the end of its process gives up, never its age.
std::unique_ptr<QLockFile> LockOf(const QString& folder, const QString& name) {
  auto lock = std::make_unique<QLockFile>(PathOf(folder, name, kLockSuffix));
  lock->setStaleLockTime(0);
  return lock;
}

// The copy and its record, with the temporary files of writes cut short.
void RemoveCopyFiles(const QString& folder, const QString& name) {
  const QDir dir(folder);
  const QStringList patterns{name + kCopySuffix + '*', name + kRecordSuffix + '*'};
  for (const QString& file : dir.entryList(patterns, QDir::Files | QDir::Hidden)) QFile::remove(dir.filePath(file));
}

// A path may hold any character: '%' and line ends are escaped so that
// the record stays one field a line.
QByteArray Escaped(const QString& text) {
  return text.toUtf8().replace("%", "%25").replace("\n", "%0A").replace("\r", "%0D");
}

// The lines with the key being typed written in, as its commit would.
Lines WithTyping(Lines lines, const ChangeSet& typing) {
  if (typing.empty()) return lines;
  StripDocument typed;
  typed.SetLines(std::move(lines));
  typed.Apply(typing);  // changes that no longer fit leave the lines as they are
  return typed.lines();
}

}  // namespace

QByteArray RecoveryRecord::ToBytes() const {
  return "file=" + Escaped(dataFile) + "\ntime=" + time.toString(Qt::ISODateWithMs).toUtf8() +
         "\nprocess=" + QByteArray::number(process) + '\n';
}

RecoveryRecord RecoveryRecord::FromBytes(const QByteArray& bytes) {
  RecoveryRecord record;
  for (const QByteArray& line : bytes.split('\n')) {
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) continue;
    const QByteArray key = line.left(equals);
    const QByteArray value = line.mid(equals + 1).trimmed();
    if (key == "file") record.dataFile = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
    if (key == "time") record.time = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
    if (key == "process") record.process = value.toLongLong();
  }
  return record;
}

QString RecoveryQuestion(const RecoveryRecord& record, bool savedLater) {
  const QString file = record.dataFile.isEmpty() ? QStringLiteral("（新規作成・未保存）")
                                                 : QDir::toNativeSeparators(record.dataFile);
  QString text = QStringLiteral("前回、保存されずに終了した変更があります。復元しますか？\nファイル：%1\n日時：%2")
                     .arg(file, record.time.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
  if (savedLater) text += QStringLiteral("\nこのファイルは、この変更より後に保存されています。");
  return text;
}

LeftCopy::LeftCopy(QString folder, QString name, std::unique_ptr<QLockFile> lock, RecoveryRecord record)
    : folder_(std::move(folder)), name_(std::move(name)), lock_(std::move(lock)), record_(std::move(record)) {}
LeftCopy::LeftCopy(LeftCopy&&) noexcept = default;
LeftCopy& LeftCopy::operator=(LeftCopy&&) noexcept = default;
LeftCopy::~LeftCopy() = default;

QString LeftCopy::CopyPath() const { return PathOf(folder_, name_, kCopySuffix); }

bool LeftCopy::SavedLater() const {
  if (record_.dataFile.isEmpty()) return false;
  const QFileInfo file(record_.dataFile);
  return file.exists() && file.lastModified() > record_.time;
}

void LeftCopy::Discard() {
  if (!lock_) return;
  RemoveCopyFiles(folder_, name_);
  lock_.reset();  // unlocking removes the lock file
}

std::vector<LeftCopy> FindLeftCopies(const QString& folder) {
  QStringList names;
  for (const QString& file : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
    const QString name = file.section('.', 0, 0);
    if (!name.isEmpty() && !names.contains(name)) names << name;
  }
  std::vector<LeftCopy> copies;
  for (const QString& name : names) {
    std::unique_ptr<QLockFile> lock = LockOf(folder, name);
    if (!lock->tryLock(0)) continue;  // its program still runs
    const QFileInfo copy(PathOf(folder, name, kCopySuffix));
    if (!copy.isFile()) {
      RemoveCopyFiles(folder, name);  // remains of a program that ended
      continue;
    }
    QByteArray bytes;
    ReadFileBytes(PathOf(folder, name, kRecordSuffix), &bytes);
    RecoveryRecord record = RecoveryRecord::FromBytes(bytes);
    if (!record.time.isValid()) record.time = copy.lastModified();
    copies.emplace_back(folder, name, std::move(lock), std::move(record));
  }
  std::sort(copies.begin(), copies.end(),
            [](const LeftCopy& a, const LeftCopy& b) { return a.Record().time > b.Record().time; });
  return copies;
}

struct RecoveryCopies::State {
  QString folder;
  QString name;  // empty until the first copy
  std::unique_ptr<QLockFile> lock;
  std::atomic<quint64> latestWrite{0};

  // A name of this program's own, locked: taken for the first copy.
  bool Claim() {
    if (lock) return true;
    if (!QDir().mkpath(folder)) return false;
    const QString base = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-")) +
                         QString::number(QCoreApplication::applicationPid());
    for (int n = 1; n <= 100; ++n) {
      const QString candidate = n == 1 ? base : QStringLiteral("%1-%2").arg(base).arg(n);
      if (QFileInfo::exists(PathOf(folder, candidate, kCopySuffix))) continue;
      std::unique_ptr<QLockFile> candidateLock = LockOf(folder, candidate);
      if (!candidateLock->tryLock(0)) continue;
      name = candidate;
      lock = std::move(candidateLock);
      return true;
    }
    return false;
  }

  void WriteCopy(RecoverySnapshot snapshot) {
    Lines lines = WithTyping(std::move(snapshot.lines), snapshot.typing);
    if (lines == snapshot.saved) {
      RemoveCopy();
      return;
    }
    const QByteArray bytes = JoinLines(lines);
    // The document's storage is given back before the disk is waited for,
    // so that a change meanwhile does not have to copy it.
    lines = Lines();
    snapshot.saved = Lines();
    if (!Claim()) return;
    const RecoveryRecord record{snapshot.dataFile, QDateTime::currentDateTimeUtc(), QCoreApplication::applicationPid()};
    if (WriteFileSafely(PathOf(folder, name, kCopySuffix), bytes)) {
      WriteFileSafely(PathOf(folder, name, kRecordSuffix), record.ToBytes());
    }
  }

  void RemoveCopy() {
    if (!name.isEmpty()) RemoveCopyFiles(folder, name);
  }
};

RecoveryCopies::RecoveryCopies(const QString& folder) : state_(std::make_shared<State>()) {
  state_->folder = folder;
  worker_.setMaxThreadCount(1);  // one job after another, in order
}

RecoveryCopies::~RecoveryCopies() {
  worker_.start([state = state_, keep = keep_] {
    if (!keep) state->RemoveCopy();
    state->lock.reset();
  });
  Wait();
}

void RecoveryCopies::Write(RecoverySnapshot snapshot) {
  const quint64 number = ++state_->latestWrite;
  worker_.start([state = state_, number, snapshot = std::move(snapshot)]() mutable {
    if (number == state->latestWrite) state->WriteCopy(std::move(snapshot));
  });
}

void RecoveryCopies::Remove() {
  worker_.start([state = state_] { state->RemoveCopy(); });
}

void RecoveryCopies::Adopt(LeftCopy&& copy) {
  Wait();  // the worker is idle: its state can change here
  state_->RemoveCopy();
  state_->name = copy.name_;
  state_->lock = std::move(copy.lock_);
}

void RecoveryCopies::Wait() { worker_.waitForDone(); }
