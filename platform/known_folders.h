// Known folders. POSIX mapping (environment values count only when absolute):
//   AppData         -> $XDG_DATA_HOME or ~/.local/share
//   LocalAppData    -> $XDG_CACHE_HOME or ~/.cache
//   ProgramFilesX86 -> /opt for root, else AppData
//   CommonDocuments -> ~/Documents (or $XDG_DOCUMENTS_DIR)
//   Temp            -> $TMPDIR or /tmp
// Paths come back without a trailing separator; empty when unknown.
#pragma once
#include <string>

namespace Platform {

enum class KnownFolder { AppData, LocalAppData, ProgramFilesX86, CommonDocuments, Temp };

std::wstring KnownFolderPath(KnownFolder folder);

}  // namespace Platform
