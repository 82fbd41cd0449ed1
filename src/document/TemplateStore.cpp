#include "document/TemplateStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "base/LineIO.h"
#include "base/Prompts.h"
#include "base/ShiftJis.h"
#include "document/StripRow.h"
#include "document/Template.h"
#include "document/TemplateCheck.h"

namespace {

const QString kForbiddenCharacters = QStringLiteral("/\\:*?\"<>|");

QString TypeOfFile(const QString& path) { return QFileInfo(path).fileName().section(QLatin1Char('.'), 0, 0); }

// Errors refuse; warnings are shown and asked about. True to go on.
bool AcceptCheck(const QString& fileName, const QList<TemplateFault>& faults) {
  if (const TemplateFault* error = FirstTemplateError(faults)) {
    Prompts::Error(QStringLiteral("テンプレート「%1」は使えません。%2").arg(fileName, error->Text()));
    return false;
  }
  if (faults.isEmpty()) return true;
  return Prompts::Confirm(QStringLiteral("テンプレート「%1」には次の警告があります。\n%2\n\nこのまま保存しますか？")
                              .arg(fileName, TemplateFaultLines(faults)),
                          PromptButtons::YesNo, PromptAnswer::No) == PromptAnswer::Yes;
}

}  // namespace

QString TemplateStore::NameProblem(const QString& stripType) {
  if (stripType.trimmed().isEmpty()) return QStringLiteral("タイプ名を入力してください。");
  if (stripType.contains(QLatin1Char('.'))) return QStringLiteral("タイプ名に「.」は使えません。");
  for (QChar c : stripType) {
    if (c.unicode() < 0x20 || kForbiddenCharacters.contains(c)) {
      return QStringLiteral("タイプ名に使えない文字が含まれています（/ \\ : * ? \" < > | など）。");
    }
  }
  if (stripType != stripType.trimmed()) return QStringLiteral("タイプ名の前後に空白は使えません。");
  if (!sjis::EncodeExactly(stripType)) return QStringLiteral("タイプ名にShift_JISにない文字が含まれています。");
  return {};
}

QString TemplateStore::UserPath(const QString& stripType) const {
  const QString existing = FindTemplateFile(UserFolder(), stripType);
  if (!existing.isEmpty()) return existing;
  return QDir(UserFolder()).filePath(stripType + QStringLiteral(".TPL"));
}

bool TemplateStore::IsShippedName(const QString& stripType) const {
  return locations_.IsShippedTemplate(UserPath(stripType));
}

bool TemplateStore::HasUserTemplate(const QString& stripType) const {
  return !FindTemplateFile(UserFolder(), stripType).isEmpty() && !IsShippedName(stripType);
}

bool TemplateStore::Save(const QString& stripType, const QByteArray& bytes) const {
  if (const QString problem = NameProblem(stripType); !problem.isEmpty()) {
    Prompts::Error(problem);
    return false;
  }
  if (IsShippedName(stripType)) {
    Prompts::Error(QStringLiteral("「%1」はプログラムに付属のテンプレートです。上書きできないので、別のタイプ名を付けてください。")
                       .arg(stripType));
    return false;
  }
  const QString path = UserPath(stripType);
  if (QFileInfo::exists(path) &&
      Prompts::Confirm(QStringLiteral("テンプレート「%1」はすでにあります。\n置き換えますか？").arg(QFileInfo(path).fileName()),
                       PromptButtons::YesNo, PromptAnswer::No) != PromptAnswer::Yes) {
    return false;
  }
  QDir().mkpath(UserFolder());
  if (!WriteFileSafely(path, bytes)) {
    Prompts::Error(QStringLiteral("テンプレート「%1」を保存できませんでした。").arg(QDir::toNativeSeparators(path)));
    return false;
  }
  return true;
}

bool TemplateStore::SaveChecked(const QString& stripType, const StripTemplate& model) const {
  if (const QString problem = NameProblem(stripType); !problem.isEmpty()) {
    Prompts::Error(problem);
    return false;
  }
  const QByteArray bytes = model.ToBytes();
  const QList<TemplateFault> faults = CheckTemplateBytes(bytes, sjis::Encode(stripType));
  if (!AcceptCheck(stripType + QStringLiteral(".TPL"), faults)) return false;
  return Save(stripType, bytes);
}

bool TemplateStore::Import(const QString& sourcePath) const {
  const QString fileName = QFileInfo(sourcePath).fileName();
  QByteArray bytes;
  if (!ReadFileBytes(sourcePath, &bytes)) {
    Prompts::Error(QStringLiteral("ファイル「%1」を読み込めません。").arg(QDir::toNativeSeparators(sourcePath)));
    return false;
  }
  const QString type = TypeOfFile(sourcePath);
  if (!IsTemplateFileName(fileName) || fileName.count(QLatin1Char('.')) != 1) {
    Prompts::Error(QStringLiteral("「%1」はテンプレートのファイル名ではありません（タイプ名.TPL）。").arg(fileName));
    return false;
  }
  if (!AcceptCheck(fileName, CheckTemplateBytes(bytes, sjis::Encode(type)))) return false;
  if (QFileInfo(sourcePath) == QFileInfo(UserPath(type))) {
    Prompts::Error(QStringLiteral("「%1」はすでにユーザーのテンプレートのフォルダーにあります。").arg(fileName));
    return false;
  }
  return Save(type, bytes);
}

bool TemplateStore::Remove(const QString& path) const {
  const QString fileName = QFileInfo(path).fileName();
  if (locations_.IsShippedTemplate(path)) {
    Prompts::Error(QStringLiteral("「%1」はプログラムに付属のテンプレートなので削除できません。").arg(fileName));
    return false;
  }
  if (Prompts::Confirm(QStringLiteral("テンプレートのファイル「%1」を削除します。\nよろしいですか？")
                           .arg(QDir::toNativeSeparators(path)),
                       PromptButtons::YesNo, PromptAnswer::No) != PromptAnswer::Yes) {
    return false;
  }
  if (!QFile::remove(path)) {
    Prompts::Error(QStringLiteral("「%1」を削除できませんでした。").arg(fileName));
    return false;
  }
  return true;
}

bool TemplateStore::Export(const QString& path, const QString& targetPath) {
  QByteArray bytes;
  if (!ReadFileBytes(path, &bytes) || !WriteFileSafely(targetPath, bytes)) {
    Prompts::Error(QStringLiteral("「%1」に書き出せませんでした。").arg(QDir::toNativeSeparators(targetPath)));
    return false;
  }
  return true;
}

QList<UnservedStripType> StripTypesWithoutTemplate(const StripDocument& document, const QStringList& folders) {
  QList<UnservedStripType> unserved;
  for (const StripRow& row : StripRowsOf(document)) {
    const QString type = sjis::Decode(row.stripType);
    auto same = std::find_if(unserved.begin(), unserved.end(),
                             [&](const UnservedStripType& u) { return u.stripType == type; });
    if (same != unserved.end()) {
      ++same->strips;
    } else if (FindTemplateFile(folders, type).isEmpty()) {
      unserved.append({type, row.series, row.number, 1});
    }
  }
  return unserved;
}

QByteArray TitleForStripType(const QByteArray& seriesName) { return seriesName; }
