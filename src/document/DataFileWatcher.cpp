#include "document/DataFileWatcher.h"

#include <QFileInfo>

DataFileWatcher::DataFileWatcher(QObject* parent) : QObject(parent) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &DataFileWatcher::Changed);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &DataFileWatcher::Seen);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &DataFileWatcher::Seen);
}

void DataFileWatcher::Watch(const QString& path) {
  const QString absolute = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
  if (absolute == path_ && (absolute.isEmpty() || watcher_.files().contains(absolute))) return;
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  settle_.stop();
  path_ = absolute;
  if (path_.isEmpty()) return;
  watcher_.addPath(QFileInfo(path_).absolutePath());
  if (QFileInfo::exists(path_)) watcher_.addPath(path_);
}

void DataFileWatcher::Seen(const QString&) {
  // A file replaced by another drops out of the watch: watch the new one.
  if (!watcher_.files().contains(path_) && QFileInfo::exists(path_)) watcher_.addPath(path_);
  settle_.start();
}
