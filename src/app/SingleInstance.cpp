#include "app/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {

const QByteArray kAnswer = "ok\n";

}  // namespace

SingleInstance::SingleInstance() : SingleInstance(DefaultLockPath()) {}

SingleInstance::SingleInstance(const QString& lockPath)
    : lock_(std::make_unique<QLockFile>(lockPath)),
      socketPath_(QFileInfo(lockPath).dir().filePath(QStringLiteral("labelkobo.socket"))) {
  // Never taken over by age: only a lock whose process is gone is stale.
  lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() { Release(); }

bool SingleInstance::TryAcquire() {
  if (!lock_->tryLock(0)) return false;
  Listen();
  return true;
}

void SingleInstance::Release() {
  if (server_) {
    server_->close();
    delete server_;
    server_ = nullptr;
  }
  lock_->unlock();
}

void SingleInstance::Listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // Holding the lock, this is the only copy: a socket left by a killed run
  // is stale.
  QLocalServer::removeServer(socketPath_);
  server_->listen(socketPath_);
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      ReadRequest(socket);
    }
  });
}

void SingleInstance::ReadRequest(QLocalSocket* socket) {
  if (!socket->canReadLine()) {
    // Nothing but a path is expected: a stream without a line end that
    // grows beyond any path is cut off.
    if (socket->bytesAvailable() > kMaxRequest) socket->abort();
    return;
  }
  const QByteArray line = socket->readLine(kMaxRequest + 1);
  const QString path = QString::fromUtf8(line).trimmed();
  socket->write(kAnswer);
  socket->disconnectFromServer();
  // Queued: see FileHandedOver.
  if (path.isEmpty()) {
    QMetaObject::invokeMethod(this, &SingleInstance::FrontRequested, Qt::QueuedConnection);
  } else {
    QMetaObject::invokeMethod(this, [this, path] { emit FileHandedOver(path); }, Qt::QueuedConnection);
  }
}

bool SingleInstance::HandOver(const QString& path, int timeoutMs) const {
  if (path.isEmpty()) return false;
  return Send(QFileInfo(path).absoluteFilePath().toUtf8() + '\n', timeoutMs);
}

bool SingleInstance::AskToFront(int timeoutMs) const { return Send(QByteArray("\n"), timeoutMs); }

bool SingleInstance::Send(const QByteArray& request, int timeoutMs) const {
  if (request.size() > kMaxRequest) return false;
  QDeadlineTimer deadline(timeoutMs);
  // The running copy may still be starting: it listens right after taking
  // the lock, so a short wait is enough.
  QLocalSocket socket;
  while (true) {
    socket.connectToServer(socketPath_);
    if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) break;
    if (deadline.hasExpired()) return false;
    QThread::msleep(100);
  }
  socket.write(request);
  if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return false;
  QByteArray answer;
  while (!answer.endsWith('\n')) {
    if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) return false;
    answer += socket.readAll();
  }
  return answer == kAnswer;
}

QString SingleInstance::DefaultLockPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  QDir().mkpath(folder);
  return QDir(folder).filePath(QStringLiteral("VRD5S.exe.lock"));
}
