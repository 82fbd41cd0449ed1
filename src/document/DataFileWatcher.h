#pragma once
// Tells when the open data file may have changed on disk. Watches the file
// and its folder (a save by another program replaces the file by a new
// one, which a watch on the old file alone would lose) and reports once a
// burst of changes has settled; whether the bytes really changed is for
// FileSession::ReviewDiskChange to find out.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

class DataFileWatcher : public QObject {
  Q_OBJECT
 public:
  explicit DataFileWatcher(QObject* parent = nullptr);

  // Watches `path` from now on; an empty path watches nothing.
  void Watch(const QString& path);
  static constexpr int kSettleMs = 400;

 signals:
  void Changed();

 private:
  void Seen(const QString& path);

  QFileSystemWatcher watcher_;
  QTimer settle_;
  QString path_;
};
