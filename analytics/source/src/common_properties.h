// The properties every track record carries: the application, its edition,
// the machine and the user's locale. Registered once as Sdk super properties.
#pragma once
#include <string>

#include "analytics/sdk/properties_node.h"
#include "analytics/source/src/system_properties.h"

namespace pelko {
namespace analytics {

struct CommonPropertyInputs {
  std::string appName;
  std::string appVersion;
  std::string appStore;
  std::string dlAppId;
  std::string dlAppVersion;
  std::string userId;
  int edition = 0;
  OsDescription os;
  LocaleParts locale;
  ScreenSize screen;
};

// Throws PkException "Unknown edition [N]!" for an edition outside the list.
analytics_sdk::PropertiesNode BuildCommonProperties(const CommonPropertyInputs& in);

}  // namespace analytics
}  // namespace pelko
