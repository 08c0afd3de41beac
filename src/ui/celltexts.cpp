#include "ui/celltexts.h"

namespace ui {

namespace {

// A column's texts are dropped past this many values: a long list scrolled
// through would otherwise keep the text of every value it ever showed.
constexpr std::size_t kMaxTexts = 4096;

}  // namespace

void CellTexts::Begin(int columns) {
  const plat::FormatSettings& now = plat::Formats();
  if (now != settings_) {
    settings_ = now;
    columns_.clear();
  }
  if (columns > static_cast<int>(columns_.size())) columns_.resize(static_cast<size_t>(columns));
}

CellTexts::Column& CellTexts::For(int index, const db::Field& f) {
  Column& c = columns_.at(static_cast<size_t>(index));
  if (c.dataSet_ != f.GetDataSet() || c.type_ != f.DataType()) {
    c.texts_.clear();
    c.dataSet_ = f.GetDataSet();
    c.type_ = f.DataType();
  }
  return c;
}

const std::string& CellTexts::Column::Text(const db::Field& f, const db::Value& v) {
  // A draw handler may change the format between two rows.
  if (f.DisplayFormat != format_) {
    texts_.clear();
    format_ = f.DisplayFormat;
  }
  const Key key{v.Kind(), v.RawInt()};
  auto found = texts_.find(key);
  if (found != texts_.end()) return found->second;
  if (texts_.size() >= kMaxTexts) texts_.clear();
  return texts_.emplace(key, f.FormatValue(v)).first->second;
}

}  // namespace ui
