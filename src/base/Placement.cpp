#include "base/Placement.h"

#include <QWidget>

#include "base/Mainsub.h"

#include <algorithm>

namespace {
const QString kSection = QStringLiteral("Position");
}

int ClampedSize(int value) { return std::clamp(value, 0, QWIDGETSIZE_MAX); }

int ClampedPosition(int value) { return std::clamp(value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); }

void RestoreDialogPosition(QWidget* dialog, const TSettings& settings, const QString& topKey,
                           const QString& leftKey) {
  const int top = ClampedPosition(settings.ReadInteger(kSection, topKey, 100));
  const int left = ClampedPosition(settings.ReadInteger(kSection, leftKey, 100));
  dialog->move(left, top);
}

void SaveDialogPosition(const QWidget* dialog, TSettings& settings, const QString& topKey,
                        const QString& leftKey) {
  settings.WriteInteger(kSection, topKey, dialog->pos().y());
  settings.WriteInteger(kSection, leftKey, dialog->pos().x());
}

int StoredWindowState(const QWidget* window) {
  Qt::WindowStates s = window->windowState();
  if (s & Qt::WindowMinimized) return 1;
  if (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) return 2;
  return 0;
}

void RestoreWindowPlacement(QWidget* window, const TSettings& settings, const QString& prefix,
                            const WindowPlacementDefaults& d) {
  // Values are applied as read, a size of 0 or a negative position included,
  // within what a geometry can hold.
  window->move(ClampedPosition(settings.ReadInteger(kSection, prefix + "Left", d.left)),
               ClampedPosition(settings.ReadInteger(kSection, prefix + "Top", d.top)));
  window->resize(ClampedSize(settings.ReadInteger(kSection, prefix + "Width", d.width)),
                 ClampedSize(settings.ReadInteger(kSection, prefix + "Height", d.height)));
  switch (settings.ReadInteger(kSection, prefix + "WState", d.state)) {
    case 1: window->setWindowState(Qt::WindowMinimized); break;
    case 2: window->setWindowState(Qt::WindowMaximized); break;
    default: window->setWindowState(Qt::WindowNoState); break;
  }
}

void SaveWindowPlacement(const QWidget* window, TSettings& settings, const QString& prefix) {
  const int state = StoredWindowState(window);
  if (state == 0) {
    settings.WriteInteger(kSection, prefix + "Top", window->pos().y());
    settings.WriteInteger(kSection, prefix + "Left", window->pos().x());
    settings.WriteInteger(kSection, prefix + "Width", window->width());
    settings.WriteInteger(kSection, prefix + "Height", window->height());
  }
  settings.WriteInteger(kSection, prefix + "WState", state);
}
