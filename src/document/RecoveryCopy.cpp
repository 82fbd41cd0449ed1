#include "document/RecoveryCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <algorithm>
#include <pwd.h>
#include <unistd.h>

#include "base/LineIO.h"
#include "base/Prompts.h"
#include "document/StripDocument.h"

namespace {

const QString kCopySuffix = QStringLiteral(".VRD");
const QString kRecordSuffix = QStringLiteral(".record");
const QString kLockSuffix = QStringLiteral(".lock");
const QString kTemporaryInfix = QStringLiteral(".tmp");

QString PathOf(const QString& folder, const QString& name, const QString& suffix) {
  return QDir(folder).filePath(name + suffix);
}

// A lock that only the end of its process gives up, never its age.
std::unique_ptr<QLockFile> LockOf(const QString& folder, const QString& name) {
  auto lock = std::make_unique<QLockFile>(PathOf(folder, name, kLockSuffix));
  lock->setStaleLockTime(0);
  return lock;
}

QLockFile::LockError TryLock(QLockFile& lock) { return lock.tryLock(0) ? QLockFile::NoError : lock.error(); }

// What the writes of a program cut short left behind.
void RemoveTemporaryFiles(const QString& folder, const QString& name) {
  const QDir dir(folder);
  const QStringList patterns{name + kCopySuffix + kTemporaryInfix + '*', name + kRecordSuffix + kTemporaryInfix + '*'};
  for (const QString& file : dir.entryList(patterns, QDir::Files | QDir::Hidden)) QFile::remove(dir.filePath(file));
}

// The copy before its record, so that no moment leaves a copy without it.
void RemoveCopyFiles(const QString& folder, const QString& name) {
  QFile::remove(PathOf(folder, name, kCopySuffix));
  QFile::remove(PathOf(folder, name, kRecordSuffix));
  RemoveTemporaryFiles(folder, name);
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

CopyFacts FactsOf(const QString& folder, const QString& name) {
  const QFileInfo copy(PathOf(folder, name, kCopySuffix));
  CopyFacts facts;
  QByteArray bytes;
  if (ReadFileBytes(PathOf(folder, name, kRecordSuffix), &bytes)) facts.record = RecoveryRecord::FromBytes(bytes);
  facts.time = copy.lastModified();
  facts.fileOwner = copy.ownerId();
  return facts;
}

QString TimeText(const QDateTime& time) {
  return time.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QString ReasonText(const WithheldCopy& copy) {
  switch (copy.reason) {
    case WithheldCopy::Reason::kInUse: return QStringLiteral("使用中");
    case WithheldCopy::Reason::kCannotLock: return QStringLiteral("空き容量不足などで開けません");
    case WithheldCopy::Reason::kOtherOwner: break;
  }
  const std::optional<RecoveryRecord>& record = copy.facts.record;
  if (!record || record->user.isEmpty()) return QStringLiteral("ほかのユーザーの変更");
  return QStringLiteral("%1@%2 の変更").arg(record->user, record->host);
}

}  // namespace

RecoveryOwner RecoveryOwner::ThisProgram() {
  RecoveryOwner owner;
  owner.uid = ::getuid();
  const passwd* account = ::getpwuid(owner.uid);
  owner.user = account ? QString::fromLocal8Bit(account->pw_name) : QString::number(owner.uid);
  owner.host = QSysInfo::machineHostName();
  return owner;
}

QByteArray RecoveryRecord::ToBytes() const {
  return "file=" + Escaped(dataFile) + "\nuser=" + Escaped(user) + "\nhost=" + Escaped(host) +
         "\nprocess=" + QByteArray::number(process) + '\n';
}

std::optional<RecoveryRecord> RecoveryRecord::FromBytes(const QByteArray& bytes) {
  RecoveryRecord record;
  bool namesFile = false;
  for (const QByteArray& line : bytes.split('\n')) {
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) continue;
    const QByteArray key = line.left(equals);
    const QString value = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(equals + 1).trimmed()));
    if (key == "file") {
      record.dataFile = value;
      namesFile = true;
    }
    if (key == "user") record.user = value;
    if (key == "host") record.host = value;
    if (key == "process") record.process = value.toLongLong();
  }
  if (!namesFile) return std::nullopt;
  return record;
}

