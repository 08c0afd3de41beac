// The module's side of the calls into Kestrin.dll, against test libraries
// of that name that answer, raise, or lack their entries.
#include "search/kestrin.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/fixture.h"

namespace velmaro {
namespace {

using testing::HostFolder;
using testing::Operator;

// A host folder with one of the test libraries (or none) as Kestrin.dll.
class KestrinTest : public ::testing::Test {
 protected:
  void Installa(const std::string& tipo) {
    std::filesystem::create_symlink(
        std::string(KESTRIN_PROVA_DIR) + "kestrin_" + tipo + "/Kestrin.dll",
        host_.Folder() + "Kestrin.dll");
  }
  bool AncoraCaricata() const {
    void* h = dlopen((host_.Folder() + "Kestrin.dll").c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (h) dlclose(h);
    return h != nullptr;
  }
  void TearDown() override {
    unsetenv("KESTRIN_PROVA");
    unsetenv("KESTRIN_PROVA_LOG");
  }
  HostFolder host_;
};

TEST_F(KestrinTest, SearchAnswerComesBackWholeAfterTheLibraryIsFreed) {
  // Faults: the request not turned into Windows-1252 (or a character outside
  // it stopping the call), the answer read from memory of the freed library,
  // the library left loaded.
  Installa("pieno");
  Operator op;
  const std::string risposta = RicercaKestrin(
      7, 0x1234, "<VuxForm><NomeTabella>Città Ω</NomeTabella></VuxForm>", ChiamanteKestrin::Altro);
  EXPECT_EQ(risposta, "7|4660|<VuxForm><NomeTabella>Città ?</NomeTabella></VuxForm>");
  EXPECT_TRUE(op.Texts().empty());
  EXPECT_FALSE(AncoraCaricata());
}

TEST_F(KestrinTest, EveryFailureOfTheSearchCallForBothKindsOfCaller) {
  // Faults: a price-list window told of a missing library or entry, another
  // caller not told, the error's message lost or shown where the caller did
  // not ask for it, a non-error object escaping, the library not freed
  // after an error, an answer given after a failure.
  struct Caso {
    const char* nome;
    const char* libreria;  // "" = none in the host folder
    const char* modo;      // KESTRIN_PROVA, null = unset
    ChiamanteKestrin chiamante;
    bool conMessaggio;
    std::string box;  // "" = no box
    ui::MsgDlgType tipo;
  };
  const auto W = ui::MsgDlgType::Warning, E = ui::MsgDlgType::Error;
  const Caso casi[] = {
      {"no library, price lists", "", nullptr, ChiamanteKestrin::Listini, false, "", W},
      {"no library, other", "", nullptr, ChiamanteKestrin::Altro, false,
       "Non trovato \"Kestrin.dll\"", W},
      {"no entry, price lists", "vuoto", nullptr, ChiamanteKestrin::Listini, false, "", W},
      {"no entry, other", "vuoto", nullptr, ChiamanteKestrin::Altro, false,
       "Non trovata funzione \"ShowVuxRicercheFormY\" in \"Kestrin.dll\"", W},
      {"error, bare", "pieno", "eccezione:XML non valido", ChiamanteKestrin::Listini, false,
       "Errore nell'accesso alla DLL Kestrin", E},
      {"error, with message", "pieno", "eccezione:XML non valido", ChiamanteKestrin::Altro, true,
       "Errore nell'accesso alla DLL Kestrin:\rXML non valido", E},
      {"no error object, with message", "pieno", "oggetto", ChiamanteKestrin::Altro, true,
       "Errore nell'accesso alla DLL Kestrin", E},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    HostFolder host;
    if (*c.libreria)
      std::filesystem::create_symlink(
          std::string(KESTRIN_PROVA_DIR) + "kestrin_" + c.libreria + "/Kestrin.dll",
          host.Folder() + "Kestrin.dll");
    if (c.modo) setenv("KESTRIN_PROVA", c.modo, 1);
    Operator op;
    EXPECT_EQ(RicercaKestrin(1, 0, "<VuxForm/>", c.chiamante, c.conMessaggio), "");
    unsetenv("KESTRIN_PROVA");
    if (c.box.empty()) {
      EXPECT_TRUE(op.Texts().empty());
    } else {
      ASSERT_EQ(op.Texts().size(), 1u);
      EXPECT_EQ(op.Texts()[0], c.box);
      EXPECT_EQ(ui::App().Messages()[0].Type, c.tipo);
      EXPECT_EQ(ui::App().Messages()[0].Buttons, ui::mbOK);
    }
    void* h = dlopen((host.Folder() + "Kestrin.dll").c_str(), RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(h, nullptr) << "library left loaded";
    if (h) dlclose(h);
  }
}

TEST_F(KestrinTest, MalformedRequestThroughTheStandInLeavesNothingOpen) {
  // Faults: the parser's error lost on its way out of the library, a
  // context object, data module or window of the failed search left in the
  // application (their code goes with the library).
  host_.CreateUserDatabase();
  host_.AddUser(1, "Rossi", "", "Ditta Uno");
  std::filesystem::create_symlink(std::string(VELMARO_SIBLINGS_DIR) + "/Kestrin.dll",
                                  host_.Folder() + "Kestrin.dll");
  Operator op;
  const size_t prima = ui::App().Components().size();
  EXPECT_EQ(RicercaKestrin(1, 0, "<VuxForm><NomeTabella>", ChiamanteKestrin::Altro, true), "");
  ASSERT_EQ(op.Texts().size(), 1u);
  EXPECT_EQ(op.Texts()[0].rfind(
                "Errore nell'accesso alla DLL Kestrin:\rRichiesta di ricerca non valida", 0),
            0u)
      << op.Texts()[0];
  EXPECT_EQ(ui::App().Components().size(), prima);
  EXPECT_TRUE(ui::App().Forms().empty());
  EXPECT_FALSE(AncoraCaricata());
}

TEST_F(KestrinTest, CopyAndPasteHandTheDocumentOverAndReportFailure) {
  // Faults: the document not reaching the entry as Windows-1252 text, the
  // wrong entry called, a raised error reported as success.
  Installa("pieno");
  const std::string log = host_.Folder() + "kestrin.log";
  setenv("KESTRIN_PROVA_LOG", log.c_str(), 1);
  Operator op;
  EXPECT_EQ(CopiaKestrin(3, "<Copia>Fascia più</Copia>", ChiamanteKestrin::Listini),
            EsitoKestrin::Riuscita);
  EXPECT_EQ(IncollaKestrin(3, "<Incolla/>", ChiamanteKestrin::Listini), EsitoKestrin::Riuscita);
  setenv("KESTRIN_PROVA", "eccezione:no", 1);
  EXPECT_EQ(IncollaKestrin(3, "<Incolla/>", ChiamanteKestrin::Listini), EsitoKestrin::Errore);
  std::ifstream in(log, std::ios::binary);
  const std::string testo((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(testo, "CopiaE|3|<Copia>Fascia pi\xF9</Copia>\nIncollaE|3|<Incolla/>\n");
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Errore nell'accesso alla DLL Kestrin"});
}

TEST_F(KestrinTest, PasteFailureToldByTheCallerInPlaceOfTheLibraryBox) {
  // Faults: the library's box shown on top of the caller's own message, the
  // caller asked after a paste that went through, a failure of the caller's
  // own look-up escaping or leaving the operator told of nothing, the
  // library still loaded while the caller looks.
  Installa("pieno");
  int chiesto = 0;
  bool caricata = true;
  const auto spiega = [&](bool risposta, bool lancia) {
    return [&, risposta, lancia] {
      ++chiesto;
      caricata = AncoraCaricata();
      if (lancia) throw std::runtime_error("archivio chiuso");
      return risposta;
    };
  };
  {
    Operator op;
    EXPECT_EQ(
        IncollaKestrin(3, "<Incolla/>", ChiamanteKestrin::Listini, false, spiega(true, false)),
        EsitoKestrin::Riuscita);
    EXPECT_EQ(chiesto, 0);
    EXPECT_TRUE(op.Texts().empty());
  }
  setenv("KESTRIN_PROVA", "eccezione:no", 1);
  {
    Operator op;
    EXPECT_EQ(
        IncollaKestrin(3, "<Incolla/>", ChiamanteKestrin::Listini, false, spiega(true, false)),
        EsitoKestrin::Errore);
    EXPECT_EQ(chiesto, 1);
    EXPECT_FALSE(caricata);
    EXPECT_TRUE(op.Texts().empty());
  }
  for (const bool lancia : {false, true}) {
    Operator op;
    EXPECT_EQ(
        IncollaKestrin(3, "<Incolla/>", ChiamanteKestrin::Listini, false, spiega(false, lancia)),
        EsitoKestrin::Errore);
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"Errore nell'accesso alla DLL Kestrin"})
        << "lancia=" << lancia;
  }
  EXPECT_EQ(chiesto, 3);
  EXPECT_FALSE(AncoraCaricata());
}

}  // namespace
}  // namespace velmaro
