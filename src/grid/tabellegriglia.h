#pragma once
// The statements that create the grid's layout, positions and settings
// tables, as the record search and the host's installation run them when
// a company database lacks them.
#include <string>
#include <vector>

namespace velmaro {

extern const std::vector<std::string> kCreaSTOASP1;
extern const std::vector<std::string> kCreaSTOPOS1;
extern const std::vector<std::string> kCreaSETGRID;

}  // namespace velmaro
