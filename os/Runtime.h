#pragma once
// The per-user runtime folder the toolkit expects. Without XDG_RUNTIME_DIR Qt
// warns on stderr at every start; a normal start must print nothing there.
namespace os {

// Sets XDG_RUNTIME_DIR to a private folder (/tmp/runtime-<uid>, mode 0700,
// created when missing) unless it is already set. Returns false when no such
// folder could be made; the variable is then left unset.
bool EnsureRuntimeDir();

} // namespace os
