#pragma once
// Window placement kept in the settings file, section "Position".

#include <QString>

class QWidget;
class TSettings;

// Placement values read from the settings file, held to what a window
// geometry can take: sizes 0 ... QWIDGETSIZE_MAX, positions within the same
// distance either side of 0, so that sums of position and size cannot
// overflow. Values in that range are applied as read.
int ClampedSize(int value);
int ClampedPosition(int value);

// Dialogs keep only their top-left corner (default 100, 100).
void RestoreDialogPosition(QWidget* dialog, const TSettings& settings, const QString& topKey,
                           const QString& leftKey);
void SaveDialogPosition(const QWidget* dialog, TSettings& settings, const QString& topKey,
                        const QString& leftKey);

// Windows keep position, size and state under prefix + "Top", "Left",
// "Width", "Height" and "WState" (0 normal, 1 minimised, 2 maximised).
struct WindowPlacementDefaults {
  int top = 0;
  int left = 0;
  int width = 0;
  int height = 0;
  int state = 0;
};

// Applies the saved normal position and size, then the saved state. The
// state is applied as the window is shown (showing a window shows it in the
// state set here).
void RestoreWindowPlacement(QWidget* window, const TSettings& settings, const QString& prefix,
                            const WindowPlacementDefaults& defaults);
// Writes the position and size only while the window is in the normal state,
// so a maximised or minimised window keeps its last normal placement; the
// state is always written.
void SaveWindowPlacement(const QWidget* window, TSettings& settings, const QString& prefix);

// Window state as stored: 0 normal, 1 minimised, 2 maximised.
int StoredWindowState(const QWidget* window);
