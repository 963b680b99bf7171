#include "download/curl_handles.h"

size_t DiscardBody(char*, size_t size, size_t count, void*) { return size * count; }

CURLcode ConfigureHeadLookup(CURL* h, const std::string& url, bool followRedirects, curl_xferinfo_callback stop,
                             void* owner) {
  int settings = curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  if (followRedirects) settings |= curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  settings |= curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
  settings |= curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &DiscardBody);
  settings |= curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 60L);
  settings |= curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  settings |= curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, stop);
  settings |= curl_easy_setopt(h, CURLOPT_XFERINFODATA, owner);
  return static_cast<CURLcode>(settings);
}
