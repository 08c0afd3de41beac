#pragma once
// Window positions kept per operator in STOPOS1, and the builder of the
// modify and insert statements that posts rows of any query's table.
#include <string>

namespace db {
class Database;
class Query;
class UpdateSQL;
}  // namespace db

namespace ui {
class Control;
}  // namespace ui

namespace velmaro {

inline constexpr const char* TabellaPosizioni = "STOPOS1";

// Puts the window back where the operator left it; without a stored row it
// keeps the bounds of its definition.
void CaricaPosizioneForm(ui::Control& form, int userCode, int situationCode, int projectCode,
                         db::Database& database);

// Stores the window's bounds when they differ from the stored ones (or no
// row exists yet); an unmoved window writes nothing.
void SalvaPosizioneForm(const ui::Control& form, int userCode, int situationCode, int projectCode,
                        db::Database& database);

// Fills the modify (kind "UPDATE") or insert (kind "INSERT") statement of
// updateObject from the fields of dataSet's query; the modify statement
// has no WHERE clause, the caller appends it. Other kinds change nothing.
void CostruisciSQLAggiornamento(db::Query& dataSet, const std::string& tableName,
                                const std::string& kind, db::UpdateSQL& updateObject);

}  // namespace velmaro
