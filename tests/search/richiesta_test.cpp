// Reading the record-search request and composing its answer.
#include "search/richiesta.h"

#include <gtest/gtest.h>

#include "platform/format.h"

namespace velmaro {
namespace {

const std::string Codici =
    "<CodiceProgetto>505</CodiceProgetto><SituazioneVuxGrid>7</SituazioneVuxGrid>"
    "<CodiceProgettoForm>506</CodiceProgettoForm><SituazioneForm>8</SituazioneForm>";

TEST(RichiestaRicerca, FieldsOfAFullRequest) {
  // Faults: children read only under their usual names, a second-level
  // request lost or not kept whole, a decoding row built for an empty
  // Decodifica, codes swapped, positioning names and values out of step.
  const RichiestaRicerca r = LeggiRichiesta(
      "<Qualsiasi><NomeTabella>CLIENTI</NomeTabella>" + Codici +
      "<FocusIniziale>RAGSOC</FocusIniziale><CampoFoto>FOTO</CampoFoto>"
      "<CampiRic><CampoRic><Nome>CODICE</Nome><Etichetta>Codice</Etichetta>"
      "<ValoreDefault>C1</ValoreDefault><Decodifica/></CampoRic>"
      "<Altro><Nome>RAGSOC</Nome><RicercaSecLiv><NomeTabella>X</NomeTabella></RicercaSecLiv>"
      "<Decodifica><TabellaCol>T</TabellaCol><CampoCol>A</CampoCol><CampoDec>B</CampoDec>"
      "<IBDatabase>2</IBDatabase></Decodifica></Altro></CampiRic>"
      "<PosizionaCampo><Campo><NomeCampo>CODICE</NomeCampo><ValoreCampo>c1</ValoreCampo></Campo>"
      "<Campo><NomeCampo>RAGSOC</NomeCampo><ValoreCampo>Ro</ValoreCampo></Campo></PosizionaCampo>"
      "<CampiRitorno><CampoRitorno>CODICE</CampoRitorno><X>RAGSOC</X></CampiRitorno></Qualsiasi>");
  EXPECT_EQ(r.NomeTabella, "CLIENTI");
  EXPECT_EQ((std::vector<int>{r.CodiceProgetto, r.SituazioneVuxGrid, r.CodiceProgettoForm,
                              r.SituazioneForm}),
            (std::vector<int>{505, 7, 506, 8}));
  EXPECT_EQ(r.FocusIniziale, "RAGSOC");
  EXPECT_EQ(r.CampoFoto, "FOTO");
  ASSERT_EQ(r.CampiRic.size(), 2u);
  EXPECT_EQ(r.CampiRic[0].ValoreDefault, "C1");
  EXPECT_FALSE(r.CampiRic[0].Decodifica);
  EXPECT_FALSE(r.CampiRic[0].HaRicercaSecLiv);
  EXPECT_EQ(r.CampiRic[1].Nome, "RAGSOC");
  EXPECT_TRUE(r.CampiRic[1].HaRicercaSecLiv);
  EXPECT_EQ(r.CampiRic[1].RicercaSecLiv,
            "<RicercaSecLiv><NomeTabella>X</NomeTabella></RicercaSecLiv>");
  ASSERT_TRUE(r.CampiRic[1].Decodifica);
  EXPECT_EQ(r.CampiRic[1].Decodifica->CampoDec, "B");
  EXPECT_EQ(r.CampiRic[1].Decodifica->IBDatabase, "2");
  EXPECT_EQ(r.CampiRic[1].Decodifica->Etichetta, "");
  EXPECT_EQ(r.PosizionaNomi, "CODICE;RAGSOC");
  EXPECT_EQ(r.PosizionaValori, (std::vector<std::string>{"c1", "Ro"}));
  EXPECT_EQ(r.CampiRitorno, (std::vector<std::string>{"CODICE", "RAGSOC"}));
}

TEST(RichiestaRicerca, AbsentAndEmptyElements) {
  // Faults: an absent element failing the read, an empty CampiRitorno
  // taken as "no return fields" instead of "key columns", the second
  // connection chosen by anything but exactly "2", a code that is no
  // integer read as 0.
  const RichiestaRicerca r = LeggiRichiesta("<VuxForm><NomeTabella>A</NomeTabella>" + Codici +
                                            "<CampiRitorno/><IBDatabase>02</IBDatabase></VuxForm>");
  EXPECT_TRUE(r.CampiRic.empty());
  EXPECT_TRUE(r.CampiRitorno.empty());
  EXPECT_FALSE(r.Filtro);
  EXPECT_EQ(r.PosizionaNomi, "");
  EXPECT_FALSE(r.SecondaConnessione());
  for (const char* db : {"", "<IBDatabase>1</IBDatabase>", "<IBDatabase> 2</IBDatabase>"})
    EXPECT_FALSE(LeggiRichiesta("<V>" + Codici + db + "</V>").SecondaConnessione()) << db;
  EXPECT_TRUE(
      LeggiRichiesta("<V>" + Codici + "<IBDatabase>2</IBDatabase></V>").SecondaConnessione());
  EXPECT_THROW(LeggiRichiesta("<V><CodiceProgetto>x</CodiceProgetto></V>"), plat::ConvertError);
  EXPECT_THROW(LeggiRichiesta("<V></V>"), plat::ConvertError) << "the codes are required";
}

TEST(RichiestaRicerca, EncodingsAndMalformedText) {
  // Faults: Windows-1252 letters mangled on the way in, a request that is
  // not XML read as an empty one instead of stopping with the parser's text.
  const RichiestaRicerca r =
      LeggiRichiestaAnsi("<V>" + Codici + "<NomeTabella>CITT\xC0</NomeTabella></V>");
  EXPECT_EQ(r.NomeTabella, "CITTÀ");
  for (const char* rotta : {"<V><NomeTabella>A</V>", "", "testo"}) {
    try {
      LeggiRichiesta(rotta);
      ADD_FAILURE() << "accepted: " << rotta;
    } catch (const ErroreRichiesta& e) {
      EXPECT_NE(std::string(e.what()).find("non valida"), std::string::npos);
    }
  }
}

TEST(RichiestaRicerca, FilterFormsInTheirOrder) {
  // Faults: the forms tried in another order, "´" turned into "'" outside
  // Query (or kept in it), the CONTAINING form skipped for an empty value.
  struct Caso {
    std::string filtro, riga;
  };
  const Caso casi[] = {
      {"<QueryRaw>TIPO=´S´</QueryRaw><Query>SELECT 1</Query><CampoFiltro>T</CampoFiltro>",
       " AND (TIPO=´S´)"},
      {"<QueryRaw/><Query>SELECT ´S´ FROM RDB$DATABASE</Query><CampoFiltro>TIPO</CampoFiltro>",
       " AND TIPO IN (SELECT 'S' FROM RDB$DATABASE) "},
      {"<CampoFiltro>NOME</CampoFiltro><ValoreContenuto>d´a</ValoreContenuto>",
       " AND NOME CONTAINING 'd´a'"},
      {"<CampoFiltro>NOME</CampoFiltro><Query/>", " AND NOME CONTAINING ''"},
  };
  for (const Caso& c : casi) {
    const RichiestaRicerca r =
        LeggiRichiesta("<V>" + Codici + "<Filtro>" + c.filtro + "</Filtro></V>");
    ASSERT_TRUE(r.Filtro) << c.filtro;
    EXPECT_EQ(r.Filtro->Riga(), c.riga);
  }
}

}  // namespace
}  // namespace velmaro
