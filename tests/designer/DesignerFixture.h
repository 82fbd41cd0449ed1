#pragma once
// A designer window on an installed tree (PREFIX/bin, the shipped templates
// in PREFIX/share/labelkobo/templates, the user's templates in the data
// home), with scripted prompts.

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "designer/DesignerWindow.h"
#include "support/FakePrompts.h"

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
