// Owning wrappers for the C handles of the download engines: a libcurl easy
// handle, a libcurl header list and a C runtime file stream.
#pragma once
#include <curl/curl.h>

#include <cstdio>
#include <memory>
#include <string>

struct CurlEasyCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;

struct CurlListFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHeaderList = std::unique_ptr<curl_slist, CurlListFree>;

struct FileClose {
  void operator()(FILE* file) const { std::fclose(file); }
};
using FileStream = std::unique_ptr<FILE, FileClose>;

// Discards a body (HEAD lookups) while telling libcurl it was consumed.
size_t DiscardBody(char* data, size_t size, size_t count, void* user);

// Sets `handle` up for a HEAD lookup of `url`. `stop` answers non-zero once
// the owner is being destroyed, so a lookup that hangs on a silent server ends.
CURLcode ConfigureHeadLookup(CURL* handle, const std::string& url, bool followRedirects,
                             curl_xferinfo_callback stop, void* owner);
