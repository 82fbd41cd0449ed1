#include "DesignerFixture.h"

#include <QFile>

FileLocations DesignerTest::Install(const QTemporaryDir& root) {
  QDir().mkpath(root.filePath("prefix/bin"));
  const QString shipped = root.filePath("prefix/share/labelkobo/templates");
  QDir().mkpath(shipped);
  for (const QFileInfo& file : QDir(QStringLiteral(SOURCE_DIR "/data")).entryInfoList({"*.TPL"}, QDir::Files)) {
    QFile::copy(file.filePath(), QDir(shipped).filePath(file.fileName()));
  }
  return FileLocations::ForExecutable(root.filePath("prefix/bin"), root.filePath("config"), root.filePath("data"));
}

QString DesignerTest::Shipped(const QString& fileName) const {
  return root.filePath("prefix/share/labelkobo/templates/" + fileName);
}

QString DesignerTest::UserFile(const QString& fileName) const {
  return QDir(locations.UserTemplateFolder()).filePath(fileName);
}

void DesignerTest::AnswerYes(int count) {
  for (int i = 0; i < count; ++i) prompts.answers.push_back(PromptAnswer::Yes);
}
