// The context object's calls into sibling libraries, with the stand-ins
// the build makes, placed in the host folder as an installation has them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "context/memorydata.h"
#include "context/tabxform.h"
#include "common/fixture.h"

namespace velmaro {
namespace {

using testing::HostFolder;
using testing::Operator;

TEST(Librerie, PrintLibraryReceivesTheDataSetAndTheTitles) {
  // Fault: the print title and report name not reaching the in-memory rows
  // the print library reads, or the wrong export chosen for the data set.
  HostFolder host;
  host.CreateUserDatabase();
  host.AddUser(1, "Rossi", "", "Ditta Uno");
  std::filesystem::create_symlink(std::string(VELMARO_SIBLINGS_DIR) + "/Pelk.dll",
                                  host.Folder() + "Pelk.dll");
  const std::string log = host.Folder() + "sibling.log";
  setenv("VELMARO_SIBLING_LOG", log.c_str(), 1);
  Operator op;
  auto ctx = std::make_unique<TTabXForm>(nullptr, 0);
  ctx->SetUserPerNum(1);
  ctx->Inserisci("BVN", "TitoloStampa", "", "", "", "", "", "", "1");
  ctx->Inserisci("BVN", "NomeReport", "", "", "", "", "", "", "1");

  ctx->LanciaStampaConDll(*ctx->MemTabX, "Listino d'estate", "LISTINI.LST");
  unsetenv("VELMARO_SIBLING_LOG");

  EXPECT_TRUE(op.Texts().empty());
  EXPECT_EQ(ctx->GetV("TitoloStampa"), "Listino d'estate");
  EXPECT_EQ(ctx->GetV("NomeReport"), "LISTINI.LST");
  std::ifstream in(log);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "ShowPelk11MemFormD TRxMemoryData rows=2 cell=yes\n");
}

}  // namespace
}  // namespace velmaro
