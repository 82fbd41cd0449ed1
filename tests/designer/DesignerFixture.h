#pragma once
// A designer window on an installed tree (PREFIX/bin, the shipped templates
// in PREFIX/share/labelkobo/templates, the user's templates in the data
// home), with scripted prompts; mouse input on the sheet in millimetres.

#include <QDir>
#include <QEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "designer/DesignSheet.h"
#include "designer/DesignerWindow.h"
#include "document/TemplateGrid.h"
#include "support/FakePrompts.h"
#include "support/TestFiles.h"

struct DesignerTest : ::testing::Test {
  QTemporaryDir root;
  FakePrompts prompts;
  FileLocations locations = Install(root);
  std::unique_ptr<DesignerWindow> window = std::make_unique<DesignerWindow>(locations, [] { return PrintAdjustment{}; });

  static FileLocations Install(const QTemporaryDir& root);
  QString Shipped(const QString& fileName) const;
  QString UserFile(const QString& fileName) const;
  // Answers every question with "はい".
  void AnswerYes(int count = 20);
};

void SendMouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void Click(DesignSheet* sheet, QPointF atMm, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void Drag(DesignSheet* sheet, QPointF fromMm, QPointF toMm);

// Columns of rows 38 x 9 mm keys numbered down, and fixed keys below.
GridDescription KeyGrid(int rows, int columns, QList<QByteArray> fixedTexts);
// The example telephone of the Ｔｅ series: 2 columns of 12 keys, 保留 and 転送.
StripTemplate Telephone();
