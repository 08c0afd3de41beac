// A band's duplication: the module describes the copy and the paste in two
// documents and hands them to Kestrin.dll, which writes the new band with
// its rows; the bands are then reloaded.
#include "context/dbutility.h"
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "platform/format.h"
#include "pricelists/editor/lisfasedit.h"
#include "pricelists/editor/pagina.h"
#include "pricelists/fasce/fasce.h"
#include "search/copiaincolla.h"
#include "search/kestrin.h"

namespace velmaro {

namespace fasce {

std::string DocumentoCopia(const std::string& id, const std::string& data, const std::string& ora) {
  TXMLCopiaType copia = GetCopia();
  copia.SetData(data);
  copia.SetOra(ora);
  copia.SetDitta("");
  copia.SetTabellaMaster("FASCESC");
  TXMLChiavePrimariaType chiave = copia.ChiavePrimaria();
  chiave.Clear();
  TXMLCampoChiaveType campo = chiave.Add();
  campo.SetNome("ID");
  campo.SetValore(id);
  TXMLTabellaDettagliType dettagli = copia.TabelleDettagli().Add();
  dettagli.SetNome("FASCESCDT");
  TXMLCampoCollegamentoType collegamento = dettagli.CampiCollegamento().Add();
  collegamento.SetTabMaster("ID");
  collegamento.SetTabDettagli("IDFASCIA");
  return copia.Xml();
}

std::string DocumentoIncolla() {
  TXMLIncollaType incolla = GetIncolla();
  incolla.SetTabellaMasterI("FASCESC");
  TXMLCampiPersIType campi = incolla.CampiPersI();
  TXMLCampoPersIType numero = campi.Add();
  numero.SetCampoI("ID");
  numero.SetEtichettaI("NUMERO FASCIA");
  TXMLCampoPersIType nome = campi.Add();
  nome.SetCampoI("NOME");
  nome.SetEtichettaI("NOME FASCIA");
  return incolla.Xml();
}

}  // namespace fasce

void TLisFasEditForm::ButtonFascDuplicaClick() {
  // A band another operator deleted has nothing to copy: told as such, and
  // neither document is handed over. No band under the cursor yet sends its
  // empty key as it stands.
  const std::string fascia = IDFasciaCorrente;
  if (!fascia.empty() &&
      !pagina::AncoraPresente(*Transazione2, *QueryAux2,
                              {"SELECT * FROM FASCESC WHERE ID=" + Letterale(fascia)}))
    return;
  const std::int32_t utente = TabX().GetNumUser();
  const plat::DateTime adesso = plat::Now();
  // A copy that fails has told the operator; the paste is tried all the same.
  CopiaKestrin(utente,
               fasce::DocumentoCopia(fascia, plat::DateToStr(adesso), plat::TimeToStr(adesso)),
               ChiamanteKestrin::Listini);
  // The library asks for the new band's number and name in a dialog of its
  // own, which may stay open while another operator deletes the band: a
  // paste that failed looks for the band in what is committed now, and a
  // band gone is told as such. Any other failure keeps the library's box.
  db::Database* database = TabX().IBDatabase1;
  const SpiegaErroreKestrin spiega = [&fascia, database] {
    if (fascia.empty()) return false;
    bool presente = true;
    LeggiSuVistaNuova(database, {"SELECT ID FROM FASCESC WHERE ID=" + Letterale(fascia)},
                      [&presente](db::Query& q) { presente = !q.IsEmpty(); });
    if (presente) return false;
    pagina::Avviso("Il record selezionato è già stato cancellato da un altro utente");
    return true;
  };
  // Only a library that cannot be loaded leaves the bands as they are; a
  // library without the paste entry, or a paste that failed, is followed
  // by the refresh all the same.
  if (IncollaKestrin(utente, fasce::DocumentoIncolla(), ChiamanteKestrin::Listini, false, spiega) !=
      EsitoKestrin::LibreriaAssente)
    ButtonFascAggiornaClick();
}

}  // namespace velmaro
