#pragma once
// The Windows folder ("C:\WINDOWS") of the machine, where settings INI files
// such as Brivane.ini are kept: the folder named by the environment variable
// VELMARO_WINDOWS_DIR, else "windows/" under the host folder, unless an
// override is set (tests set one).
#include <string>

namespace plat {

std::string WindowsFolder();  // ends in "/"
void SetWindowsFolderOverride(const std::string& folder);
void ClearWindowsFolderOverride();

}  // namespace plat
