#include "download/curl_handles.h"

size_t DiscardBody(char*, size_t size, size_t count, void*) { return size * count; }
