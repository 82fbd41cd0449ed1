#pragma once
// Only one copy of the program runs per user: a lock file named after the
// program's mutex in the user's runtime folder. A lock left by a run that
// was killed names a process that no longer exists and is taken over.

#include <QLockFile>
#include <QString>
#include <memory>

class SingleInstance {
 public:
  // The lock in the user's runtime folder.
  SingleInstance();
  // The lock at a given path (tests).
  explicit SingleInstance(const QString& lockPath);

  // True when this process now holds the lock; false when another live
  // process holds it.
  bool TryAcquire();
  void Release();

  static QString DefaultLockPath();

 private:
  std::unique_ptr<QLockFile> lock_;
};
