#pragma once
// Where a file dialog opens.

#include <QString>

// The folder a file dialog opens in: the folder the form asks for when it
// exists, else the folder last chosen in a file dialog, else the user's
// documents folder (the home folder when there is none).
QString DialogStartFolder(const QString& wanted, const QString& lastUsed);
