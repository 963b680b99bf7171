#include "analytics/sdk/batch_sender.h"

#include "analytics/sdk/batch_encoding.h"
#include "analytics/sdk/http_request.h"
#include "analytics/sdk/last_send_status.h"
#include "analytics/sdk/sdk_console.h"
#include "platform/debug_output.h"

namespace analytics_sdk {

bool BatchSender::Send(const std::string& batchText, const std::map<std::string, std::string>& headers) {
  std::string body;
  if (!EncodeBatchBody(batchText, body)) return false;
  HttpRequest request(kRequestTimeoutSeconds);
  const HttpResponse response = request.Post(serverUrl_, body, std::string(), headers);
  const bool sent = response.status == 200;
  if (!sent) {
    Platform::DebugOutput(L"[analytics] Analytics SDK send failed");
    WriteError("Analytics SDK send failed: " + response.body);
  }
  SetLastSendSucceeded(sent);
  return sent;
}

}  // namespace analytics_sdk
