// Posts one encoded batch to the collector and records the outcome in the
// last-send status. Only status 200 counts as sent.
#pragma once
#include <map>
#include <string>

namespace analytics_sdk {

class BatchSender {
 public:
  explicit BatchSender(std::string serverUrl) : serverUrl_(std::move(serverUrl)) {}

  bool Send(const std::string& batchText, const std::map<std::string, std::string>& headers);

  static constexpr long kRequestTimeoutSeconds = 3;

 private:
  std::string serverUrl_;
};

}  // namespace analytics_sdk
