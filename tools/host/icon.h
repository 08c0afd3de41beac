#pragma once
// The host installation's window icon, "Grafica/ZAREVUZI.ICO".

#include <cstdint>
#include <string>
#include <vector>

namespace host {

// A 16x16, 32-bit icon with one image: a price tag on a transparent ground.
std::vector<std::uint8_t> IconFileBytes();
// Writes IconFileBytes() to path; false when the file cannot be written.
bool WriteIconFile(const std::string& path);

}  // namespace host
