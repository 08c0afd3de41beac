#include "context/datamodule.h"

#include "context/tabxform.h"
#include "db/database.h"
#include "db/query.h"
#include "db/sqlstatement.h"
#include "db/transaction.h"
#include "platform/format.h"
#include "ui/make.h"

namespace velmaro {

TDataModuleVelmaro::TDataModuleVelmaro(ui::Component* owner, velmaro::CellaTabX* cellaTabX)
    : ui::Component(owner), CellaTabX(cellaTabX) {
  SetName("DataModuleVelmaro");
  Transazione2 = ui::Make<db::Transaction>(this, "Transazione2");
  QueryAux1 = ui::Make<db::Query>(this, "QueryAux1");
  QueryAux2 = ui::Make<db::Query>(this, "QueryAux2");
  StoProc1 = ui::Make<db::StoredProc>(this, "StoProc1");
  QueryAux1->BufferChunks = QueryAux2->BufferChunks = 1000;

  db::Database* archivio = TabX().IBDatabase1;
  Transazione2->SetActive(false);
  Transazione2->SetDefaultDatabase(archivio);
  Transazione2->Params.clear();
  Transazione2->Params.push_back("isc_tpb_concurrency");
  Transazione2->Params.push_back("isc_tpb_nowait");
  Transazione2->SetActive(true);

  QueryAux1->SetDatabase(archivio);
  QueryAux1->SetTransaction(TabX().IBTransaction1);
  QueryAux2->SetDatabase(archivio);
  QueryAux2->SetTransaction(Transazione2);
  StoProc1->SetDatabase(archivio);
  StoProc1->SetTransaction(TabX().IBTransaction1);

  TabX().CaricaParametro("MagazzinoCorrente", MagazzinoCorrente);
  if (MagazzinoCorrente.empty()) MagazzinoCorrente = "0";

  CodiceProgetto = 501;
  Situazione1 = 1;
  Situazione2 = 10;
  Situazione3 = 2;
  Situazione4 = 3;
  Situazione5 = 11;
  Situazione6 = 12;
  Situazione7 = 13;
  Situazione8 = 1;
  Situazione9 = 2;
  Situazione10 = 14;
  Situazione11 = 15;
  Situazione12 = 16;
  Situazione13 = 17;

  std::string decimali;
  ValoreTabX("Decimali", false, decimali);
  if (decimali.empty()) {
    Decimali = 2;
  } else {
    ValoreTabX("Decimali", false, decimali);
    Decimali = plat::StrToInt(decimali);
  }
}

void TDataModuleVelmaro::ValoreTabX(const std::string& nome, bool perUtente, std::string& valore) {
  TTabXForm::LeggiValoreTabX(*QueryAux1, TabX().GetNumUser(), "TESTO", nome, perUtente, valore);
}

bool TDataModuleVelmaro::SettaValoreTabX(const std::string& nome, const std::string& valore,
                                         bool perUtente) {
  return TTabXForm::ScriviValoreTabX(*QueryAux1, TabX().GetNumUser(), "TESTO", nome, valore,
                                     perUtente);
}

int TDataModuleVelmaro::Explode(std::vector<std::string>& lista, const std::string& separatore,
                                const std::string& testo) {
  std::string resto = testo + separatore;
  int pezzi = 0;
  while (!resto.empty()) {
    size_t pos = separatore.empty() ? std::string::npos : resto.find(separatore);
    if (pos == std::string::npos) pos = resto.size();
    lista.resize(lista.size() + 1);
    lista[pezzi++] = resto.substr(0, pos);
    resto.erase(0, std::min(resto.size(), pos + separatore.size()));
  }
  return pezzi;
}

}  // namespace velmaro
