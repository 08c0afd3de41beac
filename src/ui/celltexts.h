// The texts of the numbers and dates a grid has drawn, kept by column: a
// screen drawn again (a repaint, or the next keystroke of a search that
// narrows the same list) formats each value once. Formatting a date or an
// amount costs far more than finding its text again.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/field.h"
#include "db/value.h"
#include "platform/format.h"

namespace db {
class DataSet;
}

namespace ui {

class CellTexts {
 public:
  // The texts of one column. They hold while the column shows a field of
  // the same data set, type and display format.
  class Column {
   public:
    // The text `f` displays for `v`, a value that is not a text.
    const std::string& Text(const db::Field& f, const db::Value& v);

   private:
    friend class CellTexts;
    struct Key {
      db::ValueKind kind;
      std::int64_t bits;
      bool operator==(const Key&) const = default;
    };
    struct KeyHash {
      std::size_t operator()(const Key& k) const {
        return std::hash<std::int64_t>()(k.bits) ^ static_cast<std::size_t>(k.kind);
      }
    };
    const db::DataSet* dataSet_ = nullptr;
    db::FieldType type_ = db::FieldType::Unknown;
    std::string format_;
    std::unordered_map<Key, std::string, KeyHash> texts_;
  };

  // Starts a drawing of `columns` columns: everything is forgotten when the
  // format settings changed since the last one.
  void Begin(int columns);
  // The texts of column `index` (below the count given to Begin) for field
  // `f`, emptied when they were kept for another field. The reference holds
  // until the next Begin.
  Column& For(int index, const db::Field& f);

 private:
  plat::FormatSettings settings_;
  std::vector<Column> columns_;
};

}  // namespace ui
