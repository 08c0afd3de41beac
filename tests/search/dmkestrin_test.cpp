// The record search's data module: its configuration reads, the hooks into
// outside libraries (against a test library with exports of every
// signature) and the stored values.
#include "search/dmkestrin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "common/fixture.h"
#include "context/tabxform.h"
#include "db/transaction.h"
#include "ui/make.h"

namespace velmaro {
namespace {

using testing::HostFolder;
using testing::Operator;

// Operator 1 of a company whose CHIAMATEESTERNE names Hooks.dll for every
// hook (export by signature), and VorloPX.dll present.
class DataModuleKestrinTest : public ::testing::Test {
 protected:
  DataModuleKestrinTest() {
    std::vector<std::string> righe = {
        "CREATE TABLE CHIAMATEESTERNE (ID INTEGER NOT NULL PRIMARY KEY, STATUS SMALLINT,"
        " NOMEDLL VARCHAR(64), NOMEFUNZIONE VARCHAR(64))"};
    const std::pair<int, const char*> configurate[] = {
        {1, "Buffer"},       {2, "CodiceBuffer"},   {3, "Buffer"},
        {4, "CodiceBuffer"}, {5, "Buffer"},         {6, "CodiceBuffer"},
        {7, "Buffer"},       {8, "CodiceBuffer"},   {9, "BufferTestoLettera"},
        {10, "Buffer"},      {27, "BufferLettera"}, {28, "Buffer"},
        {29, "CodiceBuffer"}};
    for (const auto& [id, funzione] : configurate)
      righe.push_back("INSERT INTO CHIAMATEESTERNE VALUES (" + std::to_string(id) + ", " +
                      (id == 1 ? "0" : "1") + ", 'Hooks.dll', '" + funzione + "')");
    HostFolder::ExecAll(host_.CompanyDatabasePath(), righe);
    const std::string libreria = std::string(KESTRIN_PROVA_DIR) + "hooks/Hooks.dll";
    std::filesystem::create_symlink(libreria, host_.Folder() + "Hooks.dll");
    std::filesystem::create_symlink(libreria, host_.Folder() + "VorloPX.dll");
    cella_ = host_.Context();
    dm_ = ui::MakeOwned<TDataModuleKestrin>(nullptr, cella_);
    log_ = host_.Folder() + "hooks.log";
    setenv("HOOK_LOG", log_.c_str(), 1);
  }
  ~DataModuleKestrinTest() override {
    for (const char* v : {"HOOK_LOG", "HOOK_RISPOSTA", "HOOK_N", "HOOK_ECCEZIONE"}) unsetenv(v);
  }
  // The calls logged since the last look.
  std::vector<std::string> Chiamate() {
    std::vector<std::string> righe;
    std::ifstream in(log_);
    for (std::string r; std::getline(in, r);) righe.push_back(r);
    std::filesystem::remove(log_);
    return righe;
  }
  void Configura(int id, const std::string& dll, const std::string& funzione) {
    HostFolder::Exec(host_.CompanyDatabasePath(), "UPDATE CHIAMATEESTERNE SET NOMEDLL='" + dll +
                                                      "', NOMEFUNZIONE='" + funzione +
                                                      "' WHERE ID=" + std::to_string(id));
    // The module reads on the context's snapshot transaction: a new one sees the change.
    cella_->Riferimento().IBTransaction1->Commit();
  }

