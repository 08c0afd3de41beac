#include "pricelists/fasce/fasce.h"

#include "context/helpers.h"

namespace velmaro::fasce {

namespace {

// The request of a list picker, one literal per line as it is sent.
struct FiltroPicker {
  const char* testa;
  const char* filtro;
};

const char* const kTestaS4 =
    "<VuxForm><NomeTabella>LISTSC</NomeTabella><CodiceProgettoForm>505</CodiceProgettoForm>"
    "<SituazioneForm>4</SituazioneForm><CodiceProgetto>505</CodiceProgetto>"
    "<SituazioneVuxGrid>4</SituazioneVuxGrid>";
const char* const kTestaS5 =
    "<VuxForm><NomeTabella>LISTSC</NomeTabella><CodiceProgettoForm>505</CodiceProgettoForm>"
    "<SituazioneForm>5</SituazioneForm><CodiceProgetto>505</CodiceProgetto>"
    "<SituazioneVuxGrid>5</SituazioneVuxGrid>";
const char* const kTestaS6 =
    "<VuxForm><NomeTabella>LISTSC</NomeTabella><CodiceProgettoForm>505</CodiceProgettoForm>"
    "<SituazioneForm>6</SituazioneForm><CodiceProgetto>505</CodiceProgetto>"
    "<SituazioneVuxGrid>6</SituazioneVuxGrid>";
const char* const kTestaS7 =
    "<VuxForm><NomeTabella>LISTSC</NomeTabella><CodiceProgettoForm>505</CodiceProgettoForm>"
    "<SituazioneForm>7</SituazioneForm><CodiceProgetto>505</CodiceProgetto>"
    "<SituazioneVuxGrid>7</SituazioneVuxGrid>";

// The acute accents stand for the apostrophes of the filter queries.
const char* const kFiltroP =
    "<Filtro><Query>SELECT \xC2\xB4P\xC2\xB4 FROM "
    "RDB$DATABASE</Query><CampoFiltro>TIPO</CampoFiltro>"
    "</Filtro>";
const char* const kFiltroR =
    "<Filtro><Query>SELECT \xC2\xB4R\xC2\xB4 FROM "
    "RDB$DATABASE</Query><CampoFiltro>TIPO</CampoFiltro>"
    "</Filtro>";
const char* const kFiltroT =
    "<Filtro><Query>SELECT \xC2\xB4T\xC2\xB4 FROM "
    "RDB$DATABASE</Query><CampoFiltro>TIPO</CampoFiltro>"
    "</Filtro>";
const char* const kFiltroSN =
    "<Filtro><Query>SELECT \xC2\xB4S\xC2\xB4 FROM RDB$DATABASE UNION SELECT \xC2\xB4N\xC2\xB4 FROM "
    "RDB$DATABASE</Query><CampoFiltro>TIPO</CampoFiltro></Filtro>";

FiltroPicker DatiPicker(Picker picker) {
  switch (picker) {
    case Picker::ScontiSpeciali:
      return {kTestaS4, kFiltroP};
    case Picker::Ricarico:
      return {kTestaS5, kFiltroR};
    case Picker::ScontiSpecialiNetti:
      return {kTestaS6, kFiltroT};
    case Picker::RigaFascia:
      break;
  }
  return {kTestaS7, kFiltroSN};
}

// The typed text goes into an element of the request: the characters that
// would end or open markup are written as entities, which the reader
// turns back into the text.
std::string TestoXml(const std::string& testo) {
  std::string out;
  for (char c : testo) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out += c;
  }
  return out;
}

// The condition on a row number of band `fascia`, its operator to follow.
std::string DoveRiga(const std::string& fascia) {
  return " WHERE IDFASCIA=" + fascia + " AND NRIGA";
}

}  // namespace

std::vector<std::string> RigheInserisciFascia(const CampiFascia& f) {
  return {
      "INSERT INTO FASCESC(ID,NOME,CLASSIFICAZIONE1,CLASSIFICAZIONE2,LISTINOSCONTISPEC,"
      "LISTINOSCONTISPEC2,LISTINOSCONTISPEC3,LISTINORICARICO,LISTINOSCONTISPECNETTI)",
      "VALUES(" + f.id + "," + Letterale(f.nome) + "," + LetteraleONull(f.classificazione1) + "," +
          LetteraleONull(f.classificazione2) + ",",
      LetteraleONull(f.scontiSpec) + ",",
      LetteraleONull(f.scontiSpec2) + ",",
      LetteraleONull(f.scontiSpec3) + ",",
      LetteraleONull(f.ricarico) + ",",
      LetteraleONull(f.scontiSpecNetti),
      ")"};
}

