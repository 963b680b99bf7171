// The process-wide outcome of the latest collector post (false at start):
// it decides whether the next flush request runs on the caller's thread.
#pragma once

namespace analytics_sdk {

bool LastSendSucceeded();
void SetLastSendSucceeded(bool succeeded);

}  // namespace analytics_sdk
