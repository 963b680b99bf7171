// One blocking HTTP POST over a libcurl easy handle: no redirects, no
// certificate checks (the collector post carries nothing secret), a whole-
// transfer timeout in seconds. Status -1 means the transfer itself failed and
// the body then holds libcurl's error text.
#pragma once
#include <map>
#include <string>

namespace analytics_sdk {

struct HttpResponse {
  long status = -1;
  std::string body;
  std::map<std::string, std::string> headers;  // parsed, not used by the sender
};

class HttpRequest {
 public:
  // Throws std::runtime_error "Couldn't initialize curl handle".
  explicit HttpRequest(long timeoutSeconds);
  ~HttpRequest();
  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;

  // An empty content type adds no "Content-Type" header; headers go sorted by name.
  HttpResponse Post(const std::string& url, const std::string& body, const std::string& contentType,
                    const std::map<std::string, std::string>& headers);

 private:
  void* curl_ = nullptr;  // CURL*
  std::string baseUrl_;   // empty: the given URL is used as it is
  long timeoutSeconds_ = 3;
};

}  // namespace analytics_sdk
