#include "tools/collector/collector_core.h"

#include <zlib.h>

namespace collector {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Index just past the JSON string that starts at text[i] == '"', or npos.
size_t SkipString(const std::string& text, size_t i) {
  for (++i; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (text[i] == '"') {
      return i + 1;
    }
  }
  return std::string::npos;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

bool UrlDecode(const std::string& text, std::string& decoded) {
  decoded.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%') {
      if (i + 2 >= text.size()) return false;
      const int hi = HexValue(text[i + 1]);
      const int lo = HexValue(text[i + 2]);
      if (hi < 0 || lo < 0) return false;
      decoded += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else if (text[i] == '+') {
      decoded += ' ';
    } else {
      decoded += text[i];
    }
  }
  return true;
}

bool Base64Decode(const std::string& text, std::string& bytes) {
  bytes.clear();
  if (text.size() % 4 != 0) return false;
  for (size_t i = 0; i < text.size(); i += 4) {
    int v[4];
    int padding = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = text[i + k];
      if (c == '=') {
        // Padding only at the very end, at most two characters.
        if (i + 4 != text.size() || k < 2) return false;
        v[k] = 0;
        ++padding;
      } else {
        if (padding) return false;
        v[k] = Base64Value(c);
        if (v[k] < 0) return false;
      }
    }
    const unsigned triple = (v[0] << 18) | (v[1] << 12) | (v[2] << 6) | v[3];
    bytes += static_cast<char>((triple >> 16) & 0xFF);
    if (padding < 2) bytes += static_cast<char>((triple >> 8) & 0xFF);
    if (padding < 1) bytes += static_cast<char>(triple & 0xFF);
  }
  return true;
}

bool Gunzip(const std::string& compressed, std::string& text) {
  text.clear();
  z_stream stream{};
  if (inflateInit2(&stream, 31) != Z_OK) return false;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  stream.avail_in = static_cast<uInt>(compressed.size());
  char chunk[16384];
  int result = Z_OK;
  do {
    stream.next_out = reinterpret_cast<Bytef*>(chunk);
    stream.avail_out = sizeof(chunk);
    result = inflate(&stream, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END) break;
    text.append(chunk, sizeof(chunk) - stream.avail_out);
  } while (result != Z_STREAM_END);
  const bool complete = result == Z_STREAM_END && stream.avail_in == 0;
  inflateEnd(&stream);
  return complete;
}

bool SplitJsonArray(const std::string& text, std::vector<std::string>& records) {
  records.clear();
  size_t i = 0;
  auto skipSpace = [&] {
    while (i < text.size() && IsSpace(text[i])) ++i;
  };
  skipSpace();
  if (i >= text.size() || text[i] != '[') return false;
  ++i;
  skipSpace();
  if (i < text.size() && text[i] == ']') {
    ++i;
    skipSpace();
    return i == text.size();
  }
  for (;;) {
    skipSpace();
    if (i >= text.size() || text[i] != '{') return false;
    const size_t start = i;
    int depth = 0;
    while (i < text.size()) {
      const char c = text[i];
      if (c == '"') {
        i = SkipString(text, i);
        if (i == std::string::npos) return false;
        continue;
      }
      if (c == '{' || c == '[') ++depth;
      if (c == '}' || c == ']') --depth;
      ++i;
      if (depth == 0) break;
    }
    if (depth != 0) return false;
    records.push_back(text.substr(start, i - start));
    skipSpace();
    if (i < text.size() && text[i] == ',') {
      ++i;
      continue;
    }
    if (i < text.size() && text[i] == ']') {
      ++i;
      skipSpace();
      return i == text.size();
    }
    return false;
  }
}

bool ParseForm(const std::string& body, std::map<std::string, std::string>& fields) {
  fields.clear();
  size_t start = 0;
  while (start <= body.size()) {
    size_t end = body.find('&', start);
    if (end == std::string::npos) end = body.size();
    const std::string pair = body.substr(start, end - start);
    if (!pair.empty()) {
      const size_t equals = pair.find('=');
      std::string key;
      std::string value;
      if (!UrlDecode(pair.substr(0, equals), key)) return false;
      if (equals != std::string::npos && !UrlDecode(pair.substr(equals + 1), value)) return false;
      fields[key] = value;
    }
    start = end + 1;
  }
  return true;
}

bool DecodePost(const std::string& body, std::vector<std::string>& records, std::string& error) {
  records.clear();
  std::map<std::string, std::string> fields;
  if (!ParseForm(body, fields)) {
    error = "the form body has a broken escape";
    return false;
  }
  auto data = fields.find("data_list");
  if (data == fields.end()) {
    error = "the form body has no data_list";
    return false;
  }
  std::string json;
  if (fields["gzip"] == "1") {
    std::string compressed;
    if (!Base64Decode(data->second, compressed)) {
      error = "data_list is not Base64";
      return false;
    }
    if (!Gunzip(compressed, json)) {
      error = "data_list is not a gzip stream";
      return false;
    }
  } else {
    json = data->second;
  }
  if (!SplitJsonArray(json, records)) {
    error = "data_list is not a JSON array of objects";
    return false;
  }
  return true;
}

}  // namespace collector