std::vector<std::string> RigheAggiornaFascia(const CampiFascia& f) {
  return {"UPDATE FASCESC SET ",
          " NOME=" + Letterale(f.nome) + ",CLASSIFICAZIONE1=" + LetteraleONull(f.classificazione1) +
              ",CLASSIFICAZIONE2=" + LetteraleONull(f.classificazione2) + ",LISTINOSCONTISPEC=",
          LetteraleONull(f.scontiSpec) + ",",
          "LISTINOSCONTISPEC2=",
          LetteraleONull(f.scontiSpec2) + ",",
          "LISTINOSCONTISPEC3=",
          LetteraleONull(f.scontiSpec3) + ",",
          "LISTINORICARICO=",
          LetteraleONull(f.ricarico) + ",",
          "LISTINOSCONTISPECNETTI=",
          LetteraleONull(f.scontiSpecNetti),
          " WHERE ID=" + Letterale(f.id)};
}

std::vector<std::string> StatementiSpostaRiga(const std::string& fascia, int da, int a) {
  const std::string dove = DoveRiga(fascia) + "=";
  return {"UPDATE FASCESCDT SET NRIGA=-1" + dove + std::to_string(da),
          "UPDATE FASCESCDT SET NRIGA=" + std::to_string(da) + dove + std::to_string(a),
          "UPDATE FASCESCDT SET NRIGA=" + std::to_string(a) + dove + "-1"};
}

std::vector<std::string> RigheLeggiSpostamento(const std::string& fascia, int da, int a) {
  return {"SELECT * FROM FASCESCDT" + DoveRiga(fascia) + " IN (" + std::to_string(da) + "," +
          std::to_string(a) + ",-1)"};
}

std::vector<std::string> RigheCercaRiga(const std::string& fascia, const std::string& nriga) {
  return {"SELECT * FROM FASCESCDT WHERE IDFASCIA=" + Letterale(fascia),
          " AND NRIGA=" + Letterale(nriga)};
}

std::string PrimiCaratteri(const std::string& testo, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t contati = 0; i < testo.size() && contati < n; ++contati) {
    ++i;  // past the first byte, then past its continuation bytes
    while (i < testo.size() && (static_cast<unsigned char>(testo[i]) & 0xC0) == 0x80) ++i;
  }
  return testo.substr(0, i);
}

std::string DescrizioneTipoPrezzo(const std::string& nome) { return PrimiCaratteri(nome, 20); }

std::string AggiornaTipoPrezzo(const std::string& tabella, const std::string& fascia,
                               const std::string& codice) {
  return "UPDATE " + tabella + " SET TIPOPREZZO=" + Letterale(fascia) +
         " WHERE CODICE=" + Letterale(codice);
}

std::string ScriviTipoPrezzo(const std::string& fascia, const std::string& descrizione) {
  // Cut first, then doubled: no lone apostrophe is left at the end.
  return "UPDATE OR INSERT INTO TIPIPR(CODICE,DESCRIZIONE) VALUES(" + fascia + "," +
         Letterale(descrizione) + ")";
}

std::string RichiestaListino(Picker picker, const std::string& valore) {
  const FiltroPicker p = DatiPicker(picker);
  return std::string(p.testa) +
         "<CampiRic><CampoRic><Nome>ID</Nome><Etichetta>Codice</Etichetta></CampoRic><CampoRic>"
         "<Nome>NOME</Nome><Etichetta>Nome listino</Etichetta></CampoRic></CampiRic>"
         "<CampiRitorno><CampoRitorno>ID</CampoRitorno></CampiRitorno>" +
         p.filtro + "<PosizionaCampo><Campo><NomeCampo>ID</NomeCampo><ValoreCampo>" +
         TestoXml(valore) + "</ValoreCampo></Campo></PosizionaCampo></VuxForm>";
}

std::string RichiestaAssocia(bool fornitori) {
  const char* testa =
      fornitori ? "<VuxForm><NomeTabella>FORNITO</NomeTabella><CodiceProgettoForm>505"
                  "</CodiceProgettoForm><SituazioneForm>33</SituazioneForm><CodiceProgetto>505"
                  "</CodiceProgetto><SituazioneVuxGrid>33</SituazioneVuxGrid>"
                : "<VuxForm><NomeTabella>CLIENTI</NomeTabella><CodiceProgettoForm>505"
                  "</CodiceProgettoForm><SituazioneForm>3</SituazioneForm><CodiceProgetto>505"
                  "</CodiceProgetto><SituazioneVuxGrid>3</SituazioneVuxGrid>";
  return std::string(testa) +
         "<CampiRic><CampoRic><Nome>CODICE</Nome><Etichetta>Codice</Etichetta></CampoRic><CampoRic>"
         "<Nome>CONTO</Nome><Etichetta>Conto</Etichetta></CampoRic><CampoRic><Nome>RAGSOC</Nome>"
         "<Etichetta>Rag. Soc.</Etichetta></CampoRic></CampiRic>"
         "<CampiRitorno><CampoRitorno>CODICE</CampoRitorno></CampiRitorno></VuxForm>";
}

}  // namespace velmaro::fasce
