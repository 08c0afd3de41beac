// The exchange files: reading and writing Windows-1252 CR LF text.
#include "pricelists/scambio/filescambio.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/temp_folder.h"

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
