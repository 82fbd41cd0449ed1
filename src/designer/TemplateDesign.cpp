#include "designer/TemplateDesign.h"

#include "base/ShiftJis.h"

namespace {

// One edit: the template and the selection before and after it.
class TemplateStep : public QUndoCommand {
 public:
  TemplateStep(TemplateDesign& design, const QString& name, StripTemplate before, Selection beforeSelection,
               StripTemplate after, Selection afterSelection)
      : QUndoCommand(name),
        design_(design),
        before_(std::move(before)),
        after_(std::move(after)),
        beforeSelection_(std::move(beforeSelection)),
        afterSelection_(std::move(afterSelection)) {}

  void undo() override { design_.Restore(before_, beforeSelection_); }
  void redo() override { design_.Restore(after_, afterSelection_); }

 private:
  TemplateDesign& design_;
  StripTemplate before_, after_;
  Selection beforeSelection_, afterSelection_;
};

}  // namespace

TemplateDesign::TemplateDesign(QObject* parent) : QObject(parent) {}

void TemplateDesign::Reset(const StripTemplate& model, const QString& stripType, const QString& savedPath) {
  history_.clear();
  model_ = model;
  stripType_ = stripType;
  savedType_ = stripType;
  savedPath_ = savedPath;
  selection_.clear();
  history_.setClean();
  Recheck();
  emit NameChanged();
  emit ModelChanged();
  emit SelectionChanged();
}

void TemplateDesign::SetStripType(const QString& stripType) {
  if (stripType == stripType_) return;
  stripType_ = stripType;
  Recheck();
  emit NameChanged();
  emit ModelChanged();
}

QList<int> TemplateDesign::FaultyKeys() const {
  QList<int> keys;
  for (const TemplateFault& fault : faults_) {
    if (fault.key >= 0 && !keys.contains(fault.key)) keys << fault.key;
  }
  return keys;
}

void TemplateDesign::Select(const Selection& items) {
  Selection valid;
  for (const ItemRef& item : items) {
    if (IsValidItem(model_, item) && !valid.contains(item)) valid << item;
  }
  if (valid == selection_) return;
  selection_ = valid;
  emit SelectionChanged();
}

bool TemplateDesign::Edit(const QString& name, const Change& change,
                          const std::function<Selection(StripTemplate&)>& select) {
  StripTemplate after = model_;
  change(after);
  const Selection afterSelection = select ? select(after) : selection_;
  if (after.ToBytes() == model_.ToBytes()) {
    Select(afterSelection);
    return false;
  }
  history_.push(new TemplateStep(*this, name, model_, selection_, std::move(after), afterSelection));
  return true;
}

bool TemplateDesign::IsChanged() const { return !history_.isClean() || stripType_ != savedType_; }

void TemplateDesign::MarkSaved(const QString& path) {
  savedPath_ = path;
  savedType_ = stripType_;
  history_.setClean();
  emit NameChanged();
}

void TemplateDesign::Restore(const StripTemplate& model, const Selection& selection) {
  model_ = model;
  Recheck();
  emit ModelChanged();
  selection_.clear();
  Select(selection);
  emit SelectionChanged();
}

void TemplateDesign::Recheck() { faults_ = CheckTemplate(model_, sjis::Encode(stripType_)); }
