#include "app/ModalClose.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

uint32_t InternAtom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  const uint32_t atom = reply ? reply->atom : 0;
  std::free(reply);
  return atom;
}

// A dialog that will not close (a message box without an escape button)
// keeps the window open: after a second of tries the request is dropped.
constexpr int kTries = 50;
constexpr int kRetryMs = 20;

// Closes the modal dialogs, each once its nested event loop has returned,
// then the window.
void CloseBehindDialogs(QPointer<QWidget> window, int triesLeft) {
  if (!window || triesLeft == 0) return;
  if (QWidget* modal = QApplication::activeModalWidget()) {
    modal->close();
    QTimer::singleShot(kRetryMs, window, [window, triesLeft] { CloseBehindDialogs(window, triesLeft - 1); });
    return;
  }
  window->close();
}

}  // namespace

ModalCloseFilter::ModalCloseFilter(QWidget* window) : window_(window) {
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return;
  protocolsAtom_ = InternAtom(x11->connection(), "WM_PROTOCOLS");
  deleteWindowAtom_ = InternAtom(x11->connection(), "WM_DELETE_WINDOW");
  if (protocolsAtom_ == 0 || deleteWindowAtom_ == 0) return;
  qApp->installNativeEventFilter(this);
  installed_ = true;
}

ModalCloseFilter::~ModalCloseFilter() {
  if (installed_ && qApp) qApp->removeNativeEventFilter(this);
}

bool ModalCloseFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t" || !window_ || !QApplication::activeModalWidget()) return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
  const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
  // Only the close request for the main window itself; pings and every
  // other protocol message go on to Qt.
  if (client->format != 32 || client->type != protocolsAtom_ || client->data.data32[0] != deleteWindowAtom_ ||
      client->window != static_cast<xcb_window_t>(window_->winId())) {
    return false;
  }
  QTimer::singleShot(0, window_, [window = window_] { CloseBehindDialogs(window, kTries); });
  return true;
}
