// The classic layout's line: its fields and their checks; the file read
// line by line, and read again.
#include "pricelists/scambio/filedataset.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/temp_folder.h"
#include "platform/format.h"

namespace velmaro {
namespace {

using velmaro::testing::TempFolder;
using velmaro::testing::WriteBytes;

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

TEST(TFileDataSet, HeaderIsLineOneAndRewindReadsAgain) {
  // Catches line numbers off by one in the log, and a second pass that
  // does not start over.
  TempFolder t;
  WriteBytes(t / "n.csv", "TESTA\r\nA;0;1;01/01/2025;\r\n\r\nB;0;2;01/01/2025;\r\n");
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

}  // namespace
}  // namespace velmaro
