#include "base/DialogFrame.h"

#include <QDialog>

void MakeFixedDialog(QDialog* dialog, QSize size, Qt::WindowFlags extra, CloseBox closeBox) {
  // Without CustomizeWindowHint a window manager is free to add its default
  // boxes; with it the title bar carries only the boxes named here.
  Qt::WindowFlags flags =
      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint | extra;
  if (closeBox == CloseBox::Shown) flags |= Qt::WindowCloseButtonHint;
  dialog->setWindowFlags(flags);
  dialog->setFixedSize(size);
}
