#include "query/iblquery.h"

#include "db/database.h"
#include "db/table.h"
#include "db/transaction.h"
#include "platform/hostfolder.h"
#include "platform/ini.h"
#include "platform/windowsfolder.h"
#include "query/iblqueryform.h"
#include "ui/make.h"

namespace velmaro {

std::string PercorsoBrivaneIni() {
  std::string host = plat::HostFolder();
  if (plat::DirectoryExists(host + "ini_log_err")) return host + "Brivane.ini";
  return plat::WindowsFolder() + "Brivane.ini";
}

void ShowIBLQueryForm(db::Table& dataSet, db::Database& database, const std::string& binDir,
                      const std::string& workDir, const std::string& section, std::uint8_t flag,
                      const std::string& iniFile) {
  ShowIBLQueryForm(dataSet, database, binDir, workDir, section, flag, iniFile, 0);
}

void ShowIBLQueryForm(db::Table& dataSet, db::Database& database, const std::string& binDir,
                      const std::string& workDir, const std::string& section, std::uint8_t flag,
                      const std::string& iniFile, std::int32_t userNumber) {
  auto form = ui::MakeOwned<TIBLQueryForm>(nullptr);
  form->Sezione = section;
  form->Flag = flag;
  form->IniFile = iniFile;
  form->BinDir = binDir;
  form->WorkDir = workDir;
  if (binDir.empty() || workDir.empty()) {
    // The stand-in of "C:\WINDOWS" is the Windows folder.
    plat::IniFile ini(iniFile.empty() ? PercorsoBrivaneIni() : iniFile);
    const std::string predefinita = plat::ExcludeTrailingPathDelimiter(plat::WindowsFolder());
    if (workDir.empty())
      form->WorkDir = ini.ReadString(section, "Directory di lavoro", predefinita);
    if (binDir.empty()) form->BinDir = ini.ReadString(section, "Directory bin", predefinita);
  }
  form->SetCaption("Query - Ditta: " + section);
  db::Transaction* tr = dataSet.GetTransaction();
  form->Apri(database, tr ? tr->Params : std::vector<std::string>{}, dataSet.TableName);
  form->ImpostaUtente(userNumber);
  form->ShowModal();
}

}  // namespace velmaro
