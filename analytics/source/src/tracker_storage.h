// Where the tracker keeps its files and how its identity is stored: the
// configuration INI (named by "Set.ini" beside the executable, or
// base/PKLocal/<appName>/<appName>_PKSConfigure.ini), the log file beside
// it, and the "Base" / "UninstallInfo" sections. A folder that cannot be
// created is not reported; later writes into it fail silently.
#pragma once
#include <string>

#include "analytics/source/src/tracker_context.h"

namespace pelko {
namespace analytics {

struct AnalyticsPaths {
  std::wstring folder;     // ends with a separator
  std::wstring configIni;
};

// The local application-data folder (the all-users documents folder before
// Windows 7); empty when unknown.
std::wstring DefaultBaseFolder();
// Reads "Set.ini" beside `executablePath`, creates the folders it needs.
AnalyticsPaths ResolveAnalyticsPaths(const std::wstring& executablePath, const std::wstring& baseFolder,
                                     const std::wstring& appName);
// Creates every missing folder along `path`; false at the first that fails.
bool CreateFoldersAlong(std::wstring path);
// Turns the other separator into the platform's.
std::wstring NormalizeSeparators(std::wstring path);

// Identity in the "Base" section; the context's paths must be set.
void LoadIdentity(TrackerContext& context);  // generates and saves a missing distinct id
void SaveIdentity(TrackerContext& context);
void SaveApplicationInfo(const TrackerContext& context, const std::string& appStore, const std::string& appName,
                         const std::string& appVersion);

}  // namespace analytics
}  // namespace pelko
