// Every dialog with a fixed border: its size cannot change and its title
// bar offers a close box (none on the about box), never a minimise or
// maximise box.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/Mainsub.h"
#include "app/Version.h"
#include "document/Teladd.h"
#include "keylabels/Keylabel.h"
#include "print/Adjust.h"
#include "view/Search.h"

TEST(DialogFrames, FixedDialogsOfferOnlyACloseBox) {
  QTemporaryDir dir;
  TSettings settings(dir.path());
  TFTelAdd telAdd(settings);
  TFKeyLabel keyLabel(settings);
  TFVersion version;
  TFAdjust adjust(settings);
  TFSearch search(settings);
  const struct {
    QDialog* dialog;
    QSize size;
    bool closeBox;
  } dialogs[] = {{&telAdd, {442, 336}, true}, {&keyLabel, {518, 506}, true}, {&version, {400, 246}, false},
                 {&adjust, {321, 290}, true}, {&search, {424, 110}, true}};
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.dialog->windowTitle().toStdString());
    EXPECT_EQ(d.dialog->minimumSize(), d.size);
    EXPECT_EQ(d.dialog->maximumSize(), d.size);
    const Qt::WindowFlags flags = d.dialog->windowFlags();
    EXPECT_TRUE(flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint));  // only the boxes named
    EXPECT_EQ(flags.testFlag(Qt::WindowCloseButtonHint), d.closeBox);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  }
}
