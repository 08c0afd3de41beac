// Stand-in for the sibling print library "Pelk.dll". It prints nothing: it
// writes one line per call into the file named by VELMARO_SIBLING_LOG (when
// set), so a host script or a test can see what the module handed over.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "db/dataset.h"

namespace {

void Log(const char* export_name, db::DataSet* dataSet, const void* cell) {
  const char* path = std::getenv("VELMARO_SIBLING_LOG");
  if (!path || !*path) return;
  std::FILE* f = std::fopen(path, "a");
  if (!f) return;
  const std::string kind = dataSet ? dataSet->ClassName() : "(none)";
  const int rows = dataSet && dataSet->Active() ? dataSet->RecordCount() : -1;
  std::fprintf(f, "%s %s rows=%d cell=%s\n", export_name, kind.c_str(), rows,
               cell ? "yes" : "no");
  std::fclose(f);
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void ShowPelk11FormD(db::DataSet* dataSet, void* cell) {
  Log("ShowPelk11FormD", dataSet, cell);
}

__attribute__((visibility("default"))) void ShowPelk11MemFormD(db::DataSet* dataSet, void* cell) {
  Log("ShowPelk11MemFormD", dataSet, cell);
}

}  // extern "C"
