#include "search/richiesta.h"

#include <pugixml.hpp>
#include <sstream>

#include "platform/encoding.h"
#include "platform/format.h"
#include "search/testo.h"

namespace velmaro {
namespace {

using ricerca::Acuto;
using ricerca::Sostituisci;

// Text of a child element; an absent element reads as empty.
std::string Testo(const pugi::xml_node& nodo, const char* nome) {
  return nodo.child(nome).text().get();
}

bool HaFigli(const pugi::xml_node& nodo) {
  return static_cast<bool>(
      nodo.find_child([](const pugi::xml_node& n) { return n.type() == pugi::node_element; }));
}

std::vector<pugi::xml_node> Figli(const pugi::xml_node& nodo) {
  std::vector<pugi::xml_node> figli;
  for (pugi::xml_node n : nodo.children())
    if (n.type() == pugi::node_element) figli.push_back(n);
  return figli;
}

int Intero(const pugi::xml_node& radice, const char* nome) {
  return plat::StrToInt(Testo(radice, nome));
}

std::string ComeTesto(const pugi::xml_node& nodo) {
  std::ostringstream out;
  nodo.print(out, "", pugi::format_raw);
  return out.str();
}

CampoRicerca LeggiCampo(const pugi::xml_node& nodo) {
  CampoRicerca c;
  c.Nome = Testo(nodo, "Nome");
  c.Etichetta = Testo(nodo, "Etichetta");
  c.ValoreDefault = Testo(nodo, "ValoreDefault");
  if (pugi::xml_node sec = nodo.child("RicercaSecLiv")) {
    c.RicercaSecLiv = ComeTesto(sec);
    c.HaRicercaSecLiv = HaFigli(sec);
  }
  pugi::xml_node dec = nodo.child("Decodifica");
  if (HaFigli(dec))
    c.Decodifica =
        DecodificaRicerca{Testo(dec, "TabellaCol"), Testo(dec, "CampoCol"), Testo(dec, "CampoDec"),
                          Testo(dec, "Etichetta"), Testo(dec, "IBDatabase")};
  return c;
}

}  // namespace

std::string FiltroRicerca::Riga() const {
  if (!QueryRaw.empty()) return " AND (" + QueryRaw + ")";
  if (!Query.empty())
    return " AND " + CampoFiltro + " IN (" + Sostituisci(Query, Acuto, "'") + ") ";
  return " AND " + CampoFiltro + " CONTAINING '" + ValoreContenuto + "'";
}

const CampoRicerca* RichiestaRicerca::Campo(const std::string& nome) const {
  for (const CampoRicerca& c : CampiRic)
    if (c.Nome == nome) return &c;
  return nullptr;
}

RichiestaRicerca LeggiRichiesta(const std::string& testo) {
  pugi::xml_document documento;
  const pugi::xml_parse_result esito =
      documento.load_buffer(testo.data(), testo.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!esito)
    throw ErroreRichiesta(std::string("Richiesta di ricerca non valida: ") + esito.description() +
                          " (posizione " + std::to_string(esito.offset) + ")");
  const pugi::xml_node radice = documento.document_element();

  RichiestaRicerca r;
  r.NomeTabella = Testo(radice, "NomeTabella");
  r.CodiceProgetto = Intero(radice, "CodiceProgetto");
  r.SituazioneVuxGrid = Intero(radice, "SituazioneVuxGrid");
  r.CodiceProgettoForm = Intero(radice, "CodiceProgettoForm");
  r.SituazioneForm = Intero(radice, "SituazioneForm");
  r.IBDatabase = Testo(radice, "IBDatabase");
  r.FocusIniziale = Testo(radice, "FocusIniziale");
  r.CampoFile = Testo(radice, "CampoFile");
  r.CampoFoto = Testo(radice, "CampoFoto");
  r.ParametroArchivio = Testo(radice, "ParametroArchivio");
  r.PercorsoArchivio = Testo(radice, "PercorsoArchivio");
  for (const pugi::xml_node& n : Figli(radice.child("CampiRic")))
    r.CampiRic.push_back(LeggiCampo(n));
  for (const pugi::xml_node& n : Figli(radice.child("PosizionaCampo"))) {
    if (!r.PosizionaNomi.empty()) r.PosizionaNomi += ";";
    r.PosizionaNomi += Testo(n, "NomeCampo");
    r.PosizionaValori.push_back(Testo(n, "ValoreCampo"));
  }
  const pugi::xml_node filtro = radice.child("Filtro");
  if (HaFigli(filtro))
    r.Filtro = FiltroRicerca{Testo(filtro, "QueryRaw"), Testo(filtro, "Query"),
                             Testo(filtro, "CampoFiltro"), Testo(filtro, "ValoreContenuto")};
  for (const pugi::xml_node& n : Figli(radice.child("CampiRitorno")))
    r.CampiRitorno.push_back(n.text().get());
  return r;
}

RichiestaRicerca LeggiRichiestaAnsi(const std::string& ansi) {
  return LeggiRichiesta(plat::AnsiToUtf8(ansi));
}

std::string ComponiRisposta(const std::vector<std::string>& valori) {
  std::string risposta;
  for (const std::string& v : valori) risposta += v + ";";
  if (!risposta.empty()) risposta.pop_back();
  return risposta;
}

}  // namespace velmaro