QString CopyFacts::FileLabel() const {
  if (!record) return QStringLiteral("（ファイル名不明）");
  if (record->dataFile.isEmpty()) return QStringLiteral("（新規作成・未保存）");
  return QDir::toNativeSeparators(record->dataFile);
}

bool CopyFacts::WrittenBy(const RecoveryOwner& owner) const {
  // Records of earlier versions name no user: the copy's file owner decides.
  if (!record || record->user.isEmpty()) return fileOwner == owner.uid;
  return record->user == owner.user && record->host == owner.host;
}

LeftCopy::LeftCopy(QString folder, QString name, std::unique_ptr<QLockFile> lock, CopyFacts facts)
    : folder_(std::move(folder)), name_(std::move(name)), lock_(std::move(lock)), facts_(std::move(facts)) {}
LeftCopy::LeftCopy(LeftCopy&&) noexcept = default;
LeftCopy& LeftCopy::operator=(LeftCopy&&) noexcept = default;
LeftCopy::~LeftCopy() = default;

QString LeftCopy::CopyPath() const { return PathOf(folder_, name_, kCopySuffix); }

bool LeftCopy::SavedLater() const {
  if (DataFile().isEmpty()) return false;
  const QFileInfo file(DataFile());
  return file.exists() && file.lastModified() > facts_.time;
}

void LeftCopy::Discard() {
  if (!lock_) return;
  RemoveCopyFiles(folder_, name_);
  lock_.reset();  // unlocking removes the lock file
}

FoundCopies FindLeftCopies(const QString& folder, const RecoveryOwner& me, const LockAttempt& attempt) {
  QStringList names;
  for (const QString& file : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
    const QString name = file.section('.', 0, 0);
    if (!name.isEmpty() && !names.contains(name)) names << name;
  }
  FoundCopies found;
  for (const QString& name : names) {
    const bool hasCopy = QFileInfo(PathOf(folder, name, kCopySuffix)).isFile();
    std::unique_ptr<QLockFile> lock = LockOf(folder, name);
    const QLockFile::LockError locked = attempt ? attempt(*lock) : TryLock(*lock);
    if (locked != QLockFile::NoError) {
      // Its program still runs, here or on another host, or the lock
      // cannot be made (a full disk): told of, never touched.
      if (!hasCopy) continue;
      CopyFacts facts = FactsOf(folder, name);
      const auto reason = !facts.WrittenBy(me)                    ? WithheldCopy::Reason::kOtherOwner
                          : locked == QLockFile::LockFailedError ? WithheldCopy::Reason::kInUse
                                                                 : WithheldCopy::Reason::kCannotLock;
      found.withheld.push_back({reason, std::move(facts)});
      continue;
    }
    RemoveTemporaryFiles(folder, name);  // the writes of a program that has ended
    if (!hasCopy) {
      RemoveCopyFiles(folder, name);  // a record alone holds no work
      continue;
    }
    CopyFacts facts = FactsOf(folder, name);
    if (!facts.WrittenBy(me)) {
      found.withheld.push_back({WithheldCopy::Reason::kOtherOwner, std::move(facts)});
      continue;  // its lock goes with the object; the copy is its owner's
    }
    found.offered.emplace_back(folder, name, std::move(lock), std::move(facts));
  }
  std::sort(found.offered.begin(), found.offered.end(),
            [](const LeftCopy& a, const LeftCopy& b) { return a.Facts().time > b.Facts().time; });
  return found;
}

