#include "print/PreviewBar.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "view/CanvasImage.h"

namespace {

// A button of the bar with its hint: the short part as tool tip, the long
// part for the status line.
QPushButton* BarButton(QWidget* bar, const QString& name, const QString& caption, const QString& hint) {
  auto* button = new QPushButton(caption, bar);
  button->setObjectName(name);
  button->setFixedSize(70, 20);
  button->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
  button->setStatusTip(hint.section(QLatin1Char('|'), 1));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

PreviewControls BuildPreviewControls(QDialog* dialog) {
  PreviewControls c;
  auto* bar = new QWidget(dialog);
  bar->setFixedHeight(30);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(8, 5, 8, 5);
  row->setSpacing(6);
  c.ButtonPrint = BarButton(bar, QStringLiteral("ButtonPrint"), QStringLiteral("印刷"),
                            QStringLiteral("印刷|印刷を開始します"));
  c.ButtonPrint->setDefault(true);
  c.ButtonPrev = BarButton(bar, QStringLiteral("ButtonPrev"), QStringLiteral("<<前ﾍﾟｰｼﾞ"),
                           QStringLiteral("前ﾍﾟｰｼﾞ|前ﾍﾟｰｼﾞに戻ります"));
  c.ButtonNext = BarButton(bar, QStringLiteral("ButtonNext"), QStringLiteral("次ﾍﾟｰｼﾞ>>"),
                           QStringLiteral("次ﾍﾟｰｼﾞ|次ﾍﾟｰｼﾞに進みます"));
  c.ButtonClose = BarButton(bar, QStringLiteral("ButtonClose"), QStringLiteral("閉じる"),
                            QStringLiteral("閉じる|印刷ﾌﾟﾚﾋﾞｭｰを閉じます"));
  row->addWidget(c.ButtonPrint);
  row->addWidget(c.ButtonPrev);
  row->addWidget(c.ButtonNext);
  row->addStretch(1);
  row->addWidget(c.ButtonClose);
  QObject::connect(c.ButtonClose, &QPushButton::clicked, dialog, &QDialog::reject);

  c.ScrollBox1 = new QScrollArea(dialog);
  c.ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  c.ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  c.imgPage = new CanvasImage;
  c.imgPage->setObjectName(QStringLiteral("imgPage"));
  c.ScrollBox1->setWidget(c.imgPage);

  auto* column = new QVBoxLayout(dialog);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(bar);
  column->addWidget(c.ScrollBox1, 1);
  dialog->setMinimumSize(640, 480);
  return c;
}

PrintRunning::PrintRunning(QPushButton* button) : button_(button) { button_->setEnabled(false); }

PrintRunning::~PrintRunning() { button_->setEnabled(true); }
