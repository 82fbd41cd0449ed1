#include "DesignerFixture.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>

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

void SendMouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, modifiers);
  QApplication::sendEvent(widget, &event);
}

void Click(DesignSheet* sheet, QPointF atMm, Qt::KeyboardModifiers modifiers) {
  SendMouse(sheet, QEvent::MouseButtonPress, sheet->ToPixel(atMm), Qt::LeftButton, modifiers);
  SendMouse(sheet, QEvent::MouseButtonRelease, sheet->ToPixel(atMm), Qt::NoButton, modifiers);
}

void Drag(DesignSheet* sheet, QPointF fromMm, QPointF toMm) {
  SendMouse(sheet, QEvent::MouseButtonPress, sheet->ToPixel(fromMm), Qt::LeftButton);
  SendMouse(sheet, QEvent::MouseMove, sheet->ToPixel((fromMm + toMm) / 2), Qt::LeftButton);
  SendMouse(sheet, QEvent::MouseMove, sheet->ToPixel(toMm), Qt::LeftButton);
  SendMouse(sheet, QEvent::MouseButtonRelease, sheet->ToPixel(toMm), Qt::NoButton);
}

GridDescription KeyGrid(int rows, int columns, QList<QByteArray> fixedTexts) {
  GridDescription grid;
  grid.groups = {GridGroup{rows, columns, std::nullopt, std::nullopt}};
  grid.fixedTexts = std::move(fixedTexts);
  return grid;
}

StripTemplate Telephone() {
  GridDescription grid = KeyGrid(12, 2, {Sj("保留"), Sj("転送")});
  grid.title = Sj("Ｔｅシリーズ主装置");
  return TemplateOfGrid(grid);
}
