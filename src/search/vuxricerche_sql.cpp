// The statements of the search form: the list statement composed from the
// typed values, the catalogue reads, the decodings, the key columns and the
// grid tables made where they are missing.
#include <locale.h>

#include <cwctype>

#include "context/dbutility.h"
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/tabellegriglia.h"
#include "grid/vuxgrid.h"
#include "platform/encoding.h"
#include "platform/format.h"
#include "search/testo.h"
#include "search/vuxricerche.h"
#include "ui/stdctrls.h"

namespace velmaro {
namespace {

using ricerca::Acuto;
using ricerca::Sostituisci;

const std::vector<std::string> Catalogo = {
    "SELECT r.RDB$FIELD_NAME AS NOMECAMPO, ",
    "CASE f.RDB$FIELD_TYPE ",
    "WHEN 261 THEN 'BLOB' ",
    "WHEN 14 THEN 'CHAR' ",
    "WHEN 40 THEN 'CSTRING' ",
    "WHEN 11 THEN 'D_FLOAT' ",
    "WHEN 27 THEN 'DOUBLE' ",
    "WHEN 10 THEN 'FLOAT' ",
    "WHEN 16 THEN 'INT64' ",
    "WHEN 8 THEN 'INTEGER' ",
    "WHEN 9 THEN 'QUAD' ",
    "WHEN 7 THEN 'SMALLINT' ",
    "WHEN 12 THEN 'DATE' ",
    "WHEN 13 THEN 'TIME' ",
    "WHEN 35 THEN 'TIMESTAMP' ",
    "WHEN 37 THEN 'VARCHAR' ",
    "ELSE 'UNKNOWN' ",
    "END AS TIPOCAMPO ",
    "FROM RDB$RELATION_FIELDS r  ",
    "LEFT JOIN RDB$FIELDS f ON r.RDB$FIELD_SOURCE = f.RDB$FIELD_NAME  "};

void Righe(db::Query& q, const std::vector<std::string>& righe) {
  q.Close();
  q.SQL.Clear();
  for (const std::string& r : righe) q.SQL.Add(r);
}

std::string Pulito(const std::string& testo) {
  const size_t inizio = testo.find_first_not_of(' ');
  if (inizio == std::string::npos) return std::string();
  return testo.substr(inizio, testo.find_last_not_of(' ') - inizio + 1);
}

// Upper case as the database gives it for its UTF8 texts: every letter,
// not only a to z, so a typed "città" finds "Città".
std::string MaiuscoloComeIlDatabase(const std::string& testo) {
  // Freed with the program or with the library this code is linked into.
  struct Unicode {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    ~Unicode() {
      if (l) freelocale(l);
    }
  };
  static const Unicode locale;
  const locale_t unicode = locale.l;
  std::u16string u = plat::Utf8ToUtf16(testo);
  for (char16_t& c : u) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;  // outside the basic plane: kept
    if (unicode)
      c = char16_t(towupper_l(wint_t(c), unicode));
    else if (c >= u'a' && c <= u'z')
      c = char16_t(c - 32);
  }
  return plat::Utf16ToUtf8(u);
}

// The typed text read as a date in the short form, written MM-DD-YYYY; a
// text that is no date gives "", which the database then refuses.
std::string ReturnDateSQL(const std::string& testo) {
  return MeseGiornoAnno(testo, SeNonData::Vuota);
}

bool TipoNumerico(const std::string& tipo) {
  for (const char* t : {"D_FLOAT", "DOUBLE", "FLOAT", "INT64", "INTEGER", "QUAD", "SMALLINT"})
    if (tipo == t) return true;
  return false;
}

}  // namespace

std::string TVuxRicercheForm::PrepareFilterString(const std::string& testo, const std::string& tipo,
                                                  const std::string& colonna) {
  if (testo.empty()) return "NULL";
  const std::string t = Pulito(tipo);
  if (t == "DATE") return " AND " + colonna + " = '" + ReturnDateSQL(testo) + "' ";
  // An apostrophe must not end the literal. Text columns take the acute
  // accent as stored texts do; a number column's text is ASCII, against
  // which the accent would be refused, so there it is doubled (and matches
  // nothing, as no number holds one).
  std::string v = TipoNumerico(t) ? Sostituisci(Sostituisci(testo, "'", "''"), ",", ".")
                                  : Sostituisci(testo, "'", Acuto);
  return " AND UPPER(" + colonna + ") LIKE '%" + MaiuscoloComeIlDatabase(v) + "%' ";
}

