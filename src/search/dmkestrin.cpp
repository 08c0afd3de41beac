#include "search/dmkestrin.h"

#include "context/tabxform.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "ui/make.h"

namespace velmaro {

TDataModuleKestrin::TDataModuleKestrin(ui::Component* owner, velmaro::CellaTabX* cellaTabX)
    : ui::Component(owner), CellaTabX(cellaTabX) {
  SetName("DataModuleKestrin");
  Transazione2 = ui::Make<db::Transaction>(this, "Transazione2");
  QueryAux1 = ui::Make<db::Query>(this, "QueryAux1");
  QueryAux2 = ui::Make<db::Query>(this, "QueryAux2");
  QueryAux1->UniDirectional = QueryAux2->UniDirectional = true;
  QueryAux1->BufferChunks = QueryAux2->BufferChunks = 1000;

  db::Database* archivio = TabX().IBDatabase1;
  Transazione2->SetActive(false);
  Transazione2->SetDefaultDatabase(archivio);
  Transazione2->Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
  Transazione2->SetActive(true);
  QueryAux1->SetDatabase(archivio);
  QueryAux1->SetTransaction(TabX().IBTransaction1);
  QueryAux2->SetDatabase(archivio);
  QueryAux2->SetTransaction(Transazione2);

  IdRicercaFornito = 1;
  IdDecodificaRagSocFornito = 2;
  IdRicercaCodIva = 3;
  IdDecodificaCodIva = 4;
  IdRicercaPagament = 5;
  IdDecodificaPagament = 6;
  IdRicercaPConti = 7;
  IdDecodificaPConti = 8;
  IdImpostaPConti = 9;
  IdNormalizzaPConti = 10;
  IdVerificaDelPConti = 27;
  IdRicercaCausali = 28;
  IdDecodificaCausali = 29;
}

namespace {

// The hook's row of CHIAMATEESTERNE, its identifier compared as text.
void ApriChiamata(db::Query& q, const std::string& colonne, int id) {
  q.Close();
  q.SQL.Clear();
  q.SQL.Add("SELECT " + colonne + " FROM CHIAMATEESTERNE");
  q.SQL.Add("WHERE ID='" + std::to_string(id) + "'");
  q.Open();
}

}  // namespace

bool TDataModuleKestrin::FunzioneEsternaAbilitata(int id) {
  db::Query& q = *QueryAux1;
  ApriChiamata(q, "STATUS", id);
  const bool abilitata = !q.IsEmpty() && q.FieldByNumber(0).AsString() == "1";
  q.Close();
  return abilitata;
}

bool TDataModuleKestrin::GestisciFunzioneEsterna(int id, std::string& nomeDll,
                                                 std::string& nomeFunzione) {
  nomeDll.clear();
  nomeFunzione.clear();
  db::Query& q = *QueryAux1;
  ApriChiamata(q, "NOMEDLL,NOMEFUNZIONE", id);
  bool trovata = false;
  if (!q.IsEmpty()) {
    const std::string dll = q.FieldByName("NOMEDLL").AsString();
    const std::string funzione = q.FieldByName("NOMEFUNZIONE").AsString();
    if (!dll.empty() && !funzione.empty()) {
      nomeDll = dll;
      nomeFunzione = funzione;
      trovata = true;
    }
  }
  q.Close();
  return trovata;
}

std::string TDataModuleKestrin::ValoreTabX(const std::string& nome, bool perUtente) {
  std::string valore;
  TTabXForm::LeggiValoreTabX(*QueryAux1, TabX().GetNumUser(), "TESTO", nome, perUtente, valore);
  return valore;
}

bool TDataModuleKestrin::SettaValoreTabX(const std::string& nome, const std::string& testo,
                                         bool perUtente) {
  return TTabXForm::ScriviValoreTabX(*QueryAux1, TabX().GetNumUser(), "TESTO", nome, testo,
                                     perUtente);
}

}  // namespace velmaro