  testing::Company host_;
  CellaTabX* cella_ = nullptr;
  ui::Owned<TDataModuleKestrin> dm_;
  std::string log_;
};

using Righe = std::vector<std::string>;

TEST_F(DataModuleKestrinTest, ConfigurationIsReadAsStored) {
  // Faults: STATUS consulted by the lookup (a disabled row must still serve
  // a direct call), a half-configured row handed out, outputs kept from an
  // earlier lookup.
  Operator op;
  EXPECT_FALSE(dm_->FunzioneEsternaAbilitata(1));
  EXPECT_TRUE(dm_->FunzioneEsternaAbilitata(2));
  EXPECT_FALSE(dm_->FunzioneEsternaAbilitata(99));
  std::string dll = "x", funzione = "y";
  EXPECT_TRUE(dm_->GestisciFunzioneEsterna(1, dll, funzione));
  EXPECT_EQ(dll + "/" + funzione, "Hooks.dll/Buffer");
  Configura(3, "Hooks.dll", "");
  EXPECT_FALSE(dm_->GestisciFunzioneEsterna(3, dll, funzione));
  EXPECT_EQ(dll + funzione, "");
  setenv("HOOK_RISPOSTA", "F0001", 1);
  EXPECT_EQ(dm_->RicercaFornitoEst("F"), "F0001");
  EXPECT_EQ(dm_->RicercaCodIvaEst("22"), "") << "a half-configured hook calls nothing";
  EXPECT_EQ(Chiamate(), Righe{"Buffer|1|F"});
  EXPECT_TRUE(op.Texts().empty());
}

TEST_F(DataModuleKestrinTest, HooksHandTheirArgumentsAndBuffer) {
  // Faults: a hook reaching the wrong identifier's export, the wrong field
  // name or code in the buffer, the "C"/"F" letters swapped, an empty code
  // calling a decoding export, a Boolean read the wrong way.
  Operator op;
  setenv("HOOK_RISPOSTA", "OK", 1);
  EXPECT_EQ(dm_->RicercaCausaliEst("V"), "OK");
  EXPECT_EQ(dm_->DecodificaDescrizioneRidottaCodIvaEst("22"), "OK");
  EXPECT_EQ(dm_->DecodificaPercScontoSulPagamentoPagamentEst("P1"), "OK");
  EXPECT_TRUE(dm_->VerificaEsistenzaCodicePContiEst("C1"));
  EXPECT_EQ(dm_->ImpostaPContiCliEst("C1", "Bianchi"), "OK");
  EXPECT_EQ(dm_->ImpostaPContiForEst("C1", "Verdi"), "OK");
  EXPECT_TRUE(dm_->VerificaDelPContiCliEst("C1"));
  EXPECT_TRUE(dm_->VerificaDelPContiForEst("C1"));
  EXPECT_EQ(dm_->DecodificaDescrizioneCausaliEst(""), "");
  EXPECT_EQ(Chiamate(),
            (Righe{"Buffer|1|V", "CodiceBuffer|1|22|DescrizioneRidotta",
                   "CodiceBuffer|1|P1|PercScontoSulPagamento", "CodiceBuffer|1|C1|Codice",
                   "BufferTestoLettera|1|C1|Bianchi|C", "BufferTestoLettera|1|C1|Verdi|F",
                   "BufferLettera|1|C1|C", "BufferLettera|1|C1|F"}));
  Configura(4, "Hooks.dll", "Nessuna");
  EXPECT_EQ(dm_->DecodificaAliquotaCodIvaEst("22"), "") << "identifier 4 serves both";
  setenv("HOOK_N", "0", 1);
  EXPECT_FALSE(dm_->VerificaEsistenzaCodicePContiEst("C1"));
  EXPECT_FALSE(dm_->VerificaDelPContiCliEst("C1"));
  EXPECT_EQ(op.Texts(), Righe{"Non trovata funzione Nessuna nel file Hooks.dll"});
}

TEST_F(DataModuleKestrinTest, BufferGuards) {
  // Faults: a code one character too long cut (it would name another
  // account) or written past the buffer, a count of 0 or below giving
  // text, a count beyond the buffer reading past it, a long code refused by
  // a decoding hook, which passes it as an argument of its own.
  Operator op;
  setenv("HOOK_RISPOSTA", "X", 1);
  EXPECT_EQ(dm_->RicercaFornitoEst("1234567890"), "X") << "size - 1 fits";
  EXPECT_EQ(dm_->RicercaFornitoEst("12345678901"), "");
  EXPECT_EQ(dm_->RicercaFornitoEst("123456789012"), "");
  EXPECT_FALSE(dm_->VerificaDelPContiCliEst("12345678901"));
  EXPECT_EQ(dm_->ImpostaPContiCliEst("123456789012", "x"), "");
  EXPECT_EQ(dm_->RicercaPContiEst("12345678901"), "X") << "a buffer of 12";
  EXPECT_EQ(dm_->RicercaFornitoEst("123456789à"), "X") << "one byte a letter in the buffer";
  const std::string lungo(100, 'K');
  EXPECT_EQ(dm_->DecodificaRagSocFornitoEst(lungo), "X");
  EXPECT_EQ(Chiamate(), (Righe{"Buffer|1|1234567890", "Buffer|1|12345678901",
                               "Buffer|1|123456789\xE0", "CodiceBuffer|1|" + lungo + "|RagSoc"}));

  setenv("HOOK_RISPOSTA", "ABCDEFGHIJK", 1);  // fills all 11 bytes, no NUL
  setenv("HOOK_N", "50", 1);
  EXPECT_EQ(dm_->RicercaFornitoEst("1"), "ABCDEFGHIJK");
  setenv("HOOK_N", "3", 1);
  EXPECT_EQ(dm_->RicercaFornitoEst("1"), "ABC");
  for (const char* n : {"0", "-4"}) {
    setenv("HOOK_N", n, 1);
    EXPECT_EQ(dm_->RicercaFornitoEst("1"), "") << n;
    EXPECT_EQ(dm_->RiceviImportoScadenzeTotEst("a", "b"), "") << n;
  }
  EXPECT_TRUE(op.Texts().empty());
}

TEST_F(DataModuleKestrinTest, MessagesOfEveryFailure) {
  // Faults: a message without its subject, colon or carriage returns, the
  // error's text shown for an object that is no error, a library or export
  // name missing from its message, a result given after a failure.
  Operator op;
  setenv("HOOK_ECCEZIONE", "conto bloccato", 1);
  EXPECT_EQ(dm_->RicercaFornitoEst("F1"), "");
  EXPECT_EQ(dm_->DecodificaDescrizionePContiEst("C1"), "");
  EXPECT_FALSE(dm_->VerificaEsistenzaCodicePContiEst("C1"));
  EXPECT_FALSE(dm_->VerificaDelPContiForEst("C1"));
  EXPECT_EQ(dm_->ImpostaPContiCliEst("C1", "t"), "");
  EXPECT_EQ(dm_->RiceviNumeroRateEst("a", "b"), 0);
  setenv("HOOK_ECCEZIONE", "oggetto", 1);
  EXPECT_EQ(dm_->DecodificaDescrizioneCausaliEst("V"), "");
  unsetenv("HOOK_ECCEZIONE");
  Configura(28, "Manca.dll", "Buffer");
  EXPECT_EQ(dm_->RicercaCausaliEst("V"), "");
  Configura(28, "Hooks.dll", "Nessuna");
  EXPECT_EQ(dm_->RicercaCausaliEst("V"), "");
  const std::string accesso = "Errore nell'accesso alla DLL esterna per ";
  EXPECT_EQ(op.Texts(),
            (Righe{accesso + "le ricerche fornitori\r\rconto bloccato",
                   accesso + "la decodifica descrizione conti:\r\rconto bloccato",
                   accesso + "la verifica esistenza conti:\r\rconto bloccato",
                   accesso + "la verifica del conto fornitore\r\rconto bloccato",
                   accesso + "l' assegnazione dei conti\r\rconto bloccato",
                   accesso + "la decodifica scadenze:\r\rconto bloccato",
                   accesso + "la decodifica descrizione causali", "Non trovato il file Manca.dll",
                   "Non trovata funzione Nessuna nel file Hooks.dll"}));
  for (const auto& m : ui::App().Messages()) {
    EXPECT_EQ(m.Type, ui::MsgDlgType::Error);
    EXPECT_EQ(m.Buttons, ui::mbOK);
  }
}

TEST_F(DataModuleKestrinTest, InstalmentHooksOnVorloPX) {
  // Faults: the instalment number or the texts not passed on, the wrong
  // initial buffer content, the fixed library's messages not naming it.
  Operator op;
  setenv("HOOK_N", "3", 1);
  EXPECT_EQ(dm_->RiceviNumeroRateEst("30-60", "Città"), 3);
  unsetenv("HOOK_N");
  setenv("HOOK_RISPOSTA", "31/03/2025", 1);
  EXPECT_EQ(dm_->RiceviDataScadenzaEst("30-60", "x", 2), "31/03/2025");
  setenv("HOOK_RISPOSTA", "100,50", 1);
  EXPECT_EQ(dm_->RiceviImportoScadenzaEst("30-60", "x", 2), "100,50");
  EXPECT_EQ(dm_->RiceviImportoScadenzeTotEst("30-60", "x"), "100,50");
  EXPECT_EQ(
      Chiamate(),
      (Righe{"RiceviNumeroRateE|1|30-60|Citt\xE0", "RiceviDataScadenzaE|1|30-60|x|2|01/01/1900",
             "RiceviImportoScadenzaE|1|30-60|x|2|0", "RiceviImportoTotScadenzeE|1|30-60|x|0"}));
  EXPECT_TRUE(op.Texts().empty());

  std::filesystem::remove(host_.Folder() + "VorloPX.dll");
  EXPECT_EQ(dm_->RiceviNumeroRateEst("a", "b"), 0);
  std::filesystem::create_symlink(std::string(KESTRIN_PROVA_DIR) + "kestrin_vuoto/Kestrin.dll",
                                  host_.Folder() + "VorloPX.dll");
  EXPECT_EQ(dm_->RiceviDataScadenzaEst("a", "b", 1), "");
  EXPECT_EQ(op.Texts(), (Righe{"Non trovato il file VorloPX.dll",
                               "Non trovata funzione RiceviDataScadenzaE nel file VorloPX.dll"}));
}

}  // namespace
}  // namespace velmaro
