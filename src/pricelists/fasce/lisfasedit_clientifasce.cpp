// The customers and suppliers of a band: association through the record
// search of Kestrin.dll or, for customers when the module setting
// ModalitaPXAssCli is exactly "1", through Tressil.dll; removal; reload.
// Associations act on the library-wide IDFasciaSelezionata, which the page
// commands set when the page is entered, and hold that band while they
// write; a removal touches the customer alone and takes no hold. Every
// write meeting a customer or price type another operator changed since
// the view began renews the view and runs once more; a removal only while
// the customer still has the band.
#include <cstring>
#include <vector>

#include "context/dbutility.h"
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/encoding.h"
#include "platform/library.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor/lisfasedit.h"
#include "pricelists/editor/pagina.h"
#include "pricelists/fasce/fasce.h"
#include "pricelists/fasce/tressil.h"
#include "search/kestrin.h"
#include "ui/application.h"
#include "ui/dbgrid.h"

namespace velmaro {

namespace {

// The band into the customer's (supplier's) TIPOPREZZO and the band's
// price type, committed together under the hold of the band: its name is
// read there, as stored now, and a band another operator deleted, or is
// writing, is told and given to nobody. A code matching no row changes no
// customer. On failure nothing of it stays and the operator is told.
void ScriviAssociazione(TLisFasEditForm& w, const char* tabella, const std::string& codice,
                        const char* oggetto) {
  const std::string fascia = IDFasciaSelezionata;
  const std::string errore = std::string("Errore interno: impossibile aggiornare ") + oggetto;
  // A customer another operator put in the company after this view began
  // is not in it, and the update would reach no row: the view is renewed
  // first when what is committed now has it.
  const std::vector<std::string> cerca = {std::string("SELECT 1 FROM ") + tabella +
                                          " WHERE CODICE=" + Letterale(codice)};
  if (!pagina::Trova(*w.QueryAux1, cerca)) {
    bool presente = false;
    LeggiSuVistaNuova(w.QueryAux1->GetDatabase(), cerca,
                      [&presente](db::Query& q) { presente = !q.IsEmpty(); });
    if (presente) w.RinnovaVista();
  }
  // After a renewal the customer is given the band whatever band it has
  // now: an association simply changes band.
  const auto presa = w.PrendiFascia(fascia, {.errore = errore, .inUso = kRecordInUso});
  if (!presa) return;
  db::Query& q = *w.QueryAux1;
  pagina::Scrivi(
      q,
      [&] {
        pagina::EseguiRighe(q, {fasce::AggiornaTipoPrezzo(tabella, fascia, codice)});
        const std::string nome =
            pagina::PrimoValore(q, {"SELECT NOME FROM FASCESC WHERE ID=" + fascia});
        pagina::EseguiRighe(q,
                            {fasce::ScriviTipoPrezzo(fascia, fasce::DescrizioneTipoPrezzo(nome))});
      },
      {}, errore, presa.get());
}

// The page's own reload after a write: the keep-open commit, the query again.
void RicaricaPagina(TFrameClientiFasc& frame) { pagina::Ricarica(*frame.QueryClientiFasc); }

void Rimuovi(TLisFasEditForm& w, TFrameClientiFasc& frame, const char* domanda,
             const char* tabella) {
  if (!pagina::Conferma(domanda)) return;
  db::Query& q = *frame.QueryClientiFasc;
  // An empty list has no current customer: nothing to update.
  if (pagina::Vuota(q)) {
    RicaricaPagina(frame);
    return;
  }
  // The customer pressed on, and only while it still has the page's band:
  // its row is read again on a renewed view, and one another operator
  // moved meanwhile refuses the removal with the view left renewed.
  const std::string codice = Letterale(ValoreCampo(q, "CODICE"));
  pagina::Scrivi(
      *w.QueryAux1,
      {{std::string("UPDATE ") + tabella + " SET TIPOPREZZO=NULL WHERE CODICE=" + codice}},
      [&frame] { RicaricaPagina(frame); },
      PresaTestata::Rinnovo{
          .rinnova = [&w] { w.RinnovaVista(); },
          .letture = {{std::string("SELECT CODICE,TIPOPREZZO FROM ") + tabella +
                       " WHERE CODICE=" + codice}},
          .errore = "Errore interno: impossibile aggiornare il record",
          .inUso = kRecordInUso});
}

// The association setting as committed when "&Associa" is pressed: read on
// a view of its own, since the window's view may predate the settings
// window's save, and renewing that view would close the window's grids.
std::string LeggiModalitaPX(TTabXForm& tabx) {
  std::string modalita;
  SuVistaNuova(tabx.IBDatabase1, [&](db::Transaction& vista) {
    db::Query q(tabx.IBDatabase1, &vista);
    TTabXForm::LeggiValoreTabX(q, tabx.GetNumUser(), "TESTO", "ModalitaPXAssCli", false, modalita);
  });
  return modalita;
}

// "&Associa" through the record search: the chosen code, or nothing.
std::string ScegliDaRicerca(TTabXForm& tabx, bool fornitori) {
  return RicercaKestrin(tabx.GetNumUser(), 0, fasce::RichiestaAssocia(fornitori),
                        ChiamanteKestrin::Listini);
}

// A field of a customer as Tressil.dll decodes it, within its buffer.
std::string Decodifica(tressil::DecodificaCampoClienteE decodifica, std::int32_t utente,
                       const std::string& codiceAnsi, const char* campo) {
  const int dimensione = tressil::DimensioneCampo(campo);
  std::vector<char> buffer(dimensione, '\0');
  std::strncpy(buffer.data(), campo, dimensione - 1);
  const std::int32_t n = decodifica(utente, codiceAnsi.c_str(), buffer.data());
  return tressil::TestoRisultato(buffer.data(), n, dimensione);
}

// Copies a customer the company lacks from Tressil.dll's archive; the copy
// is committed by itself, before the association. False when it failed
// (the operator has been told).
bool CopiaClienteMancante(TLisFasEditForm& w, const plat::Library& libreria, std::int32_t utente,
                          const std::string& codice) {
  auto decodifica = libreria.Function<tressil::DecodificaCampoClienteE>("DecodificaCampoClienteE");
  if (!decodifica) return true;
  const std::string codiceAnsi = plat::Utf8ToAnsi(codice);
  const std::string ragsoc = Decodifica(decodifica, utente, codiceAnsi, "RagSoc");
  const std::string pi = Decodifica(decodifica, utente, codiceAnsi, "PI");
  const std::string cf = Decodifica(decodifica, utente, codiceAnsi, "CF");
  return pagina::Scrivi(
      *w.QueryAux1,
      {{"INSERT INTO CLIENTI(CODICE,RAGSOC,PI,CF) VALUES(" + Letterale(codice) + "," +
        Letterale(ragsoc) + "," + Letterale(pi) + "," + Letterale(cf) + ")"}},
      {},
      PresaTestata::Rinnovo{.rinnova = [&w] { w.RinnovaVista(); },
                            .errore = "Errore interno: impossibile inserire il cliente",
                            .inUso = kRecordInUso});
}

// The customer chosen in Tressil.dll's archive, copied in when the company
// lacks it, then given the band; the library synchronises its archive.
void AssClientePX(TLisFasEditForm& w) {
  plat::Library libreria = plat::Library::Load(tressil::NomeLibreria);
  if (!libreria) return;
  auto ricerca = libreria.Function<tressil::RicercaClienteE>("RicercaClienteE");
  if (!ricerca) return;
  const std::int32_t utente = w.TabX().GetNumUser();
  char buffer[tressil::kCodice] = {};
  const std::int32_t n = ricerca(utente, buffer);
  if (n <= 0) return;
  const std::string codice = tressil::TestoRisultato(buffer, n, tressil::kCodice);

  // Whether the company has the customer, in what is committed now: another
  // operator may have copied it in since this window's view began.
  bool presente = false;
  try {
    LeggiSuVistaNuova(w.QueryAux1->GetDatabase(),
                      {"SELECT COUNT(*) C FROM CLIENTI WHERE CODICE=" + Letterale(codice)},
                      [&](db::Query& q) { presente = q.Fields()[0]->AsString() == "1"; });
  } catch (const std::exception&) {
    pagina::Errore("Errore interno: impossibile aggiornare il cliente");
    return;
  }
  if (!presente && !CopiaClienteMancante(w, libreria, utente, codice)) return;
  w.AssClienteFascia(codice);
  if (auto sincro =
          libreria.Function<tressil::SincroTipoPrezzoDaFBaPXE>("SincroTipoPrezzoDaFBaPXE"))
    sincro(utente);
  RicaricaPagina(*w.FrameClientiFasc1);
}

}  // namespace

// With no band on the page there is nothing to associate with: no search
// opens and nothing is written.
void TLisFasEditForm::FrameClientiFasc1ButtonAssClick() {
  if (IDFasciaSelezionata.empty()) return;
  if (LeggiModalitaPX(TabX()) == "1") {
    AssClientePX(*this);
    return;
  }
  const std::string codice = ScegliDaRicerca(TabX(), false);
  if (codice.empty()) return;
  AssClienteFascia(codice);
  RicaricaPagina(*FrameClientiFasc1);
}

void TLisFasEditForm::FrameFornFascButtonAssClick() {
  if (IDFasciaSelezionata.empty()) return;
  const std::string codice = ScegliDaRicerca(TabX(), true);
  if (codice.empty()) return;
  AssFornitoreFascia(codice);
  RicaricaPagina(*FrameFornFasc);
}

void TLisFasEditForm::AssClienteFascia(const std::string& codice) {
  ScriviAssociazione(*this, "CLIENTI", codice, "il cliente");
}

void TLisFasEditForm::AssFornitoreFascia(const std::string& codice) {
  ScriviAssociazione(*this, "FORNITO", codice, "il fornitore");
}

void TLisFasEditForm::FrameClientiFasc1ButtonDissClick() {
  Rimuovi(*this, *FrameClientiFasc1, "Togliere l'associazione al cliente selezionato?",
          "CLIENTI");
}

void TLisFasEditForm::FrameFornFascButtonDissClick() {
  Rimuovi(*this, *FrameFornFasc, "Togliere l'associazione al fornitore selezionato?", "FORNITO");
}

// The operator's refresh shows what other operators committed since.
void TLisFasEditForm::FrameClientiFasc1ButtonFascAggiornaClick() { RinnovaVista(); }
void TLisFasEditForm::FrameFornFascButtonFascAggiornaClick() { RinnovaVista(); }

}  // namespace velmaro
