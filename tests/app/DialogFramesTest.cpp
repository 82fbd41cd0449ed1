// Every dialog with a fixed border: its size cannot change and its title
// bar offers a close box (none on the about box), never a minimise or
// maximise box.
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "base/Mainsub.h"
#include "app/Version.h"
#include "document/Teladd.h"
#include "keylabels/Keylabel.h"
#include "print/Adjust.h"
#include "view/Search.h"

TEST(DialogFrames, FixedDialogsOfferOnlyACloseBox) {
  QTemporaryDir dir;
  TSettings settings(dir.path());
  struct Dialog {
    const char* title;
    std::function<std::unique_ptr<QDialog>()> make;
    QSize size;
    bool closeBox;
  } dialogs[] = {
      {"示名条の作成", [&] { return std::make_unique<TFTelAdd>(settings); }, {442, 336}, true},
      {"キーラベル設定", [&] { return std::make_unique<TFKeyLabel>(settings); }, {518, 506}, true},
      {"バージョン情報", [] { return std::make_unique<TFVersion>(); }, {400, 246}, false},
      {"プリンタの微調整", [&] { return std::make_unique<TFAdjust>(settings); }, {321, 290}, true},
      {"検索", [&] { return std::make_unique<TFSearch>(settings); }, {424, 110}, true},
  };
  for (const Dialog& d : dialogs) {
    SCOPED_TRACE(d.title);
    const std::unique_ptr<QDialog> dialog = d.make();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(d.title));
    EXPECT_EQ(dialog->minimumSize(), d.size);
    EXPECT_EQ(dialog->maximumSize(), d.size);
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));  // only the boxes named
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_EQ(flags.testFlag(Qt::WindowCloseButtonHint), d.closeBox);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  }
}
