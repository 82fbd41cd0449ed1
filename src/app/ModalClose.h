#pragma once
// The main window's close box while a modal dialog is open.
//
// Qt drops the window manager's close request for a window that a modal
// dialog blocks, so with a preview or the key-label dialog open the main
// window's close box did nothing. This filter takes that request on X11,
// closes the modal dialogs one after another and then the main window,
// which asks about unsaved changes as on any close. Elsewhere (another
// platform, the tests' offscreen one) it does nothing.

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>
#include <cstdint>

class ModalCloseFilter : public QAbstractNativeEventFilter {
 public:
  explicit ModalCloseFilter(QWidget* window);
  ~ModalCloseFilter() override;
  ModalCloseFilter(const ModalCloseFilter&) = delete;
  ModalCloseFilter& operator=(const ModalCloseFilter&) = delete;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  QPointer<QWidget> window_;
  uint32_t protocolsAtom_ = 0;
  uint32_t deleteWindowAtom_ = 0;
  bool installed_ = false;
};
