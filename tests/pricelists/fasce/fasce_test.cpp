// The band tables' texts: the copy and paste documents byte for byte, their
// bindings, the band's insert and update, the list pickers' requests and
// the buffers of Tressil.dll.
#include "pricelists/fasce/fasce.h"

#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>

#include "pricelists/fasce/tressil.h"
#include "search/copiaincolla.h"

namespace velmaro::testing {
namespace {

TEST(DocumentiFascia, CopiaEIncollaByteForByte) {
  // Catches: a declaration line, indentation or line breaks in the text
  // handed over, an empty Ditta left out or self-closed, the attributes or
  // elements in another order, detail rows or master fields written.
  EXPECT_EQ(fasce::DocumentoCopia("12", "07/12/2026", "09:05:03"),
            "<Copia data=\"07/12/2026\" ora=\"09:05:03\"><Ditta></Ditta>"
            "<TabellaMaster>FASCESC</TabellaMaster><ChiavePrimaria><CampoChiave><Nome>ID</Nome>"
            "<Valore>12</Valore></CampoChiave></ChiavePrimaria><TabelleDettagli><TabellaDettagli>"
            "<Nome>FASCESCDT</Nome><CampiCollegamento><CampoCollegamento><TabMaster>ID</TabMaster>"
            "<TabDettagli>IDFASCIA</TabDettagli></CampoCollegamento></CampiCollegamento>"
            "</TabellaDettagli></TabelleDettagli></Copia>");
  EXPECT_EQ(fasce::DocumentoIncolla(),
            "<Incolla><TabellaMasterI>FASCESC</TabellaMasterI><CampiPersI><CampoPersI>"
            "<CampoI>ID</CampoI><EtichettaI>NUMERO FASCIA</EtichettaI></CampoPersI><CampoPersI>"
            "<CampoI>NOME</CampoI><EtichettaI>NOME FASCIA</EtichettaI></CampoPersI></CampiPersI>"
            "</Incolla>");
  // No band under the cursor yet: the key goes with an empty value.
  EXPECT_NE(fasce::DocumentoCopia("", "07/12/2026", "09:05:03").find("<Valore></Valore>"),
            std::string::npos);
}

TEST(DocumentiFascia, BindingsCreateOnFirstUseAndKeepRepeatedChildrenTogether) {
  // Catches: reading an absent child not creating it, a second Add placed
  // after a later sibling, Insert at the wrong place, an index past the
  // end read as some other element, a binding outliving its document.
  TXMLTabellaDettagliType tabella = GetCopia().TabelleDettagli().Add();
  EXPECT_EQ(tabella.Nome(), "");
  tabella.CampiDettagli().Add().SetRiga(1);
  tabella.SetNome("T");
  tabella.CampiDettagli().Add().SetRiga(3);
  tabella.CampiDettagli().Insert(1).SetRiga(2);
  EXPECT_EQ(tabella.Xml(),
            "<TabellaDettagli><Nome>T</Nome><CampiDettagli><Riga>1</Riga></CampiDettagli>"
            "<CampiDettagli><Riga>2</Riga></CampiDettagli><CampiDettagli><Riga>3</Riga>"
            "</CampiDettagli></TabellaDettagli>");
  EXPECT_EQ(tabella.CampiDettagli().Item(2).Riga(), 3);
  EXPECT_THROW(tabella.CampiDettagli().Item(3), std::out_of_range);
  tabella.CampiDettagli().Clear();
  EXPECT_EQ(tabella.CampiDettagli().Count(), 0);
}

TEST(DocumentiFascia, ReadingRefusesMalformedTextsAndOtherRoots) {
  // Catches: a paste that goes on with a document it cannot read.
  EXPECT_THROW(LeggiCopia("<Copia><Ditta></Copia>"), std::runtime_error);
  EXPECT_THROW(LeggiCopia(fasce::DocumentoIncolla()), std::runtime_error);
  TXMLCopiaType letta = LeggiCopia(fasce::DocumentoCopia("7", "d", "o"));
  EXPECT_EQ(letta.ChiavePrimaria().Item(0).Valore(), "7");
  EXPECT_EQ(letta.TabelleDettagli().Item(0).CampiCollegamento().Item(0).TabDettagli(), "IDFASCIA");
}

TEST(StatementiFascia, TypedTextsAreQuotedAndEmptiesAreNull) {
  // Catches: an apostrophe ending the literal, an empty classification or
  // list written as '' into a column that wants NULL, the lists in the
  // wrong columns; in the insert and in the update (which no script can
  // tell apart from the dialog's own checks).
  fasce::CampiFascia f;
  f.id = "7";
  f.nome = "L'Ancora";
  f.classificazione1 = "MIGLIORPR";
  f.scontiSpec2 = "6";
  f.scontiSpec3 = "9";
  f.scontiSpecNetti = "8";
  const std::vector<std::string> inserisci = fasce::RigheInserisciFascia(f);
  EXPECT_EQ(std::accumulate(inserisci.begin(), inserisci.end(), std::string()),
            "INSERT INTO FASCESC(ID,NOME,CLASSIFICAZIONE1,CLASSIFICAZIONE2,LISTINOSCONTISPEC,"
            "LISTINOSCONTISPEC2,LISTINOSCONTISPEC3,LISTINORICARICO,LISTINOSCONTISPECNETTI)"
            "VALUES(7,'L''Ancora','MIGLIORPR',NULL,NULL,'6','9',NULL,'8')");
  const std::vector<std::string> aggiorna = fasce::RigheAggiornaFascia(f);
  EXPECT_EQ(std::accumulate(aggiorna.begin(), aggiorna.end(), std::string()),
            "UPDATE FASCESC SET  NOME='L''Ancora',CLASSIFICAZIONE1='MIGLIORPR',"
            "CLASSIFICAZIONE2=NULL,LISTINOSCONTISPEC=NULL,LISTINOSCONTISPEC2='6',"
            "LISTINOSCONTISPEC3='9',LISTINORICARICO=NULL,LISTINOSCONTISPECNETTI='8' WHERE ID='7'");
}

TEST(RichiesteFascia, PickerRequestsKeepTheirFilterAndEscapeTheTypedValue) {
  // Catches: the filters' acute accents turned into apostrophes, a wrong
  // situation code, a typed "<" or "&" breaking the request.
  const std::string r = fasce::RichiestaListino(fasce::Picker::RigaFascia, "1<2&");
  EXPECT_NE(r.find("<SituazioneForm>7</SituazioneForm>"), std::string::npos);
  EXPECT_NE(r.find("SELECT \xC2\xB4S\xC2\xB4 FROM RDB$DATABASE UNION SELECT \xC2\xB4N\xC2\xB4"),
            std::string::npos);
  EXPECT_NE(r.find("<ValoreCampo>1&lt;2&amp;</ValoreCampo>"), std::string::npos);
  EXPECT_NE(fasce::RichiestaListino(fasce::Picker::Ricarico, "").find("<SituazioneVuxGrid>5<"),
            std::string::npos);
  EXPECT_NE(fasce::RichiestaAssocia(true).find("<NomeTabella>FORNITO</NomeTabella>"),
            std::string::npos);
}

TEST(BufferTressil, ResultsAreReadWithinTheirBuffer) {
  // Catches: a result larger than the buffer read past it, a terminator
  // inside the result carried into the statement, a negative result read.
  const char buffer[tressil::kCodice] = {'P', 'X', '0', '0', '0', '1', 'A', 'B', 'C', 'D', 'E'};
  EXPECT_EQ(tressil::TestoRisultato(buffer, 500, tressil::kCodice), "PX0001ABCDE");
  EXPECT_EQ(tressil::TestoRisultato(buffer, 6, tressil::kCodice), "PX0001");
  EXPECT_EQ(tressil::TestoRisultato("AB\0CD", 5, 5), "AB");
  EXPECT_EQ(tressil::TestoRisultato(buffer, -1, tressil::kCodice), "");
  EXPECT_EQ(tressil::TestoRisultato("Citt\xE0", 5, tressil::kRagSoc), "Città");
}

}  // namespace
}  // namespace velmaro::testing
