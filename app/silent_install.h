// The one-click install without a window ("-silent"): the same checks,
// stages, records and reports as the window's install flow, with one line
// per stage code on standard output: "<code>\t<value>\t<text>" (UTF-8, the
// value as %g, flushed per line). An existing installation is updated; a
// running product or uninstaller refuses the start, and so does an unusable
// network when IsCheckNet is set. It neither starts the product nor opens
// pages.
#pragma once
#include <cstdio>
#include <string>

#include "download/downloader.h"
#include "utils/argument_map.h"

struct SilentInstallOptions {
  std::wstring installDirectory;  // "-instdir=": used as it is; empty: the default folder
  DownloadTiming timing;          // the engines' pauses (tests shorten them)
};

// Exit codes of the silent install (-1, another instance, is the entry's).
enum SilentExit { kSilentSucceeded = 0, kSilentFailed = 1 };

// Reads "-instdir=" from the command line's options.
SilentInstallOptions SilentOptionsFromArguments(const Utils::ArgumentMap& options);
// Runs one attempt to its end. Refusals go to `err` as one line.
int RunSilentInstall(const SilentInstallOptions& options, std::FILE* out, std::FILE* err);
// "<code>\t<value>\t<text>\n" in UTF-8.
std::string SilentStageLine(int32_t code, double value, const std::wstring& text);
