#pragma once
// The frame of a dialog with a fixed border: a title bar with a close box
// and neither a minimise nor a maximise box, and a size that the window
// manager is told cannot change.

#include <QSize>
#include <Qt>

class QDialog;

enum class CloseBox { Shown, None };

// Fixes the dialog's size (minimum = maximum) and sets its title bar;
// `extra` adds flags such as staying on top. Call before the dialog is
// first shown.
void MakeFixedDialog(QDialog* dialog, QSize size, Qt::WindowFlags extra = {}, CloseBox closeBox = CloseBox::Shown);
