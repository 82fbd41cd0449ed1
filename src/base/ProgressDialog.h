#pragma once
// The window's side of a long loop: the loop runs on a worker thread while
// a modal progress dialog shows its reports, so every window keeps
// repainting and moving; "ｷｬﾝｾﾙ" asks the loop to stop before its next step.

#include <QString>
#include <functional>

#include "base/Progress.h"

class QWidget;

// What the dialog says.
struct ProgressTexts {
  QString title;  // window title
  QString label;  // %1 the step under way (from 1), %2 the number of steps
};

inline constexpr char kProgressCancelText[] = "ｷｬﾝｾﾙ";

// Runs `loop` on a worker thread with the dialog up over `parent` from the
// start, and returns once the loop has returned; an exception it throws is
// thrown on here. Cancelling only asks the loop to stop: the dialog, and the
// modality that keeps every other window from input, stay until it has.
// With `steps` of 1 or fewer there is nothing to show and the loop runs here
// at once. The loop must not touch widgets, and what it reads must not
// change while it runs, which the modal dialog sees to.
void RunWithProgress(QWidget* parent, const ProgressTexts& texts, int steps,
                     const std::function<void(Progress&)>& loop);
