#pragma once
// The host program's folder and file-name helpers. Names the host and the
// stored settings give are composed with "\"; every helper here splits at
// "/" and "\" alike, and the file-system helpers turn "\" into "/" before use.
#include <string>

namespace plat {

// Folder of the process's main executable, ending in "/", unless an
// override is set (the host stand-in and tests set one).
std::string HostFolder();
void SetHostFolderOverride(const std::string& folder);  // normalised to end in "/"
void ClearHostFolderOverride();

bool IsPathDelimiter(char c);  // "/" or "\"
// A name in Windows network form, "\\server\share\..." (or "//server/share/...",
// any two delimiters first): it names a file on
// another machine, which this machine's file system cannot reach. The
// file-system helpers below (and INI files) find nothing there and write
// nothing, rather than take it for a local path from the root.
bool IsNetworkName(const std::string& path);
std::string NativePath(const std::string& path);  // every "\" becomes "/"
std::string IncludeTrailingPathDelimiter(const std::string& path);
std::string ExcludeTrailingPathDelimiter(const std::string& path);
std::string ExtractFilePath(const std::string& path);  // up to and with the last delimiter
std::string ExtractFileDir(const std::string& path);   // same without the delimiter
std::string ExtractFileName(const std::string& path);
std::string ExtractFileExt(const std::string& path);  // with the dot, "" when none
std::string ChangeFileExt(const std::string& path, const std::string& ext);

bool FileExists(const std::string& path);  // a file, not a folder
bool DirectoryExists(const std::string& path);
bool CreateDir(const std::string& path);         // one level
bool ForceDirectories(const std::string& path);  // with every missing parent
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
std::string GetCurrentDir();

}  // namespace plat
