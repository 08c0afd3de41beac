#include "ui/dbedit.h"

#include <algorithm>

#include "db/datasource.h"
#include "db/field.h"

namespace ui {

int FieldTypingLimit(const db::Field* f) {
  if (!f || f->Kind() != db::FieldKind::Data || !db::IsTextType(f->DataType())) return 0;
  return f->Size() > 0 ? f->Size() : 0;
}

class DBEdit::Link : public db::DataLink {
 public:
  explicit Link(DBEdit* e) : edit_(e) {}

 protected:
  void ActiveChanged() override { edit_->Load(); }
  void DataSetChanged() override { edit_->Load(); }
  void DataSetScrolled(int) override { edit_->Load(); }
  void LayoutChanged() override { edit_->Load(); }
  void EditingChanged() override {
    if (!Editing()) edit_->Load();
  }
  void RecordChanged(db::Field* f) override {
    if (!f || f == edit_->Field()) edit_->Load();
  }
  void UpdateData() override { edit_->UpdateRecord(); }

 private:
  DBEdit* edit_;
};

DBEdit::DBEdit(Component* owner) : Edit(owner), link_(std::make_unique<Link>(this)) {}

DBEdit::~DBEdit() { link_.reset(); }

db::DataSource* DBEdit::DataSource() const { return link_->GetDataSource(); }

void DBEdit::SetDataSource(db::DataSource* s) {
  link_->SetDataSource(s);
  Load();
}

void DBEdit::SetDataField(const std::string& name) {
  dataField_ = name;
  Load();
}

db::Field* DBEdit::Field() const {
  db::DataSet* ds = link_->GetDataSet();
  return ds && ds->Active() && !dataField_.empty() ? ds->FindField(dataField_) : nullptr;
}

// The text follows the field: a changed text raises OnChange, whether the
// cursor moved, the field changed or the set opened or closed.
void DBEdit::Load() {
  db::Field* f = Field();
  std::string text;
  if (f) text = Focused() && link_->Editing() ? f->Text() : f->DisplayText();
  loading_ = true;
  try {
    Edit::SetText(text);
  } catch (...) {
    loading_ = false;
    throw;
  }
  loading_ = false;
  modified_ = false;
}

bool DBEdit::StartEditing() {
  db::Field* f = Field();
  if (!f || ReadOnly || link_->ReadOnly || f->ReadOnly) return false;
  return link_->Edit();
}

int DBEdit::TypingLimit() const {
  const int campo = FieldTypingLimit(Field());
  if (campo == 0) return MaxLength;
  return MaxLength > 0 ? std::min(MaxLength, campo) : campo;
}

void DBEdit::InsertTyped(const std::string& utf8) {
  if (!StartEditing()) return;
  Edit::InsertTyped(utf8);
}

void DBEdit::HandleChar(char key) {
  if ((static_cast<unsigned char>(key) >= 32 || key == '\b') && !StartEditing()) return;
  Edit::HandleChar(key);
}

void DBEdit::HandleKey(Word key) {
  if (key == VK_DELETE && !StartEditing()) return;
  Edit::HandleKey(key);
}

void DBEdit::OperatorType(const std::string& text) {
  if (!StartEditing()) throw Error("The field \"" + dataField_ + "\" cannot be modified");
  SelectAll();
  Edit::InsertTyped(text);
}

void DBEdit::Change() {
  if (!loading_) modified_ = true;
  Edit::Change();
}

void DBEdit::DoExit() {
  UpdateRecord();
  Edit::DoExit();
}

void DBEdit::UpdateRecord() {
  if (!modified_) return;
  db::Field* f = Field();
  modified_ = false;
  if (f && link_->Editing()) f->SetAsString(Text());
}

}  // namespace ui
