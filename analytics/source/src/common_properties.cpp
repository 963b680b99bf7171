#include "analytics/source/src/common_properties.h"

#include "analytics/pk_event_records.h"

namespace pelko {
namespace analytics {

analytics_sdk::PropertiesNode BuildCommonProperties(const CommonPropertyInputs& in) {
  analytics_sdk::PropertiesNode node;
  node.SetString("pk_app_id", in.appName);
  node.SetString("$app_version", in.appVersion);
  node.SetString("$app_id", in.appName);
  node.SetString("pk_app_store", in.appStore);
  node.SetString("pk_edition", toString(static_cast<Edition>(in.edition)));
  if (!in.dlAppId.empty()) node.SetString("pk_dlapp_id", in.dlAppId);
  if (!in.dlAppVersion.empty()) node.SetString("pk_dlapp_version", in.dlAppVersion);
  node.SetString("pk_app_platform", in.os.appPlatform);
  node.SetString("pk_track_type", "Client");
  node.SetString("pk_sdk_version", "3.3.8");
  node.SetString("pk_sdk", "WindowsCPP");
  node.SetString("$os", in.os.os);
  node.SetString("$os_version", in.os.osVersion);
  node.SetString("pk_l10n_locale", in.locale.locale);
  node.SetString("pk_l10n_language", in.locale.language);
  node.SetString("pk_l10n_country", in.locale.country);
  node.SetInt("$screen_height", static_cast<int32_t>(in.screen.height));
  node.SetInt("$screen_width", static_cast<int32_t>(in.screen.width));
  if (!in.userId.empty()) node.SetString("pk_user_id", in.userId);
  return node;
}

}  // namespace analytics
}  // namespace pelko
