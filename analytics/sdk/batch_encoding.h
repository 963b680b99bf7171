// How a batch travels: gzip (zlib level 9), standard Base64 with padding,
// URL encoding of everything but letters, digits and "-._~", then the form
// body "data_list=" + encoded + "&gzip=1". Failures write their message to
// standard error and return false.
#pragma once
#include <string>

namespace analytics_sdk {

bool GzipCompress(const std::string& text, std::string& compressed);
std::string Base64Encode(const std::string& bytes);
std::string UrlEncodeForm(const std::string& text);
bool EncodeBatchBody(const std::string& batchText, std::string& body);

}  // namespace analytics_sdk
