#include "analytics/sdk/http_request.h"

#include <curl/curl.h>

#include <stdexcept>

namespace analytics_sdk {
namespace {

size_t AppendBody(char* data, size_t size, size_t count, void* user) {
  static_cast<HttpResponse*>(user)->body.append(data, size * count);
  return size * count;
}

size_t ParseHeader(char* data, size_t size, size_t count, void* user) {
  const std::string line(data, size * count);
  const size_t colon = line.find(':');
  if (colon != std::string::npos) {
    std::string value = line.substr(colon + 1);
    const size_t start = value.find_first_not_of(" \t");
    const size_t end = value.find_last_not_of(" \t\r\n");
    value = start == std::string::npos ? std::string() : value.substr(start, end - start + 1);
    static_cast<HttpResponse*>(user)->headers[line.substr(0, colon)] = value;
  }
  return size * count;
}

struct HeaderList {
  curl_slist* list = nullptr;
  ~HeaderList() { curl_slist_free_all(list); }
};

}  // namespace

HttpRequest::HttpRequest(long timeoutSeconds) : timeoutSeconds_(timeoutSeconds) {
  curl_ = curl_easy_init();
  if (!curl_) throw std::runtime_error("Couldn't initialize curl handle");
}

HttpRequest::~HttpRequest() { curl_easy_cleanup(static_cast<CURL*>(curl_)); }

HttpResponse HttpRequest::Post(const std::string& url, const std::string& body, const std::string& contentType,
                               const std::map<std::string, std::string>& headers) {
  CURL* curl = static_cast<CURL*>(curl_);
  HttpResponse response;
  HeaderList headerList;
  std::map<std::string, std::string> allHeaders = headers;
  if (!contentType.empty()) allHeaders["Content-Type"] = contentType;
  for (const auto& header : allHeaders) {
    const std::string line = header.first + ": " + header.second;
    curl_slist* grown = curl_slist_append(headerList.list, line.c_str());
    if (grown) headerList.list = grown;
  }
  const std::string fullUrl = baseUrl_ + url;
  char errorText[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
  curl_easy_setopt(curl, CURLOPT_URL, fullUrl.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, ParseHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &response);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headerList.list);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "Analytics CPP SDK 0.9");
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds_);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl, CURLOPT_POST, 1L);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
  const CURLcode result = curl_easy_perform(curl);
  if (result != CURLE_OK) {
    response.status = -1;
    response.body = errorText[0] ? errorText : curl_easy_strerror(result);
  } else {
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    response.status = code;
  }
  // The handle must not keep pointers into this call's locals.
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  return response;
}

}  // namespace analytics_sdk
