// The grid's print component: the project file's place and life, the job
// handed to Pelk.dll, and the failures of the library call.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/temp_folder.h"
#include "grid/vuxgridstampa.h"
#include "platform/hostfolder.h"
#include "print_fixture.h"
#include "ui/make.h"

namespace velmaro {
namespace {

using testing::PrintHost;

struct Stampa : testing::StampaArticoli {
  void SetUp() override {
    host.Layout(7, {{"CODICE", "Codice", 40, 0, 1},
                    {"DESCRIZIONE", "Descrizione", 60, 1, 1},
                    {"PREZZO", "Prezzo", 120, 2, 1}});
    host.Articoli(3);
    Componente(7);
  }
  bool ProgettoPresente() const { return plat::FileExists(stampa->CartellaReport()); }
};

TEST_F(Stampa, ProjectFilePlaceNameAndLife) {
  // Fault: an empty BinDir sending the project into a "report" folder that
  // does not exist, milliseconds missing from the name, or a project file
  // outliving the grid's print component that wrote it.
  const std::string& nome = stampa->NomeFile;
  const std::string cifre = nome.size() == 31 ? nome.substr(10, 17) : std::string();
  EXPECT_TRUE(nome.rfind("StVuxGrid_", 0) == 0 && nome.size() == 31 &&
              nome.compare(27, 4, ".LST") == 0 &&
              cifre.find_first_not_of("0123456789") == std::string::npos)
      << nome;
  const std::string percorso = stampa->CartellaReport();
  EXPECT_EQ(percorso, host.Folder() + stampa->NomeFile);
  stampa->BinDir = "/opt/programma";
  EXPECT_EQ(stampa->CartellaReport(), "/opt/programma/report/" + stampa->NomeFile);
  stampa->BinDir.clear();
  stampa->PreparaProgettoStampa();
  EXPECT_TRUE(plat::FileExists(percorso));
  stampa.reset();
  EXPECT_FALSE(plat::FileExists(percorso));
}

TEST_F(Stampa, JobTextByteForByte) {
  // Fault: the inserted texts escaped or re-encoded as UTF-8 (the library
  // reads the Windows code page), a piece out of order, the wrong mode
  // element, or the operator not first in the call.
  host.Pelk();
  stampa->TestoSQL = "SELECT * FROM ARTICOLI\r\nWHERE (PREZZO<=2) AND DESCRIZIONE<>'A&B'";
  stampa->Titolo = "ARTICOLI Società";
  const std::string atteso =
      "<VuxForm><SQLStampa>SELECT * FROM ARTICOLI\r\nWHERE (PREZZO<=2) AND DESCRIZIONE<>'A&B'"
      "</SQLStampa><NomeReport>" +
      stampa->CartellaReport() +
      "</NomeReport><TitoloStampa>Stampa ARTICOLI Societ\xE0</TitoloStampa>";
  stampa->EditaReport();
  EXPECT_EQ(host.Log(), "ShowPelk11UniFormD 1 0 " + atteso +
                            "<EditaReportDiretto>1</EditaReportDiretto></VuxForm>\n");
  EXPECT_FALSE(ProgettoPresente());

  std::filesystem::remove(host.LogPath());
  stampa->Anteprima();
  EXPECT_EQ(host.Log(), "ShowPelk11UniFormD 1 0 " + atteso +
                            "<AnteprimaDiretta>1</AnteprimaDiretta></VuxForm>\n");
  EXPECT_FALSE(ProgettoPresente());
}

TEST_F(Stampa, MissingLibraryOrExportShowsNothingAndLeavesNoFile) {
  // Fault: a message for a missing library, or the project left behind when
  // nothing was called.
  stampa->Anteprima();
  EXPECT_TRUE(op.Texts().empty());
  EXPECT_FALSE(ProgettoPresente());

  host.Pelk(std::string(VELMARO_SIBLINGS_DIR) + "/Kestrin.dll");  // without the print export
  stampa->Anteprima();
  EXPECT_TRUE(op.Texts().empty());
  EXPECT_FALSE(ProgettoPresente());
  EXPECT_TRUE(host.Files("StVuxGrid_").empty());
}

TEST_F(Stampa, LibraryRaisingIsShownAndTheProjectStillGoes) {
  // Fault: an error of the library escaping the print command, shown
  // without its heading, or the project file left on the error path.
  host.Pelk();
  stampa->TestoSQL = "SELECT * FROM TABELLA_CHE_NON_ESISTE";
  stampa->Anteprima();
  ASSERT_EQ(op.Texts().size(), 1u);
  EXPECT_EQ(op.Texts()[0].rfind("Errore nell'accesso alla DLL Pelk:\r", 0), 0u) << op.Texts()[0];
  EXPECT_NE(op.Texts()[0].find("TABELLA_CHE_NON_ESISTE"), std::string::npos) << op.Texts()[0];
  EXPECT_FALSE(ProgettoPresente());
}

TEST_F(Stampa, ProjectThatCannotBeWrittenSendsNoJob) {
  // Fault: a job sent for a project that was never written (a missing
  // "report" folder), or the failure swallowed instead of shown.
  host.Pelk();
  stampa->BinDir = host.Folder() + "bin";
  EXPECT_THROW(stampa->Anteprima(), std::exception);
  EXPECT_EQ(host.Log(), "");
  stampa->BinDir.clear();
  stampa->DatabaseLayout = nullptr;
  EXPECT_THROW(stampa->Anteprima(), std::exception);
  EXPECT_EQ(host.Log(), "");
  EXPECT_TRUE(host.Files("StVuxGrid_").empty());
}

TEST_F(Stampa, ProjectNameHoldingALinkIsWrittenAnew) {
  // Fault: a link standing at the project's name followed, writing the file
  // it names, or refused when it names no file: an existing file of that
  // name is deleted first, and a link is such a file.
  const std::string percorso = stampa->CartellaReport();
  testing::WriteBytes(host.Folder() + "altro.txt", "intatto");
  for (const std::string& verso : {host.Folder() + "altro.txt", host.Folder() + "manca.txt"}) {
    std::filesystem::remove(percorso);
    std::filesystem::create_symlink(verso, percorso);
    stampa->PreparaProgettoStampa();
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(percorso)));
    EXPECT_NE(PrintHost::ReadFile(percorso).find("[Layout]"), std::string::npos);
  }
  EXPECT_EQ(PrintHost::ReadFile(host.Folder() + "altro.txt"), "intatto");
  EXPECT_FALSE(plat::FileExists(host.Folder() + "manca.txt"));
}

TEST_F(Stampa, OnlyVisibleRowsOfTheGivenKeyInStoredOrder) {
  // Fault: hidden columns printed, the query's column order used instead of
  // the stored one, or rows of another grid or operator read.
  host.Layout(8, {{"PREZZO", "Prezzo", 50, 0, 1},
                  {"CODICE", "Codice", 50, 2, 1},
                  {"DESCRIZIONE", "Descrizione", 50, 1, 0}});
  host.Layout(-8, {{"DESCRIZIONE", "Descrizione", 50, 0, 1}});
  stampa->Situazione = 8;
  const auto colonne = stampa->LeggiColonne();
  ASSERT_EQ(colonne.size(), 2u);
  EXPECT_EQ(colonne[0].NomeCampo, "PREZZO");
  EXPECT_EQ(colonne[1].NomeCampo, "CODICE");
  stampa->Situazione = 9;  // a grid whose layout was only kept under its scratch copy
  EXPECT_TRUE(stampa->LeggiColonne().empty());
}

}  // namespace
}  // namespace velmaro
