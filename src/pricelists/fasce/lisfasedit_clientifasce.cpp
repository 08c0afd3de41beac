// The customers and suppliers of a band: association through the record
// search of Kestrin.dll or, for customers when the module setting
// ModalitaPXAssCli is exactly "1", through Tressil.dll; removal; reload.
// Associations act on the library-wide IDFasciaSelezionata, which the page
// commands set when the page is entered, and hold that band while they
// write; a removal touches the customer alone and takes no hold.
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

void Rimuovi(TFrameClientiFasc& frame, db::Query& aux, const char* domanda, const char* tabella) {
  if (!pagina::Conferma(domanda)) return;
  db::Query& q = *frame.QueryClientiFasc;
  // An empty list has no current customer: nothing to update.
  if (pagina::Vuota(q)) {
    pagina::Ricarica(q);
    return;
  }
  pagina::Scrivi(
      aux,
      {{std::string("UPDATE ") + tabella +
        " SET TIPOPREZZO=NULL WHERE CODICE=" + Letterale(ValoreCampo(q, "CODICE"))}},
      [&q] { pagina::Ricarica(q); }, "Errore interno: impossibile aggiornare il record");
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
bool CopiaClienteMancante(const plat::Library& libreria, db::Query& aux, std::int32_t utente,
                          const std::string& codice) {
  auto decodifica = libreria.Function<tressil::DecodificaCampoClienteE>("DecodificaCampoClienteE");
  if (!decodifica) return true;
  const std::string codiceAnsi = plat::Utf8ToAnsi(codice);
  const std::string ragsoc = Decodifica(decodifica, utente, codiceAnsi, "RagSoc");
  const std::string pi = Decodifica(decodifica, utente, codiceAnsi, "PI");
  const std::string cf = Decodifica(decodifica, utente, codiceAnsi, "CF");
  return pagina::Scrivi(
      aux,
      {{"INSERT INTO CLIENTI(CODICE,RAGSOC,PI,CF) VALUES(" + Letterale(codice) + "," +
        Letterale(ragsoc) + "," + Letterale(pi) + "," + Letterale(cf) + ")"}},
      {}, "Errore interno: impossibile inserire il cliente");
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

  db::Query& aux = *w.QueryAux1;
  bool presente = false;
  try {
    presente = pagina::PrimoValore(aux, {"SELECT COUNT(*) C FROM CLIENTI WHERE CODICE=" +
                                         Letterale(codice)}) == "1";
  } catch (const std::exception&) {
    pagina::Errore("Errore interno: impossibile aggiornare il cliente");
    return;
  }
  if (!presente && !CopiaClienteMancante(libreria, aux, utente, codice)) return;
  w.AssClienteFascia(codice);
  if (auto sincro =
          libreria.Function<tressil::SincroTipoPrezzoDaFBaPXE>("SincroTipoPrezzoDaFBaPXE"))
    sincro(utente);
  w.FrameClientiFasc1ButtonFascAggiornaClick();
}

}  // namespace

void TLisFasEditForm::FrameClientiFasc1ButtonAssClick() {
  if (LeggiModalitaPX(TabX()) == "1") {
    AssClientePX(*this);
    return;
  }
  const std::string codice = ScegliDaRicerca(TabX(), false);
  if (codice.empty()) return;
  AssClienteFascia(codice);
  FrameClientiFasc1ButtonFascAggiornaClick();
}

void TLisFasEditForm::FrameFornFascButtonAssClick() {
  const std::string codice = ScegliDaRicerca(TabX(), true);
  if (codice.empty()) return;
  AssFornitoreFascia(codice);
  FrameFornFascButtonFascAggiornaClick();
}

void TLisFasEditForm::AssClienteFascia(const std::string& codice) {
  ScriviAssociazione(*this, "CLIENTI", codice, "il cliente");
}

void TLisFasEditForm::AssFornitoreFascia(const std::string& codice) {
  ScriviAssociazione(*this, "FORNITO", codice, "il fornitore");
}

void TLisFasEditForm::FrameClientiFasc1ButtonDissClick() {
  Rimuovi(*FrameClientiFasc1, *QueryAux1, "Togliere l'associazione al cliente selezionato?",
          "CLIENTI");
}

void TLisFasEditForm::FrameFornFascButtonDissClick() {
  Rimuovi(*FrameFornFasc, *QueryAux1, "Togliere l'associazione al fornitore selezionato?",
          "FORNITO");
}

void TLisFasEditForm::FrameClientiFasc1ButtonFascAggiornaClick() {
  pagina::Ricarica(*FrameClientiFasc1->QueryClientiFasc);
}
void TLisFasEditForm::FrameFornFascButtonFascAggiornaClick() {
  pagina::Ricarica(*FrameFornFasc->QueryClientiFasc);
}

}  // namespace velmaro