QString RecoveryQuestion(const LeftCopy& copy) {
  QString text = QStringLiteral("前回、保存されずに終了した変更があります。復元しますか？\nファイル：%1\n日時：%2")
                     .arg(copy.Facts().FileLabel(), TimeText(copy.Facts().time));
  if (copy.SavedLater()) text += QStringLiteral("\nこのファイルは、この変更より後に保存されています。");
  return text;
}

QString DiscardConfirmation(const LeftCopy& copy) {
  return QStringLiteral("保存されずに終了した変更を削除します。よろしいですか？\nファイル：%1\n日時：%2")
      .arg(copy.Facts().FileLabel(), TimeText(copy.Facts().time));
}

RecoveryChoice AskAboutCopy(const LeftCopy& copy) {
  for (;;) {
    const PromptAnswer answer = Prompts::Confirm(RecoveryQuestion(copy), PromptButtons::YesNoLater);
    if (answer == PromptAnswer::Yes) return RecoveryChoice::kRecover;
    if (answer != PromptAnswer::No) return RecoveryChoice::kLater;
    // A "いいえ" taken back asks the question again.
    if (Prompts::Confirm(DiscardConfirmation(copy), PromptButtons::YesNo, PromptAnswer::No) == PromptAnswer::Yes) {
      return RecoveryChoice::kDiscard;
    }
  }
}

QString WithheldCopiesLine(const std::vector<WithheldCopy>& withheld) {
  if (withheld.empty()) return {};
  QStringList items;
  for (const WithheldCopy& copy : withheld) {
    const QString file = copy.facts.record && !copy.facts.record->dataFile.isEmpty()
                             ? QFileInfo(copy.facts.record->dataFile).fileName()
                             : copy.facts.FileLabel();
    items << QStringLiteral("%1（%2）").arg(file, ReasonText(copy));
  }
  return QStringLiteral("今は復元できない変更：") + items.join(QStringLiteral("、"));
}

QString WithheldCopiesDetails(const std::vector<WithheldCopy>& withheld) {
  QStringList lines;
  for (const WithheldCopy& copy : withheld) {
    lines << QStringLiteral("%1　%2　%3").arg(copy.facts.FileLabel(), TimeText(copy.facts.time), ReasonText(copy));
  }
  return lines.join('\n');
}

struct RecoveryCopies::State {
  QString folder;
  RecoveryOwner owner;
  QString name;  // empty until the first copy
  std::unique_ptr<QLockFile> lock;
  // The record on disk, as this program last wrote or adopted it.
  std::optional<RecoveryRecord> record;
  std::atomic<quint64> latestWrite{0};

  // A name of this program's own, locked: taken for the first copy.
  bool Claim() {
    if (lock) return true;
    if (!QDir().mkpath(folder)) return false;
    const QString base = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-")) +
                         QString::number(QCoreApplication::applicationPid());
    for (int n = 1; n <= 100; ++n) {
      const QString candidate = n == 1 ? base : QStringLiteral("%1-%2").arg(base).arg(n);
      if (QFileInfo::exists(PathOf(folder, candidate, kCopySuffix)) ||
          QFileInfo::exists(PathOf(folder, candidate, kRecordSuffix))) {
        continue;
      }
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
    // The record first: a failed or cut short write of it leaves the unit
    // before as it was; a copy is renamed into place only under it.
    const RecoveryRecord current{snapshot.dataFile, owner.user, owner.host, QCoreApplication::applicationPid()};
    if (record != current) {
      if (!WriteFileSafely(PathOf(folder, name, kRecordSuffix), current.ToBytes())) return;
      record = current;
    }
    WriteFileSafely(PathOf(folder, name, kCopySuffix), bytes);
  }

  void RemoveCopy() {
    if (name.isEmpty()) return;
    RemoveCopyFiles(folder, name);
    record.reset();
  }
};

RecoveryCopies::RecoveryCopies(const QString& folder, const RecoveryOwner& owner) : state_(std::make_shared<State>()) {
  state_->folder = folder;
  state_->owner = owner;
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
  state_->record = copy.facts_.record;
}

void RecoveryCopies::Wait() { worker_.waitForDone(); }
