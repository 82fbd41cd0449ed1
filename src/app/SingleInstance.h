#pragma once
// Only one copy of the program runs per user: a lock file named after the
// program's mutex in the user's runtime folder. A lock left by a run that
// was killed names a process that no longer exists and is taken over.
//
// The running copy listens on a local socket beside the lock, so that a
// second start can hand it a file to open: the second start sends the
// file's absolute path as one line of UTF-8 and waits for "ok"; an empty
// line asks the running copy to come to the front.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // The lock in the user's runtime folder.
  SingleInstance();
  // The lock at a given path (tests); the socket lies beside it.
  explicit SingleInstance(const QString& lockPath);
  ~SingleInstance() override;

  // True when this process now holds the lock, and then listens for files
  // handed over; false when another live process holds it.
  bool TryAcquire();
  void Release();

  // From a second start: hands `path` to the copy that holds the lock.
  // True once that copy has taken it.
  bool HandOver(const QString& path, int timeoutMs = 5000) const;
  // From a second start without a file: asks the running copy to come to
  // the front. True once it has taken the request.
  bool AskToFront(int timeoutMs = 500) const;

  static QString DefaultLockPath();
  // The longest path a second start may hand over, in bytes.
  static constexpr int kMaxRequest = 64 * 1024;

 signals:
  // A second start handed over a file, or asked for the window. Both are
  // emitted from the event loop after the socket's own handler has ended,
  // never from inside it: whatever they start (a question, a dialog) runs
  // an event loop of its own, in which the socket must not be reentered.
  void FileHandedOver(const QString& path);
  void FrontRequested();

 private:
  void Listen();
  void ReadRequest(QLocalSocket* socket);
  bool Send(const QByteArray& request, int timeoutMs) const;

  std::unique_ptr<QLockFile> lock_;
  QString socketPath_;
  QLocalServer* server_ = nullptr;
};
