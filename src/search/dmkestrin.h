#pragma once
// The data module of the record search: two auxiliary queries and a
// no-wait transaction on the company database, the stored values of TABX,
// and the hooks through which a window hands work to outside libraries
// chosen per installation (table CHIAMATEESTERNE) or to VorloPX.dll.
//
// Each hook loads its library for the call and frees it before returning.
// Missing configuration is silent; a missing library or export and an
// error raised by the export are shown in an error box and give the empty,
// zero or false result. A code that does not fit the hook's buffer is
// refused before anything is loaded: a cut code would name another record.
#include <cstdint>
#include <string>

#include "context/launch.h"
#include "ui/component.h"

namespace db {
class Query;
class Transaction;
}  // namespace db

namespace velmaro {

class TDataModuleKestrin : public ui::Component {
 public:
  // Needs the context's company database connected: Transazione2 starts here.
  TDataModuleKestrin(ui::Component* owner, velmaro::CellaTabX* cellaTabX);
  std::string ClassName() const override { return "TDataModuleKestrin"; }

  TTabXForm& TabX() const { return CellaTabX->Riferimento(); }

  // Components, owned by the module (ui::Make). Transazione2 is created
  // first so that it outlives the queries running on it.
  db::Transaction* Transazione2 = nullptr;
  db::Query* QueryAux1 = nullptr;
  db::Query* QueryAux2 = nullptr;
  velmaro::CellaTabX* CellaTabX = nullptr;

  // Hook identifiers, rows of CHIAMATEESTERNE.
  int IdRicercaFornito = 0, IdDecodificaRagSocFornito = 0, IdRicercaCodIva = 0,
      IdDecodificaCodIva = 0, IdRicercaPagament = 0, IdDecodificaPagament = 0, IdRicercaPConti = 0,
      IdDecodificaPConti = 0, IdImpostaPConti = 0, IdNormalizzaPConti = 0, IdVerificaDelPConti = 0,
      IdRicercaCausali = 0, IdDecodificaCausali = 0;

  // True when the hook's row exists and its STATUS is exactly "1".
  bool FunzioneEsternaAbilitata(int id);
  // The library and export of a hook; true only when both are named.
  // STATUS is not consulted: a caller honouring it asks the method above.
  bool GestisciFunzioneEsterna(int id, std::string& nomeDll, std::string& nomeFunzione);

  // ---- configurable hooks (dmkestrin_hooks.cpp)
  std::string RicercaFornitoEst(const std::string& codice);
  std::string DecodificaRagSocFornitoEst(const std::string& codice);
  std::string RicercaCodIvaEst(const std::string& codice);
  std::string DecodificaAliquotaCodIvaEst(const std::string& codice);
  std::string DecodificaDescrizioneRidottaCodIvaEst(const std::string& codice);
  std::string RicercaPagamentEst(const std::string& codice);
  std::string DecodificaDescrizionePagamentEst(const std::string& codice);
  std::string DecodificaPercScontoSulPagamentoPagamentEst(const std::string& codice);
  std::string RicercaPContiEst(const std::string& codice);
  std::string DecodificaDescrizionePContiEst(const std::string& codice);
  bool VerificaEsistenzaCodicePContiEst(const std::string& codice);
  std::string ImpostaPContiCliEst(const std::string& codice, const std::string& testo);
  std::string ImpostaPContiForEst(const std::string& codice, const std::string& testo);
  std::string NormalizzaPContiEst(const std::string& codice);
  bool VerificaDelPContiCliEst(const std::string& codice);
  bool VerificaDelPContiForEst(const std::string& codice);
  std::string RicercaCausaliEst(const std::string& codice);
  std::string DecodificaDescrizioneCausaliEst(const std::string& codice);

  // ---- instalment hooks on VorloPX.dll
  std::int32_t RiceviNumeroRateEst(const std::string& testo1, const std::string& testo2);
  std::string RiceviDataScadenzaEst(const std::string& testo1, const std::string& testo2,
                                    std::int32_t numeroRata);
  std::string RiceviImportoScadenzaEst(const std::string& testo1, const std::string& testo2,
                                       std::int32_t numeroRata);
  std::string RiceviImportoScadenzeTotEst(const std::string& testo1, const std::string& testo2);

  // Stored values of TABX through QueryAux1, for the context's operator.
  std::string ValoreTabX(const std::string& nome, bool perUtente);
  bool SettaValoreTabX(const std::string& nome, const std::string& testo, bool perUtente);
};

using CellaDMKestrin = Cella<TDataModuleKestrin>;

// The outside exports as this module calls them (the platform's standard
// calling convention; texts are NUL-terminated Windows-1252; the result is
// the count of characters written at the start of the buffer).
namespace esterne {
using Buffer = std::int32_t (*)(std::int32_t utente, char* buffer);
using CodiceBuffer = std::int32_t (*)(std::int32_t utente, const char* codice, char* buffer);
using BufferTestoLettera = std::int32_t (*)(std::int32_t utente, char* buffer, const char* testo,
                                            const char* lettera);
using BufferLettera = std::int32_t (*)(std::int32_t utente, char* buffer, const char* lettera);
using NumeroRate = std::int32_t (*)(std::int32_t utente, const char* testo1, const char* testo2);
using Scadenza = std::int32_t (*)(std::int32_t utente, const char* testo1, const char* testo2,
                                  std::int32_t numeroRata, char* buffer);
using ScadenzeTot = std::int32_t (*)(std::int32_t utente, const char* testo1, const char* testo2,
                                     char* buffer);
}  // namespace esterne

}  // namespace velmaro
