#include "query/iblquery.h"

namespace velmaro {
void ShowIBLQueryForm(db::Table& dataSet, db::Database& database, const std::string& binDir,
                      const std::string& workDir, const std::string& section, std::uint8_t flag,
                      const std::string& iniFile) {
  ShowIBLQueryForm(dataSet, database, binDir, workDir, section, flag, iniFile, 0);
}
void ShowIBLQueryForm(db::Table&, db::Database&, const std::string&, const std::string&,
                      const std::string&, std::uint8_t, const std::string&, std::int32_t) {}
std::string PercorsoBrivaneIni() { return {}; }
}  // namespace velmaro