std::string TVuxRicercheForm::TipoCampo(const std::string& colonna) {
  std::vector<std::string> righe = Catalogo;
  righe.push_back("WHERE r.RDB$RELATION_NAME='" + Apici(NomeTabella) + "'  ");
  righe.push_back(" AND TRIM(r.RDB$FIELD_NAME)='" + Apici(colonna) + "'");
  righe.push_back("ORDER BY r.RDB$FIELD_POSITION ");
  Righe(*QueryAux1, righe);
  QueryAux1->Open();
  const std::string tipo =
      QueryAux1->IsEmpty() ? "" : QueryAux1->FieldByName("TIPOCAMPO").AsString();
  QueryAux1->Close();
  return tipo;
}

std::vector<std::string> TVuxRicercheForm::ComponiSQL() {
  std::vector<std::string> righe = Catalogo;
  righe.push_back("WHERE r.RDB$RELATION_NAME='" + Apici(NomeTabella) + "'  ");
  righe.push_back("ORDER BY r.RDB$FIELD_POSITION ");
  Righe(*QueryAux1, righe);
  QueryAux1->Open();
  std::string colonne;
  for (QueryAux1->First(); !QueryAux1->Eof(); QueryAux1->Next()) {
    const std::string nome =
        Sostituisci(Pulito(QueryAux1->FieldByName("NOMECAMPO").AsString()), "\"", "");
    colonne += (colonne.empty() ? "" : ",") + nome;
  }
  QueryAux1->Close();

  std::vector<std::string> sql = {"SELECT " + colonne + " FROM " + NomeTabella + " WHERE 1=1 "};
  for (const CampoRicerca& campo : Richiesta.CampiRic) {
    auto* edit = dynamic_cast<ui::Edit*>(FindComponent("FB" + campo.Nome));
    if (!edit || edit->Text().empty()) continue;
    sql.push_back(PrepareFilterString(edit->Text(), TipoCampo(campo.Nome), campo.Nome));
  }
  if (Richiesta.Filtro) sql.push_back(Richiesta.Filtro->Riga());
  return sql;
}

void TVuxRicercheForm::QueryMainBeforeOpen() {
  if (GridMain->Tag != 0) return;
  QueryMain->SQL.Clear();
  QueryMain->SQL.Assign(ComponiSQL());
  GridMain->SQLIniziale.Clear();
  GridMain->SQLIniziale.Assign(QueryMain->SQL.lines);
  GridMain->CaricaAspettoGriglia();
}

void TVuxRicercheForm::Decodifica(const std::string& nomeCampo, const std::string& testo,
                                  const std::string& nomeBox) {
  auto* box = dynamic_cast<ui::Edit*>(FindComponent(nomeBox));
  if (!box) return;
  if (testo.empty()) {
    box->SetText("");
    return;
  }
  const CampoRicerca* campo = Richiesta.Campo(nomeCampo);
  if (!campo || !campo->Decodifica) return;
  const DecodificaRicerca& d = *campo->Decodifica;
  TTabXForm& ctx = Contesto();
  const bool seconda = d.IBDatabase == "2";
  QueryDecodifica->Close();
  QueryDecodifica->SetDatabase(seconda ? ctx.IBDatabase2 : ctx.IBDatabase1);
  QueryDecodifica->SetTransaction(seconda ? ctx.IBTransaction2 : ctx.IBTransaction1);
  // A typed code is the operator's text: D'AMICO must decode, not break the statement.
  Righe(*QueryDecodifica, {"SELECT " + d.CampoDec + " FROM " + d.TabellaCol + " WHERE " +
                           d.CampoCol + "='" + Apici(testo) + "'"});
  QueryDecodifica->Open();
  const std::string descrizione =
      QueryDecodifica->IsEmpty() ? "" : QueryDecodifica->FieldByName(d.CampoDec).AsString();
  QueryDecodifica->Close();
  box->SetText(descrizione);
}

