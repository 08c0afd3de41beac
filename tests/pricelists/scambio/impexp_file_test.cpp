// The exchange files: numbers and dates as the files write them, the
// classic line, and reading and writing Windows-1252 CR LF text.
#include "pricelists/scambio/impexp_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/temp_folder.h"
#include "platform/format.h"

namespace velmaro {
namespace {

using velmaro::testing::TempFolder;

std::string Leggi(const std::string& file) {
  std::ifstream f(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

void Scrivi(const std::string& file, const std::string& byte) {
  std::ofstream(file, std::ios::binary) << byte;
}

TEST(LeggiNumero, PointIsThousandsCommaIsDecimal) {
  // Catches a reader that takes "." as the decimal point, or lets through
  // texts a price column cannot hold.
  EXPECT_EQ(LeggiNumero("12.5"), 125);
  EXPECT_EQ(LeggiNumero("12,5"), 12.5);
  EXPECT_EQ(LeggiNumero("1.234,56"), 1234.56);
  EXPECT_EQ(LeggiNumero(" -2,5 "), -2.5);
  for (const char* no : {"", "abc", "1e3", "inf", "nan", "1,2,3", "12a", "-", "0x10"})
    EXPECT_EQ(LeggiNumero(no), -1) << no;
}

TEST(ReturnDateSQL, MonthFirstOrEmpty) {
  // Catches a day-first literal, or a text that is no date passing as one.
  plat::SetItalianFormats();
  EXPECT_EQ(ReturnDateSQL("31/12/2023"), "12-31-2023");
  EXPECT_EQ(ReturnDateSQL("5/3/2024"), "03-05-2024");
  EXPECT_EQ(ReturnDateSQL("31/02/2023"), "");
  EXPECT_EQ(ReturnDateSQL("abc"), "");
  EXPECT_EQ(ReturnDateSQL(""), "");
}

TEST(TFileRecord, FieldsAndChecksInOrder) {
  // Catches blanks lost inside a field, a blank line taken as a record,
  // and checks that run in another order or let a bad field through.
  plat::SetItalianFormats();
  TFileRecord r;
  r.LeggiRiga("  ART 1 ; ;12,5;01/02/2025;;;;extra;");
  EXPECT_FALSE(r.Vuoto);
  EXPECT_EQ(r.CodiceArticolo, "ART 1");
  EXPECT_EQ(r.Estensione(), "0");
  EXPECT_EQ(r.Prezzo(), 12.5);
  EXPECT_NO_THROW(r.Valida());
  for (const char* vuota : {"", "   \t", ";;;;;;;"}) {
    r.LeggiRiga(vuota);
    EXPECT_TRUE(r.Vuoto) << vuota;
  }
  const std::pair<const char*, const char*> casi[] = {
      {";0;1;01/01/2025", "Codice articolo non indicato"},
      {"A;0;;x", "Prezzo non riconosciuto"},
      {"A;0;1;", "Data inizio validità non trovata o non riconosciuta"},
      {"A;0;1;31/02/2025", "Data inizio validità non trovata o non riconosciuta"},
      {"A;0;1;01/01/2025;32/01/2025;x;x", "Data fine validità non riconosciuta"},
      {"A;0;1;01/01/2025;;dieci;x", "Quantità scaglione non riconosciuta"},
      {"A;0;1;01/01/2025;;;x", "Provvigione non riconosciuta"}};
  for (const auto& [riga, messaggio] : casi) {
    r.LeggiRiga(riga);
    try {
      r.Valida();
      ADD_FAILURE() << riga << " passed";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), messaggio) << riga;
    }
  }
}

TEST(LettoreRighe, SpreadsheetFileReadsAsWritten) {
  // Catches a final CR LF read as one more (empty) line, a CR left on a
  // line, and Windows-1252 letters mistaken for UTF-8.
  TempFolder t;
  Scrivi(t / "a.csv", "TESTA;\r\nCAF\xC8;d\xB4uno;\r\nsolo LF\n\r\nultima\r\n");
  LettoreRighe f(t / "a.csv");
  EXPECT_EQ(f.ContaRighe(), 5);
  std::vector<std::string> righe;
  for (std::string r; f.Leggi(r);) righe.push_back(r);
  EXPECT_EQ(righe, (std::vector<std::string>{"TESTA;", "CAF\xC3\x88;d\xC2\xB4uno;", "solo LF", "",
                                             "ultima"}));
  EXPECT_THROW(LettoreRighe(t / "manca.csv"), ErroreFile);
}

TEST(TFileDataSet, HeaderIsLineOneAndRewindReadsAgain) {
  // Catches line numbers off by one in the log, and a second pass that
  // does not start over.
  TempFolder t;
  Scrivi(t / "n.csv", "TESTA\r\nA;0;1;01/01/2025;\r\n\r\nB;0;2;01/01/2025;\r\n");
  TFileDataSet file(t / "n.csv");
  std::vector<std::pair<int, std::string>> letti;
  for (int giro = 0; giro < 2; ++giro, file.Riavvolgi())
    while (!file.Fine()) {
      file.Successivo();
      if (!file.Record().Vuoto) letti.push_back({file.NumeroRiga(), file.Record().CodiceArticolo});
    }
  EXPECT_EQ(letti,
            (std::vector<std::pair<int, std::string>>{{2, "A"}, {4, "B"}, {2, "A"}, {4, "B"}}));
}

TEST(ScrittoreCsv, ReplacesTheOldFileOnlyWhenComplete) {
  // Catches a half-written export destroying the previous file, a stray
  // temporary file, and values that break the layout (apostrophes, line
  // breaks) or leave the program's UTF-8.
  TempFolder t;
  const std::string nome = t / "lisNetto.csv";
  Scrivi(nome, "vecchio");
  {
    ScrittoreCsv w(nome);
    w.Campo("interrotto");
    w.FineRiga();
  }
  EXPECT_EQ(Leggi(nome), "vecchio");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(t.Path()), {}), 1);  // no temporary
  ScrittoreCsv w(nome);
  w.Testo("TESTA;");
  w.FineRiga();
  w.Campo("Sconto dell'anno");
  w.Campo("riga\r\ndue");
  w.Campo("più");
  w.Campo("");
  w.FineRiga();
  w.Conferma();
  EXPECT_EQ(Leggi(nome),
            "TESTA;\r\nSconto dell\xB4"
            "anno;riga due;pi\xF9;;\r\n");
  EXPECT_THROW(ScrittoreCsv(t / "manca/x.csv"), ErroreFile);

  // File names are UTF-8: an accented folder works both ways.
  std::filesystem::create_directories(std::filesystem::path(t / "Società"));
  ScrittoreCsv accentato(t / "Società/listino.csv");
  accentato.Testo("TESTA;");
  accentato.FineRiga();
  accentato.Conferma();
  LettoreRighe letto(t / "Società/listino.csv");
  std::string riga;
  EXPECT_TRUE(letto.Leggi(riga));
  EXPECT_EQ(riga, "TESTA;");
}

}  // namespace
}  // namespace velmaro
