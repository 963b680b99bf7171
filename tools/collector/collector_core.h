// Decoding of an analytics post as the collector receives it: the form body
// "data_list=<url-encoded Base64 of a gzip stream>&gzip=1" back to the JSON
// array of record texts, each record kept byte for byte as it was sent.
// Known limit: the array is split structurally; record texts are not parsed.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace collector {

// Percent escapes decoded, "+" read as a space; false on a broken escape.
bool UrlDecode(const std::string& text, std::string& decoded);
// Standard alphabet, "=" padding required to a multiple of four.
bool Base64Decode(const std::string& text, std::string& bytes);
bool Gunzip(const std::string& compressed, std::string& text);
// "[{...},{...}]" -> the object texts; false unless a JSON array of objects.
bool SplitJsonArray(const std::string& text, std::vector<std::string>& records);
// "a=1&b=2" -> {a:1, b:2}, values URL-decoded; false on a broken escape.
bool ParseForm(const std::string& body, std::map<std::string, std::string>& fields);

// The whole post. On failure `error` says which step rejected it.
bool DecodePost(const std::string& body, std::vector<std::string>& records, std::string& error);

}  // namespace collector
