#pragma once
// The template being designed: the model, its type name, the selection and
// the undo history. Every edit is one step that holds the template before
// and after it, so taking a step back restores the template exactly (its
// numbers with the bytes they were read as). After every edit the template
// is checked and the faults are kept for the window.

#include <QObject>
#include <QUndoStack>
#include <functional>

#include "designer/TemplateEdits.h"
#include "document/TemplateCheck.h"

class TemplateDesign : public QObject {
  Q_OBJECT
 public:
  explicit TemplateDesign(QObject* parent = nullptr);

  // Starts over with `model` under `stripType`; the history is cleared and
  // the design counts as saved under `savedPath` (empty: never saved).
  void Reset(const StripTemplate& model, const QString& stripType, const QString& savedPath);

  const StripTemplate& Model() const { return model_; }
  const QString& StripType() const { return stripType_; }
  void SetStripType(const QString& stripType);
  StripSheet Sheet() const { return SheetOfTemplate(model_, stripType_); }
  const QList<TemplateFault>& Faults() const { return faults_; }
  // The keys (index across all groups) that a fault names.
  QList<int> FaultyKeys() const;

  const Selection& Selected() const { return selection_; }
  void Select(const Selection& items);

  // Applies `change` to a copy of the template as one undo step named
  // `name`, selecting `select(model)` afterwards (the selection as it is
  // when none is given). Nothing happens when the bytes stay the same.
  using Change = std::function<void(StripTemplate&)>;
  bool Edit(const QString& name, const Change& change, const std::function<Selection(StripTemplate&)>& select = {});

  QUndoStack& History() { return history_; }
  // Unsaved changes: an edit since the last save, or another type name.
  bool IsChanged() const;
  void MarkSaved(const QString& path);
  const QString& SavedPath() const { return savedPath_; }
  const QString& SavedType() const { return savedType_; }

  // Sets the template and selection as a step left them (for the steps).
  void Restore(const StripTemplate& model, const Selection& selection);

 signals:
  void ModelChanged();
  void SelectionChanged();
  void NameChanged();

 private:
  void Recheck();

  StripTemplate model_;
  QString stripType_;
  Selection selection_;
  QList<TemplateFault> faults_;
  QUndoStack history_;
  QString savedPath_;
  QString savedType_;
};
