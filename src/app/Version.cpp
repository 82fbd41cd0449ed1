#include "app/Version.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "base/DialogFrame.h"

#ifndef LABELKOBO_VERSION
#define LABELKOBO_VERSION ""
#endif

QString ProgramFileVersion() { return QStringLiteral(LABELKOBO_VERSION); }

namespace {

// The product logo: a strip with key cells beside the product name.
QPixmap DrawLogo() {
  QPixmap logo(235, 34);
  logo.fill(Qt::white);
  QPainter p(&logo);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(0, 0, 0, 34);
  band.setColorAt(0, QColor(0x2f, 0x5f, 0xa8));
  band.setColorAt(1, QColor(0x1b, 0x3a, 0x6e));
  p.setPen(Qt::NoPen);
  p.setBrush(band);
  p.drawRoundedRect(QRectF(0.5, 0.5, 44, 33), 4, 4);
  p.setBrush(Qt::white);
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 2; ++col) p.drawRect(QRectF(7 + col * 17, 5 + row * 7, 13, 5));
  }
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPixelSize(24);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(0x1b, 0x3a, 0x6e));
  p.drawText(QRect(54, 0, 181, 34), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("ラベル工房"));
  return logo;
}

QLabel* PlacedLabel(QWidget* parent, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->move(left, top);
  label->adjustSize();
  return label;
}

}  // namespace

QString VersionNumberOf(const QString& fileVersion) {
  if (fileVersion.isEmpty()) return {};
  const QStringList parts = fileVersion.split('.');
  auto part = [&](int i) { return i < parts.size() ? parts[i] : QString(); };
  return part(0) + '.' + part(1) + part(2);
}

QString VersionLineOf(const QString& fileVersion) {
  return QStringLiteral("Version ") + VersionNumberOf(fileVersion) + QStringLiteral("S ");
}

QString TFVersion::NoticeLine() {
  return QStringLiteral("Copyright (C) 2026 ラベル工房 開発チーム  All rights reserved.");
}

QString TFVersion::DescriptionText() {
  return QStringLiteral(
      "本製品は著作権法で保護されています。\n"
      "本製品の全部または一部を無断で\n"
      "複製・転載・頒布することは\n"
      "法律で禁じられています。\n");
}

TFVersion::TFVersion(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FVersion"));
  setWindowTitle(QStringLiteral("バージョン情報"));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);

  auto* logo = new QLabel(this);
  logo->setObjectName(QStringLiteral("Image2"));
  logo->setPixmap(DrawLogo());
  logo->setGeometry(24, 24, 235, 34);

  QFont lineFont(QStringLiteral("ＭＳ Ｐゴシック"));
  lineFont.setPixelSize(13);
  lineFont.setBold(true);
  lineFont.setItalic(true);
  LabelVersion = PlacedLabel(this, VersionLineOf(ProgramFileVersion()), 28, 72);
  LabelVersion->setObjectName(QStringLiteral("LabelVersion"));
  LabelVersion->setFont(lineFont);
  LabelVersion->adjustSize();
  LabelNotice = PlacedLabel(this, NoticeLine(), 28, 86);
  LabelNotice->setObjectName(QStringLiteral("LabelNotice"));
  LabelNotice->setFont(lineFont);
  LabelNotice->adjustSize();

  auto* shape = new QFrame(this);
  shape->setObjectName(QStringLiteral("Shape1"));
  shape->setFrameShape(QFrame::HLine);
  shape->setFrameShadow(QFrame::Sunken);
  shape->setGeometry(24, 110, 343, 2);

  LabelDiscription = new QLabel(DescriptionText(), this);
  LabelDiscription->setObjectName(QStringLiteral("LabelDiscription"));
  LabelDiscription->setGeometry(28, 130, 250, 60);
  LabelDiscription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont small(QStringLiteral("ＭＳ Ｐゴシック"));
  small.setPixelSize(12);
  LabelDiscription->setFont(small);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ButtonOk"));
  ok->setGeometry(292, 170, 75, 23);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  // Escape closes a QDialog as reject; both simply close the box. The
  // title bar carries no buttons.
  MakeFixedDialog(this, QSize(400, 246), {}, CloseBox::None);
}

void TFVersion::showEvent(QShowEvent* event) {
  setFixedSize(400, 246);
  QDialog::showEvent(event);
}

void TFVersion::ShowModal() { exec(); }
