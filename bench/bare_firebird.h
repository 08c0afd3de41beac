#pragma once
// The bare program of the benchmarks: an attachment through the Firebird
// OO API with nothing of ours in between.
#include <firebird/Interface.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "db/database.h"

// Creates an empty database in a new temporary folder, `d` connected to it;
// returns its path (the folder is the path's parent).
inline std::string CreateBenchDatabase(db::Database& d, const char* prefix) {
  std::string tmpl =
      (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (!mkdtemp(tmpl.data())) std::abort();
  d.DatabaseName = tmpl + "/bench.fdb";
  d.Params = {"USER \"SYSDBA\"", "PASSWORD \"masterkey\"", "PAGE_SIZE 4096"};
  d.CreateDatabase();
  return d.DatabaseName;
}

struct BareAttachment {
  Firebird::IMaster* master = Firebird::fb_get_master_interface();
  Firebird::ThrowStatusWrapper st{master->getStatus()};
  Firebird::IProvider* prov = master->getDispatcher();
  Firebird::IXpbBuilder* dpb = nullptr;
  Firebird::IAttachment* att = nullptr;

  explicit BareAttachment(const std::string& path) {
    using Firebird::IXpbBuilder;
    dpb = master->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&st, isc_dpb_user_name, "SYSDBA");
    dpb->insertString(&st, isc_dpb_lc_ctype, "UTF8");
    att = prov->attachDatabase(&st, path.c_str(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
  }
  ~BareAttachment() {
    att->detach(&st);
    dpb->dispose();
    prov->release();
    st.dispose();
  }
  BareAttachment(const BareAttachment&) = delete;
  BareAttachment& operator=(const BareAttachment&) = delete;
};
