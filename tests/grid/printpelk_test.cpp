// The print library's stand-in: reading the job and the project the module
// writes, and cutting the rows into pages.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "grid/printproject.h"
#include "pelk_job.h"
#include "pelk_pdf.h"

namespace velmaro {
namespace {

TEST(PelkLavoro, PiecesByTheirLiteralTags) {
  // Fault: the job read as XML (it is not: the SQL and the title go in
  // unescaped), or a piece cut at a tag-like text inside the SQL or title.
  const std::string sql =
      "SELECT * FROM ARTICOLI\r\nWHERE PREZZO<=2 AND NOTE<>'<b>&</b>' AND X='</SQLStampa>'\r\n";
  const std::string job = "<VuxForm><SQLStampa>" + sql +
                          "</SQLStampa><NomeReport>/tmp/Città/StVuxGrid_1.LST</NomeReport>"
                          "<TitoloStampa>Stampa A<B & </TitoloStampa>C</TitoloStampa>";
  const pelk::Lavoro anteprima =
      pelk::LeggiLavoro(job + "<AnteprimaDiretta>1</AnteprimaDiretta></VuxForm>");
  EXPECT_EQ(anteprima.Sql, sql);
  EXPECT_EQ(anteprima.NomeReport, "/tmp/Città/StVuxGrid_1.LST");
  EXPECT_EQ(anteprima.Titolo, "Stampa A<B & </TitoloStampa>C");
  EXPECT_TRUE(anteprima.Anteprima);
  EXPECT_FALSE(anteprima.EditaReport);
  const pelk::Lavoro edita =
      pelk::LeggiLavoro(job + "<EditaReportDiretto>1</EditaReportDiretto></VuxForm>");
  EXPECT_FALSE(edita.Anteprima);
  EXPECT_TRUE(edita.EditaReport);
  EXPECT_THROW(pelk::LeggiLavoro("<VuxForm><SQLStampa>SELECT 1</SQLStampa></VuxForm>"),
               std::runtime_error);
}

TEST(PelkProgetto, ReadsWhatTheGridPrintWrites) {
  // Fault: the stand-in misreading the nesting of the project (columns of
  // the header taken as data, the page-number object's switch or the
  // orientation lost), so the preview would not show what the operator chose.
  const std::vector<ColonnaStampa> colonne = {{"CODICE", "Codice", 40},
                                              {"DESCRIZIONE", "Descrizione \"lunga\"", 60},
                                              {"PREZZO", "Prezzo", 120}};
  OpzioniProgetto o;
  o.Orientamento = "ORIZZONTALE";
  o.DimensioneFont = 8;
  o.Intestazione1 = "Listino";
  o.Intestazione2 = "Estate";
  o.AllineamentoIntestazione = 1;
  o.NumeraPagine = true;
  o.ForzaUltimaColonna = true;
  const pelk::Progetto p = pelk::LeggiProgetto(TestoProgetto(colonne, o));
  EXPECT_TRUE(p.Orizzontale);
  EXPECT_DOUBLE_EQ(p.PaginaLarghezza, 296.9);
  EXPECT_EQ(p.DimensioneFont, 8);
  EXPECT_TRUE(p.NumeraPagine);
  EXPECT_DOUBLE_EQ(p.Tabella.Left, 7.3);
  EXPECT_DOUBLE_EQ(p.NumeroPagina.Left, 213.3);
  ASSERT_EQ(p.Colonne.size(), 3u);
  EXPECT_EQ(p.Colonne[1].Campo, "DESCRIZIONE");
  EXPECT_EQ(p.Colonne[1].Titolo, "Descrizione \"lunga\"");
  EXPECT_DOUBLE_EQ(p.Colonne[2].Larghezza, 255);
  EXPECT_FALSE(p.Colonne[2].ACapo);  // the forced last column is cut
  ASSERT_EQ(p.Intestazioni.size(), 2u);
  EXPECT_EQ(p.Intestazioni[1].Testo, "Estate");

  o.NumeraPagine = false;
  o.Orientamento = "VERTICALE";
  EXPECT_FALSE(pelk::LeggiProgetto(TestoProgetto({}, o)).NumeraPagine);
  EXPECT_THROW(pelk::LeggiProgetto("[Layout]\r\n Orientation=1\r\n"), std::runtime_error);
}

TEST(PelkPagine, RowsCutIntoPages) {
  // Fault: a page overfilled, a row split from its height, an endless loop
  // on a row taller than the page, or no page at all for an empty print.
  using Pagine = std::vector<std::vector<int>>;
  EXPECT_EQ(pelk::Impagina({}, 100), (Pagine{{}}));
  EXPECT_EQ(pelk::Impagina({40, 40, 20, 1}, 100), (Pagine{{0, 1, 2}, {3}}));
  EXPECT_EQ(pelk::Impagina({150, 10, 150}, 100), (Pagine{{0}, {1}, {2}}));
}

}  // namespace
}  // namespace velmaro
