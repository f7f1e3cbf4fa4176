#pragma once
// File names, the executable, the command line and the current folder.
// Texts may use "\" or "/" as separators (Windows-style paths come from the
// command line, the registry and configuration files); both count in every
// split and join, and "\" becomes "/" only at the file-system call.
#include <optional>
#include <string>
#include <vector>

namespace os {

bool IsPathSeparator(char c); // "\" or "/"

// Everything up to and including the last "\", "/" or ":" ("" when none).
std::string ExtractFilePath(const std::string& path);
// Everything after the last "\", "/" or ":".
std::string ExtractFileName(const std::string& path);
// The name alone when the folder is empty; folder + name when the folder ends
// in a separator; otherwise folder, the separator the folder already uses
// ("/" when it has none) and the name.
std::string JoinPath(const std::string& folder, const std::string& name);
// Every "\" turned into "/".
std::string ToPosixSeparators(const std::string& path);

// Maps a Windows-style or POSIX path, relative or absolute, onto the file
// system: a leading drive ("C:") is dropped, "\" and "/" both separate, and
// each component that does not exist under its exact name is looked up
// without case in its folder. Components from the first one that cannot be
// found on are kept as given, so the result also names files still to be
// created. A final separator is kept. "" stays "".
std::string ResolvePath(const std::string& path);

bool FileExists(const std::string& path);      // an existing regular file (or link to one)
bool DirectoryExists(const std::string& path); // an existing folder
// The first entry (file or folder, "." and ".." left out) whose name matches
// the last component of pattern, with "*" and "?" as wild cards and letters
// compared without case; its name alone, or nothing.
std::optional<std::string> FindFirstFile(const std::string& pattern);
// open(2) of the resolved path (O_CLOEXEC added); -1 with errno on failure.
int OpenFile(const std::string& path, int flags, unsigned mode = 0644);
// Removes a file (not a folder); false when there was none or it stays.
bool DeleteFile(const std::string& path);
// The file's lines, split at CR LF, LF or CR; a last line without an end is
// kept, a final line end adds no empty line. False when it cannot be read.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// The running executable's absolute path, and its folder with a final "/".
std::string ExePath();
std::string ExeDir();
std::string CurrentDir(); // without a final separator

// The command line as the class library gives it: ParamStr(0) is the
// executable's path, 1..ParamCount() the arguments, "" out of range. Taken
// from the process itself unless SetCommandLine replaced it.
int ParamCount();
std::string ParamStr(int index);
// Arguments after the program name; the program's entry passes argv here so
// that arguments a toolkit removed or added do not count.
void SetCommandLine(const std::vector<std::string>& arguments);
void SetCommandLine(int argc, char** argv); // argv[0] is skipped
void ResetCommandLine();                    // back to the process's own

} // namespace os
