#pragma once
// Finding and answering the progress dialog of a long loop from a test's
// timer while the loop runs.

#include <QProgressDialog>
#include <QPushButton>

// The progress dialog on screen, or nullptr.
QProgressDialog* ShownProgressDialog();
// Its "ｷｬﾝｾﾙ" button.
QPushButton* ProgressCancelButton(QProgressDialog* dialog);
