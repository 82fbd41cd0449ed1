#include "base/Mainsub.h"

#include <QFont>

#include "base/PrintSystem.h"

TSettings::TSettings() : TSettings(FileLocations::ForThisProgram()) {}

TSettings::TSettings(const QString& programFolder) : TSettings(FileLocations(programFolder)) {}

TSettings::TSettings(const FileLocations& locations) : locations_(locations) {
  locations_.MakeSettingsFolder();
  ini_ = std::make_unique<IniFile>(locations_.SettingsFile());
}

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

QString ChosenFontName(const QString& chosen, const QString& shown, const QString& held) {
  if (!held.isEmpty() && chosen.compare(shown, Qt::CaseInsensitive) == 0) return held;
  return DataFontName(chosen);
}

void RegisterFontSubstitutes() {
  QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), {QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝")});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), {QStringLiteral("IPAPMincho"), QStringLiteral("IPA P明朝")});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
}
