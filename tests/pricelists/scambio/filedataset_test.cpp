// The classic layout's line: its fields and their checks.
#include "pricelists/scambio/filedataset.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "platform/format.h"

namespace velmaro {
namespace {

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

}  // namespace
}  // namespace velmaro
