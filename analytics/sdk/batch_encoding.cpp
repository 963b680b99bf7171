#include "analytics/sdk/batch_encoding.h"

#include <zlib.h>

#include <vector>

#include "analytics/sdk/sdk_console.h"

namespace analytics_sdk {

bool GzipCompress(const std::string& text, std::string& compressed) {
  compressed.clear();
  z_stream stream{};
  // Window bits 31: a 32 KiB window with the gzip wrapper.
  if (deflateInit2(&stream, 9, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    WriteError("deflateInit2 failed while compressing.");
    return false;
  }
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  std::vector<char> chunk(32768);
  int result = Z_OK;
  do {
    stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
    stream.avail_out = static_cast<uInt>(chunk.size());
    result = deflate(&stream, Z_FINISH);
    compressed.append(chunk.data(), chunk.size() - stream.avail_out);
  } while (result == Z_OK);
  const std::string message = stream.msg ? stream.msg : "";
  deflateEnd(&stream);
  if (result != Z_STREAM_END) {
    WriteError("Exception during zlib compression: (" + std::to_string(result) + ") " + message);
    compressed.clear();
    return false;
  }
  return true;
}

std::string Base64Encode(const std::string& bytes) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (p[i] << 16) | (p[i + 1] << 8) | p[i + 2];
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  const size_t rest = bytes.size() - i;
  if (rest == 1) {
    const unsigned v = p[i] << 16;
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += "==";
  } else if (rest == 2) {
    const unsigned v = (p[i] << 16) | (p[i + 1] << 8);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += '=';
  }
  return out;
}

std::string UrlEncodeForm(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (unsigned char c : text) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                      c == '.' || c == '_' || c == '~';
    if (keep) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

bool EncodeBatchBody(const std::string& batchText, std::string& body) {
  std::string compressed;
  if (!GzipCompress(batchText, compressed)) return false;
  body = "data_list=" + UrlEncodeForm(Base64Encode(compressed)) + "&gzip=1";
  return true;
}

}  // namespace analytics_sdk
