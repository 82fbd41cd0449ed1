#pragma once
// The tool bar glyphs, drawn by the program itself (the TrueType sign of the
// font lists is in base/FontItemDelegate).

#include <QIcon>
#include <QPixmap>

// A 16 x 16 glyph for the tool button of that name ("ToolButtonNew"...).
QIcon ToolbarGlyph(const QString& buttonName);
