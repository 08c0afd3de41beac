#include "pricelists/righe/righe.h"

#include <cstdio>

#include "context/helpers.h"

namespace velmaro::righe {

namespace {

std::string PuntoInVirgola(std::string testo) {
  for (char& c : testo)
    if (c == '.') c = ',';
  return testo;
}

}  // namespace

bool ENumero(const std::string& testo) {
  double v = 0;
  return plat::TryStrToFloat(testo, v);
}

std::string ScaglioneDecimale(const std::string& testo) {
  return ENumero(testo) ? VirgolaInPunto(testo) : "0";
}

std::string InteroOZero(const std::string& testo) {
  int v = 0;
  return plat::TryStrToInt(testo, v) ? std::to_string(v) : "0";
}

bool EPrezzo(const std::string& testo) { return ENumero(PuntoInVirgola(testo)); }

std::string PrezzoSQL(const std::string& testo) {
  if (!EPrezzo(testo)) throw ValoreNonValido("'" + testo + "' non è un numero");
  return VirgolaInPunto(testo);
}

std::string NumeroONull(const std::string& testo) {
  return testo.empty() ? "NULL" : PrezzoSQL(testo);
}

std::string ScontoSQL(const std::string& testo) { return LetteraleONull(VirgolaInPunto(testo)); }

std::string Condizione(const std::string& colonna, bool nullo, const std::string& valoreSQL) {
  return nullo ? colonna + " IS NULL" : colonna + "=" + valoreSQL;
}

std::string NumeroPerSQL(double valore) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", valore);
  return buf;
}

std::string DataTrattini(plat::DateTime data) { return MeseGiornoAnno(data, '-'); }
std::string DataBarre(plat::DateTime data) { return MeseGiornoAnno(data, '/'); }
std::string GiornoPrimaBarre(plat::DateTime data) { return MeseGiornoAnno(data - 1, '/'); }

int DividiStringa(const std::string& testo, const std::string& delimitatore,
                  std::vector<std::string>& parti) {
  parti.clear();
  if (delimitatore.empty()) {
    parti.push_back(testo);
    return 1;
  }
  std::string::size_type inizio = 0;
  for (;;) {
    const std::string::size_type p = testo.find(delimitatore, inizio);
    if (p == std::string::npos) break;
    parti.push_back(testo.substr(inizio, p - inizio));
    inizio = p + delimitatore.size();
  }
  parti.push_back(testo.substr(inizio));
  return static_cast<int>(parti.size());
}

bool ArticoloDaRisposta(const std::string& risposta, Articolo& articolo) {
  if (risposta.empty()) return false;
  std::vector<std::string> parti;
  const int n = DividiStringa(risposta, ";", parti);
  articolo.codice = parti[0];
  articolo.estensione = n > 1 ? parti[1] : std::string();
  if (articolo.estensione.empty()) articolo.estensione = "0";
  return true;
}

std::string RichiestaArticoli(int situazione) {
  const std::string s = std::to_string(situazione);
  return "<VuxForm><NomeTabella>ANAMAG</NomeTabella><CodiceProgettoForm>505</CodiceProgettoForm>"
         "<SituazioneForm>" +
         s +
         "</SituazioneForm><CodiceProgetto>505</CodiceProgetto>"
         "<SituazioneVuxGrid>" +
         s +
         "</SituazioneVuxGrid>"
         "<CampiRic><CampoRic><Nome>CODICE</Nome><Etichetta>Articolo</Etichetta></CampoRic>"
         "<CampoRic><Nome>ESTENSIONE</Nome><Etichetta>Estensione</Etichetta></CampoRic>"
         "<CampoRic><Nome>DESCRIZIONE1</Nome><Etichetta>Descrizione</Etichetta></CampoRic>"
         "<CampoRic><Nome>FORNITORE</Nome><Etichetta>Fornitore</Etichetta></CampoRic></CampiRic>"
         "<CampiRitorno><CampoRitorno>CODICE</CampoRitorno><CampoRitorno>ESTENSIONE</CampoRitorno>"
         "</CampiRitorno></VuxForm>";
}

}  // namespace velmaro::righe
