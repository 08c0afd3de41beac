#pragma once
// velmaro-host run: loads libVelmaro.so and plays an operator script.

#include <ostream>
#include <string>

namespace host {

// Runs the script at scriptPath (standard input when empty) with dir as the
// host folder. Returns 0, 1 after a failed line, 2 for a usage error.
int RunHost(const std::string& dir, const std::string& scriptPath, const std::string& programFolder,
            std::ostream& out, std::ostream& err);

}  // namespace host
