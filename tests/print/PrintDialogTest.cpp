// The print dialog offers only what the jobs honour: the printer, copies,
// collate and, where asked for, a page range from and to.
#include <QApplication>
#include <QPrintDialog>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include "base/PrintSystem.h"

namespace {

// Shown to the user once the options are unfolded and its tab chosen.
bool Offered(const QWidget* control, const QWidget* dialog) {
  for (const QWidget* w = control; w && w != dialog; w = w->parentWidget()) {
    if (w->objectName() == QStringLiteral("QPrintSettingsOutput")) continue;  // folded by "Options"
    if (const auto* stack = qobject_cast<const QStackedWidget*>(w->parentWidget())) {
      if (stack->indexOf(const_cast<QWidget*>(w)) < 0) return false;
      continue;  // a tab page, shown when its tab is chosen
    }
    if (w->isHidden()) return false;
  }
  return control != nullptr;
}

}  // namespace

TEST(PrintDialog, OffersOnlyWhatTheJobsHonour) {
  struct Case {
    PrintDialogRequest request;
    bool range;
  } cases[] = {{{}, false}, {{1, 4}, true}};
  const char* const honoured[] = {"printers", "copies", "collate"};
  const char* const rangeControls[] = {"printAll", "printRange", "from", "to"};
  const char* const dropped[] = {"pagesRadioButton", "pagesLineEdit", "pageSetCombo", "reverse",
                                 "properties", "colorMode", "duplex", "filename"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.range);
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      ASSERT_TRUE(dialog);
      const auto offered = [&](const char* name) {
        return Offered(dialog->findChild<QWidget*>(QString::fromLatin1(name)), dialog);
      };
      for (const char* name : honoured) EXPECT_TRUE(offered(name)) << name;
      for (const char* name : rangeControls) EXPECT_EQ(offered(name), c.range) << name;
      for (const char* name : dropped) EXPECT_FALSE(offered(name)) << name;
      // What stays offered still reaches the choice.
      dialog->findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(3);
      dialog->accept();
    });
    const std::optional<PrintChoice> choice = PrintSystem::Current().ShowPrintDialog(c.request);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->copies, 3);
  }
}
