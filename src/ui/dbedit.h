// The data-aware edit box: shows one field of the current row and writes
// what the operator types back into it.
#pragma once

#include <memory>
#include <string>

#include "ui/stdctrls.h"

namespace db {
class DataSet;
class DataSource;
class Field;
}  // namespace db

namespace ui {

// The characters the operator may type into a field: the declared size of a
// text field that has one, 0 (no limit) for any other. Typing stops there,
// so that a text never reaches the database longer than its column.
int FieldTypingLimit(const db::Field* f);

class DBEdit : public Edit {
 public:
  explicit DBEdit(Component* owner = nullptr);
  ~DBEdit() override;
  std::string ClassName() const override { return "TDBEdit"; }

  db::DataSource* DataSource() const;
  void SetDataSource(db::DataSource* s);
  const std::string& DataField() const { return dataField_; }
  void SetDataField(const std::string& name);
  db::Field* Field() const;

  // The operator's typing first puts the data set in edit mode (refused
  // when it cannot be modified); the text reaches the field when the box
  // loses the focus or the row is posted.
  void InsertTyped(const std::string& utf8) override;
  void OperatorType(const std::string& text) override;
  void Change() override;
  void DoExit() override;
  // Writes a pending change into the field.
  void UpdateRecord();

 protected:
  // MaxLength, or the field's size when smaller or MaxLength is 0.
  int TypingLimit() const override;
  void HandleKey(Word key) override;
  void HandleChar(char key) override;

 private:
  class Link;
  friend class Link;
  void Load();
  bool StartEditing();
  std::unique_ptr<Link> link_;
  std::string dataField_;
  bool loading_ = false;
  bool modified_ = false;
};

}  // namespace ui
