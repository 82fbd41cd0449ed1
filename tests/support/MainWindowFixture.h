#pragma once
// The real main window for app tests: shown, active, in the detail view,
// with scripted prompts and a private settings folder. Header only, as
// only the app tests link the window.

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "app/Main.h"
#include "base/LineIO.h"
#include "support/FakePrompts.h"
#include "support/StripBuilder.h"
#include "view/StripView.h"

struct MainWindowFixture : ::testing::Test {
  QTemporaryDir dir;
  FakePrompts prompts;
  std::unique_ptr<TFMain> main = std::make_unique<TFMain>(dir.path());

  void SetUp() override {
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    main->Action("ActionShowDetail")->trigger();
  }
  void TearDown() override {
    main->Document().MarkSaved();  // no question about saving on close
    main.reset();
  }
  // Writes the lines as a data file and opens it.
  void OpenDocument(const Lines& lines) {
    const QString path = dir.filePath("site.VRD");
    ASSERT_TRUE(WriteLinesFile(path, lines));
    ASSERT_TRUE(main->OpenDataFile(path));
  }
  void Trigger(const char* action) { main->Action(QString::fromLatin1(action))->trigger(); }
  void ClickKey(int k) {
    KeyImage* face = main->View().Controls(k, kDetailView).face;
    QTest::mouseClick(face, Qt::LeftButton, Qt::NoModifier, face->rect().center());
  }
  QPlainTextEdit* Editor(int k) { return main->View().Editor(k); }
  // A size typed into the tool bar's size box over what it shows, and
  // confirmed with Enter when asked.
  void TypeSize(const QString& text, bool enter = false) {
    QLineEdit* edit = main->ComboBoxFontSize->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    if (enter) QTest::keyClick(edit, Qt::Key_Return);
  }
};