std::vector<std::string> TVuxRicercheForm::GetCampiChiavePrimaria() {
  // The primary key's index, else a unique index, else a foreign key; its
  // columns read by the index's own name (an unnamed primary key has an
  // index named unlike its constraint).
  const std::string tabella = Apici(NomeTabella);
  Righe(*QueryAux1,
        {"SELECT i.RDB$INDEX_NAME AS INDICE,",
         " CASE WHEN rc.RDB$CONSTRAINT_TYPE='PRIMARY KEY' THEN 1",
         " WHEN i.RDB$UNIQUE_FLAG=1 THEN 2 ELSE 3 END AS PRIORITA", " FROM RDB$INDICES i",
         " LEFT JOIN RDB$RELATION_CONSTRAINTS rc ON rc.RDB$INDEX_NAME=i.RDB$INDEX_NAME",
         " WHERE i.RDB$RELATION_NAME='" + tabella + "'",
         " AND (rc.RDB$CONSTRAINT_TYPE='PRIMARY KEY' OR i.RDB$UNIQUE_FLAG=1",
         " OR i.RDB$FOREIGN_KEY IS NOT NULL)", " ORDER BY 2, i.RDB$INDEX_ID"});
  QueryAux1->Open();
  const std::string indice =
      QueryAux1->IsEmpty() ? "" : Pulito(QueryAux1->FieldByName("INDICE").AsString());
  QueryAux1->Close();
  if (!indice.empty())
    Righe(*QueryAux1,
          {"SELECT RDB$FIELD_NAME AS NOMECAMPO FROM RDB$INDEX_SEGMENTS",
           " WHERE RDB$INDEX_NAME='" + Apici(indice) + "'", " ORDER BY RDB$FIELD_POSITION"});
  else
    Righe(*QueryAux1,
          {"SELECT RDB$FIELD_NAME NOMECAMPO ", "FROM RDB$RELATION_FIELDS ",
           "WHERE RDB$RELATION_NAME='" + tabella + "'", " ORDER BY RDB$FIELD_POSITION"});
  std::vector<std::string> campi;
  QueryAux1->Open();
  for (QueryAux1->First(); !QueryAux1->Eof(); QueryAux1->Next())
    campi.push_back(Pulito(QueryAux1->FieldByName("NOMECAMPO").AsString()));
  QueryAux1->Close();
  return campi;
}

namespace {

// Runs `create` on the query's connection unless the table is there.
void CreaSeManca(db::Query& q, const std::string& nome, const std::vector<std::string>& create) {
  Righe(q,
        {"select RDB$RELATION_NAME from RDB$RELATIONS", "WHERE RDB$RELATION_NAME ='" + nome + "'"});
  q.Open();
  const bool esiste = !q.IsEmpty();
  q.Close();
  if (esiste) return;
  Righe(q, create);
  try {
    q.ExecSQL();
    q.GetTransaction()->CommitRetaining();
  } catch (const db::DbError&) {
    // Another first search may have made it meanwhile: that counts as done.
    if (q.GetTransaction()->Active()) q.GetTransaction()->RollbackRetaining();
    auto verifica = CreateTransaction(*q.GetDatabase(), 0);
    if (!TableExists(nome, *q.GetDatabase(), *verifica)) throw;
  }
}

}  // namespace

void TVuxRicercheForm::CheckVuxTables() {
  CreaSeManca(*QueryAux1, "STOASP1", kCreaSTOASP1);
  CreaSeManca(*QueryAux1, "STOPOS1", kCreaSTOPOS1);
  CreaSeManca(*QueryAux1, "SETGRID", kCreaSETGRID);
  // The window's position lives on the first connection even when the list
  // runs on the second: its table must be there as well.
  db::Database* primo = Contesto().IBDatabase1;
  if (database_ != primo && primo->Connected()) {
    db::Query q(primo, Contesto().IBTransaction1);
    CreaSeManca(q, "STOPOS1", kCreaSTOPOS1);
  }
  if (transazione_->Active()) transazione_->CommitRetaining();
}

}  // namespace velmaro
