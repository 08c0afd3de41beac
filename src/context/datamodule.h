#pragma once
// The data module of one open window: auxiliary queries on the company
// database, a second transaction that waits for no lock, and the codes that
// key the module's grids and saved positions.
#include <cstdint>
#include <string>
#include <vector>

#include "context/launch.h"
#include "ui/component.h"

namespace db {
class Query;
class StoredProc;
class Transaction;
}  // namespace db

namespace velmaro {

class TTabXForm;

class TDataModuleVelmaro : public ui::Component {
 public:
  // The context object is reached through its holder at each use; creation
  // needs the company database connected (Transazione2 starts here).
  TDataModuleVelmaro(ui::Component* owner, CellaTabX* cellaTabX);
  std::string ClassName() const override { return "TDataModuleVelmaro"; }

  TTabXForm& TabX() const { return CellaTabX->Riferimento(); }

  // Components, owned by the module (ui::Make). Transazione2 is created
  // first so that it outlives the queries running on it.
  db::Transaction* Transazione2 = nullptr;
  db::Query* QueryAux1 = nullptr;
  db::Query* QueryAux2 = nullptr;
  db::StoredProc* StoProc1 = nullptr;

  velmaro::CellaTabX* CellaTabX = nullptr;
  std::int32_t CodiceProgetto = 0;
  std::int32_t Situazione1 = 0, Situazione2 = 0, Situazione3 = 0, Situazione4 = 0, Situazione5 = 0,
               Situazione6 = 0, Situazione7 = 0, Situazione8 = 0, Situazione9 = 0, Situazione10 = 0,
               Situazione11 = 0, Situazione12 = 0, Situazione13 = 0;
  std::string MagazzinoCorrente;
  std::int32_t Decimali = 2;

  // Stored values of TABX through QueryAux1, for the context's operator.
  void ValoreTabX(const std::string& nome, bool perUtente, std::string& valore);
  bool SettaValoreTabX(const std::string& nome, const std::string& valore, bool perUtente);

  // Cuts `testo` at every `separatore`. `lista` grows by one element per
  // piece, but the pieces are stored from its first element on: callers
  // hand it empty.
  static int Explode(std::vector<std::string>& lista, const std::string& separatore,
                     const std::string& testo);
};

}  // namespace velmaro
