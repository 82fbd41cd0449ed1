#pragma once
// The user's own templates: where they are written (the first template
// folder of FileLocations), under which names, and the commands that save,
// import and delete them. A shipped template is never written over or
// deleted; a user's template of a shipped type's name hides the shipped one
// (discovery takes the first folder first) until it is deleted.
//
// The commands ask and report through Prompts, so the window and the tests
// share them; nothing is written before every question has been answered.

#include <QByteArray>
#include <QList>
#include <QString>

#include "base/FileLocations.h"
#include "document/StripTemplate.h"

class TemplateStore {
 public:
  explicit TemplateStore(FileLocations locations) : locations_(std::move(locations)) {}

  const FileLocations& Locations() const { return locations_; }
  const QString& UserFolder() const { return locations_.UserTemplateFolder(); }

  // Why a strip type cannot be a template's file name, or an empty text:
  // empty, holding a "." (the type ends at the first one), or a character a
  // file name cannot hold (/ \ : * ? " < > | or a control character), or
  // not written in Shift_JIS.
  static QString NameProblem(const QString& stripType);
  // The user's file of the type: an existing one matched without regard to
  // case, else UserFolder() + type + ".TPL".
  QString UserPath(const QString& stripType) const;
  // True when saving the type would write over a shipped file (the program
  // folder layout keeps the user's and the shipped templates together).
  bool IsShippedName(const QString& stripType) const;
  // True when the user's folder holds a template of the type that did not ship.
  bool HasUserTemplate(const QString& stripType) const;

  // Writes `bytes` as the user's template of the type, asking before it
  // replaces one of the user's own; refused (with a message) for a bad name,
  // a shipped file, or a failed write. True when written.
  bool Save(const QString& stripType, const QByteArray& bytes) const;
  // The model checked first: errors refuse it with the first error named;
  // warnings are listed and asked about. Then Save.
  bool SaveChecked(const QString& stripType, const StripTemplate& model) const;
  // A .TPL file from anywhere, checked (errors refuse it), copied into the
  // user's folder under its own type name; a clash with the user's own asks
  // before replacing, a shipped name is refused. True when imported.
  bool Import(const QString& sourcePath) const;
  // Deletes one of the user's templates after a confirmation that names the
  // file; a shipped one is refused. True when deleted.
  bool Remove(const QString& path) const;
  // Writes a copy of a template file to `targetPath` (export). True when written.
  static bool Export(const QString& path, const QString& targetPath);

 private:
  FileLocations locations_;
};

// A strip type that strips of the open document use but no template folder
// holds (a site file made elsewhere): its strips are shown and printed, and
// the type can be saved as a template from its first strip.
struct UnservedStripType {
  QString stripType;
  QByteArray seriesName;  // of its first strip
  int firstStrip = 0;     // strip number
  int strips = 0;         // how many strips use it
};
class StripDocument;
QList<UnservedStripType> StripTypesWithoutTemplate(const StripDocument& document, const QStringList& folders);

// The title line a strip's type gets as a template: the strip's series name,
// so the template serves the series the strip was made for.
QByteArray TitleForStripType(const QByteArray& seriesName);
