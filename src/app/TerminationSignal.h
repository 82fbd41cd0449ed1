#pragma once
// SIGTERM, as a desktop session sends it on logging out, turned into a Qt
// signal on the user-interface thread. The signal handler only writes a
// byte into a socket pair; a socket notifier reads it in the event loop.

#include <QObject>

class QSocketNotifier;

class TerminationSignal : public QObject {
  Q_OBJECT
 public:
  // Catches SIGTERM from now on; the default action comes back when this
  // object goes.
  explicit TerminationSignal(QObject* parent = nullptr);
  ~TerminationSignal() override;

 signals:
  void Received();

 private:
  QSocketNotifier* notifier_ = nullptr;
};
