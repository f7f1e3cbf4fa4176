#pragma once
// Where the program keeps what it must find again at its next start (the
// SNMPv3 boots counter): LMR_STATE_DIR when set, else the program's own
// folder when it may write there, else $XDG_DATA_HOME/lmr7300ap/
// (~/.local/share/lmr7300ap/ without it), made when missing.
#include <string>

namespace os {

// The folder with a final "/"; the program's folder when no other could be
// made.
std::string StateFolder();
// The same folder without LMR_STATE_DIR: where the program's own files go
// (the device log as well).
std::string ProgramDataFolder();

} // namespace os
