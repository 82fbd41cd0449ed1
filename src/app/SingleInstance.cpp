#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

SingleInstance::SingleInstance() : SingleInstance(DefaultLockPath()) {}

SingleInstance::SingleInstance(const QString& lockPath)
    : lock_(std::make_unique<QLockFile>(lockPath)) {
  // Never taken over by age: only a lock whose process is gone is stale.
  lock_->setStaleLockTime(0);
}

bool SingleInstance::TryAcquire() { return lock_->tryLock(0); }

void SingleInstance::Release() { lock_->unlock(); }

QString SingleInstance::DefaultLockPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  QDir().mkpath(folder);
  return QDir(folder).filePath(QStringLiteral("VRD5S.exe.lock"));
}
