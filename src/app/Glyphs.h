#pragma once
// The tool bar glyphs and the TrueType sign of the font list, drawn by the
// program itself.

#include <QIcon>
#include <QPixmap>

// A 16 x 16 glyph for the tool button of that name ("ToolButtonNew"...).
QIcon ToolbarGlyph(const QString& buttonName);
// The sign drawn before TrueType (scalable) families in the font list.
QPixmap TrueTypeSign();
