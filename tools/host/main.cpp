// velmaro-host: the stand-in for the host business program.
//   velmaro-host init DIR [--demo-data] [--force]
//   velmaro-host run DIR [SCRIPT]
// Exit status: 0 done, 1 a failed init or script line, 2 a usage error.

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "db/engine.h"
#include "hostinit.h"
#include "hostrun.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Usage(const std::string& why) {
  if (!why.empty()) std::cerr << "velmaro-host: " << why << "\n";
  std::cerr << "usage: velmaro-host init DIR [--demo-data] [--force]\n"
               "       velmaro-host run DIR [SCRIPT]\n";
  return kUsage;
}

std::string ProgramFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : exe.parent_path().string();
}

int Init(const std::vector<std::string>& args) {
  std::string dir;
  host::InitOptions options;
  for (const auto& a : args) {
    if (a == "--demo-data")
      options.demoData = true;
    else if (a == "--force")
      options.force = true;
    else if (!a.empty() && a[0] == '-')
      return Usage("unknown option " + a);
    else if (dir.empty())
      dir = a;
    else
      return Usage("more than one folder given");
  }
  if (dir.empty()) return Usage("init needs a folder");
  options.siblingsFolder = ProgramFolder() + "/siblings";
  try {
    host::InitHostFolder(dir, host::SqlFolder(ProgramFolder()), options, std::cout);
  } catch (const host::AlreadyInitialised& e) {
    std::cerr << "velmaro-host: " << e.what() << "\n";
    return kUsage;
  } catch (const std::exception& e) {
    std::cerr << "velmaro-host: init failed: " << e.what() << "\n";
    return kFailed;
  }
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2) return Usage("run needs a folder and at most one script");
  return host::RunHost(args[0], args.size() == 2 ? args[1] : std::string(), ProgramFolder(),
                       std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  // Several processes open the same databases: the engine must run as
  // SuperClassic, which the repository's configuration selects.
  db::ConfigureEngine(db::DefaultEngineConfigDir());
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("");
  std::string command = args[0];
  args.erase(args.begin());
  if (command == "init") return Init(args);
  if (command == "run") return Run(args);
  return Usage("unknown command " + command);
}
