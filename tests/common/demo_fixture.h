#pragma once
// A throw-away host folder with the demo company, made as `velmaro-host init
// --demo-data` makes it and taken as the host folder while it lives, with
// the objects the launch road gives a window of one operator on it: for a
// window opened outside the road, as the editor's pages open theirs.
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "common/temp_folder.h"
#include "context/datamodule.h"
#include "context/launch.h"
#include "context/tabxform.h"
#include "hostinit.h"
#include "platform/format.h"
#include "platform/hostfolder.h"
#include "ui/application.h"

namespace velmaro::testing {

class DemoCompany {
 public:
  explicit DemoCompany(const std::string& prefix, std::int32_t user = 2) : temp_(prefix) {
    std::ostringstream summary;
    host::InitOptions options;
    options.demoData = true;
    host::InitHostFolder(temp_.Path() + "host", host::SqlFolder("/none"), options, summary);
    paths_ = host::PathsOf(temp_.Path() + "host");
    plat::SetHostFolderOverride(paths_.root);
    plat::SetItalianFormats();
    objects_ = std::make_unique<OggettiChiamata>(user);
  }
  // The objects go first; what they freed through the toolkit is gone once
  // the pending messages are handled.
  ~DemoCompany() {
    objects_.reset();
    ui::App().ProcessMessages();
    plat::ClearHostFolderOverride();
  }
  DemoCompany(const DemoCompany&) = delete;
  DemoCompany& operator=(const DemoCompany&) = delete;

  CellaDataModule* DM() const { return objects_->DataModule(); }
  TTabXForm& TabX() const { return objects_->Contesto()->Riferimento(); }
  const std::string& CompanyDatabase() const { return paths_.companyDb; }
  // A file of the throw-away folder, beside the host folder.
  std::string File(const std::string& name) const { return temp_.Path() + name; }

 private:
  TempFolder temp_;
  host::HostPaths paths_;
  std::unique_ptr<OggettiChiamata> objects_;
};

}  // namespace velmaro::testing
