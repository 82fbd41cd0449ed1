#include "base/Mainsub.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>

#include "base/PrintSystem.h"

namespace {

QString WithSeparator(QString folder) {
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

}  // namespace

TSettings::TSettings() : TSettings(QCoreApplication::applicationDirPath()) {}

TSettings::TSettings(const QString& programFolder)
    : programFolder_(WithSeparator(QDir::cleanPath(programFolder))),
      ini_(std::make_unique<IniFile>(programFolder_ + kFileName)) {}

QString TSettings::CurrentPrinterName() const { return PrintSystem::Current().CurrentPrinterName(); }

const QStringList& SubstitutedFontNames() {
  static const QStringList names = {QStringLiteral("ＭＳ 明朝"), QStringLiteral("ＭＳ Ｐ明朝"),
                                    QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ Ｐゴシック")};
  return names;
}

QString DataFontName(const QString& family) {
  for (const QString& name : SubstitutedFontNames()) {
    if (QFont::substitutes(name).contains(family, Qt::CaseInsensitive)) return name;
  }
  return family;
}

void RegisterFontSubstitutes() {
  QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), {QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝")});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), {QStringLiteral("IPAPMincho"), QStringLiteral("IPA P明朝")});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
}
