// The values the lists page composes for LISTSC, without a database.
#include "pricelists/listini/listini.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/format.h"

namespace velmaro::listini {
namespace {

// TABX values of the demo company: classifications 1 and 3 named, 2 not.
LettoreTabX Tabx(std::map<std::string, std::string> valori = {{"Classificazione1", "Categoria"},
                                                              {"Classificazione3", "Marca"}}) {
  return [valori](const std::string& nome) {
    auto it = valori.find(nome);
    return it == valori.end() ? std::string() : it->second;
  };
}

CampiTestata Sconto() {
  CampiTestata c;
  c.codice = "12";
  c.nome = "Sconti";
  c.tipo = "SCONTO";
  c.sel1 = "CODICE ARTICOLO";
  c.inizio = "05/03/2025";
  c.nessunaFine = true;
  return c;
}

TEST(Listini, LabelsFollowTabxBothWays) {
  // Catches: a classification label read from the wrong TABX name, an empty
  // value not falling back to the column, a typed label lost on the way back.
  EXPECT_EQ(EtichettaCampoSel("CLASSIFICAZIONE1", Tabx()), "Categoria");
  EXPECT_EQ(EtichettaCampoSel("CLASSIFICAZIONE2", Tabx()), "CLASSIFICAZIONE2");
  EXPECT_EQ(EtichettaCampoSel("CODICE", Tabx()), "CODICE");
  EXPECT_EQ(EtichettaCampoSel("", Tabx()), "");
  EXPECT_EQ(CampoSelDaEtichetta("Marca", Tabx()), "CLASSIFICAZIONE3");
  EXPECT_EQ(CampoSelDaEtichetta("Colore", Tabx()), "Colore");
  EXPECT_EQ(CampoSelDaEtichetta("", Tabx()), "");
  // Two classifications with one name: the first wins.
  EXPECT_EQ(CampoSelDaEtichetta("X", Tabx({{"Classificazione4", "X"}, {"Classificazione2", "X"}})),
            "CLASSIFICAZIONE2");
  EXPECT_EQ(EtichetteClassificazioni(Tabx()),
            (std::vector<std::string>{"Categoria", "CLASSIFICAZIONE2", "Marca", "CLASSIFICAZIONE4",
                                      "CLASSIFICAZIONE5", "CLASSIFICAZIONE6"}));
}

TEST(Listini, DatesAreMonthFirstWithDashes) {
  // Catches: day and month swapped in the literal, an invalid date accepted.
  plat::SetItalianFormats();
  EXPECT_EQ(ReturnDateSQL("05/03/2025"), "03-05-2025");
  EXPECT_TRUE(EUnaData("29/02/2024"));
  EXPECT_FALSE(EUnaData("29/02/2025"));
  EXPECT_FALSE(EUnaData(""));
  EXPECT_THROW(ReturnDateSQL("31/02/2025"), plat::ConvertError);
}

TEST(Listini, ReferenceDependsOnType) {
  // Catches: a reference stored for P and R lists, the default reference
  // quoted or missing for S, a stored default other than a list number
  // spliced into the statement, a typed reference ignored.
  plat::SetItalianFormats();
  CampiTestata c = Sconto();
  EXPECT_EQ(ComponiTestata(c, Tabx(), "7").riferimento, "7");
  EXPECT_EQ(ComponiTestata(c, Tabx(), "").riferimento, "");
  // A default that is not a list number cannot reach into the statement.
  EXPECT_EQ(ComponiTestata(c, Tabx(), "1,NOME='x'").riferimento, "'1,NOME=''x'''");
  EXPECT_EQ(ComponiTestata(c, Tabx(), "-").riferimento, "'-'");
  c.riferimento = "3";
  EXPECT_EQ(ComponiTestata(c, Tabx(), "7").riferimento, "'3'");
  for (const char* tipo : {"SCONTISPECIALI", "RICARICO"}) {
    c.tipo = tipo;
    EXPECT_EQ(ComponiTestata(c, Tabx(), "7").riferimento, "NULL") << tipo;
  }
  c.tipo = "SCONTISPECIALINETTI";
  EXPECT_EQ(ComponiTestata(c, Tabx(), "7").riferimento, "'3'");
  c.riferimento.clear();
  EXPECT_EQ(ComponiTestata(c, Tabx(), "7").riferimento, "NULL");
  c.tipo = "qualcosa";
  EXPECT_EQ(ComponiTestata(c, Tabx(), "7").tipo, "N");
}

TEST(Listini, SelectionColumnsAndLiterals) {
  // Catches: the special labels not turned into CODICE/ESTENSIONE, a label
  // stored instead of its column, apostrophes breaking the statement, empty
  // optional values written as '' instead of NULL.
  plat::SetItalianFormats();
  CampiTestata c = Sconto();
  c.sel2 = "ESTENSIONE CODICE";
  c.sel3 = "Marca";
  c.classificazione1 = "D'Amico";
  ValoriTestata v = ComponiTestata(c, Tabx(), "7");
  EXPECT_EQ(v.sel1, "'CODICE'");
  EXPECT_EQ(v.sel2, "'ESTENSIONE'");
  EXPECT_EQ(v.sel3, "'CLASSIFICAZIONE3'");
  EXPECT_EQ(v.classificazione1, "'D''Amico'");
  EXPECT_EQ(v.classificazione2, "NULL");
  EXPECT_EQ(v.inizio, "'03-05-2025'");
  EXPECT_EQ(v.fine, "NULL");
  // "CODICE ARTICOLO" means the code only in the first box.
  c.sel2 = "CODICE ARTICOLO";
  c.sel1 = "";
  v = ComponiTestata(c, Tabx(), "7");
  EXPECT_EQ(v.sel1, "NULL");
  EXPECT_EQ(v.sel2, "'CODICE ARTICOLO'");
}

}  // namespace
}  // namespace velmaro::listini
