#include "tests/support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

struct LoopbackHttpServer::Resource {
  std::string body;      // in-memory content, or
  std::string diskPath;  // a file streamed from disk
  int64_t size = 0;
  // Reads `length` bytes at `offset`; beyond the end it pads with 'x'.
  std::string Read(int64_t offset, int64_t length) const {
    std::string out;
    if (diskPath.empty()) {
      if (offset < size) out = body.substr(static_cast<size_t>(offset), static_cast<size_t>(length));
    } else if (offset < size) {
      FILE* file = std::fopen(diskPath.c_str(), "rb");
      if (file) {
        out.resize(static_cast<size_t>(std::min(length, size - offset)));
        fseeko(file, offset, SEEK_SET);
        out.resize(std::fread(&out[0], 1, out.size(), file));
        std::fclose(file);
      }
    }
    if (static_cast<int64_t>(out.size()) < length) out.append(static_cast<size_t>(length) - out.size(), 'x');
    return out;
  }
};

struct LoopbackHttpServer::Connection {
  int fd = -1;
  std::atomic<bool> done{false};
  std::thread thread;
};

namespace {

std::string StatusText(int status) {
  switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 302: return "Found";
    case 404: return "Not Found";
    case 416: return "Range Not Satisfiable";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// "bytes=a-b" / "bytes=a-"; false for anything else.
bool ParseRange(const std::string& value, int64_t& first, int64_t& last) {
  if (value.compare(0, 6, "bytes=") != 0) return false;
  const std::string bounds = value.substr(6);
  const size_t dash = bounds.find('-');
  if (dash == std::string::npos || dash == 0) return false;
  try {
    first = std::stoll(bounds.substr(0, dash));
    last = dash + 1 < bounds.size() ? std::stoll(bounds.substr(dash + 1)) : -1;
  } catch (...) {
    return false;
  }
  return first >= 0;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 64) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    return;
  }
  listenFd_ = fd;
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer() { Stop(); }

std::string LoopbackHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackHttpServer::AddFile(const std::string& path, std::string body) {
  auto resource = std::make_shared<Resource>();
  resource->size = static_cast<int64_t>(body.size());
  resource->body = std::move(body);
  std::lock_guard<std::mutex> lock(mutex_);
  resources_[path] = resource;
}

bool LoopbackHttpServer::AddDiskFile(const std::string& path, const std::string& diskPath) {
  FILE* file = std::fopen(diskPath.c_str(), "rb");
  if (!file) return false;
  fseeko(file, 0, SEEK_END);
  auto resource = std::make_shared<Resource>();
  resource->size = ftello(file);
  resource->diskPath = diskPath;
  std::fclose(file);
  std::lock_guard<std::mutex> lock(mutex_);
  resources_[path] = resource;
  return true;
}

void LoopbackHttpServer::AddRedirect(const std::string& fromPath, const std::string& toPath) {
  std::lock_guard<std::mutex> lock(mutex_);
  redirects_[fromPath] = toPath;
}

void LoopbackHttpServer::SetFaults(const std::string& path, const Faults& faults) {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_[path] = faults;
  getCounts_[path] = 0;
}

void LoopbackHttpServer::ReleaseStalls() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stallsReleased_ = true;
  }
  changed_.notify_all();
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

int LoopbackHttpServer::CountRequests(const std::string& method, const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(std::count_if(requests_.begin(), requests_.end(), [&](const Request& r) {
    return r.method == method && r.path == path;
  }));
}

int64_t LoopbackHttpServer::BodyBytesSent(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = bodyBytes_.find(path);
  return it == bodyBytes_.end() ? 0 : it->second;
}

bool LoopbackHttpServer::WaitForStall(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return stalled_ > 0; });
}

bool LoopbackHttpServer::WaitForBodyBytes(const std::string& path, int64_t bytes, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return bodyBytes_[path] >= bytes; });
}

void LoopbackHttpServer::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    if (listenFd_ >= 0) ::shutdown(listenFd_, SHUT_RDWR);
    for (auto& connection : connections_) ::shutdown(connection->fd, SHUT_RDWR);
  }
  changed_.notify_all();
  if (acceptor_.joinable()) acceptor_.join();
  // The acceptor has ended: no connection is added any more.
  for (auto& connection : connections_) {
    if (connection->thread.joinable()) connection->thread.join();
    ::close(connection->fd);
  }
  connections_.clear();
  if (listenFd_ >= 0) ::close(listenFd_);
}

bool LoopbackHttpServer::WaitWhileRunning(std::chrono::milliseconds duration) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !changed_.wait_for(lock, duration, [this] { return stopping_; });
}

void LoopbackHttpServer::ReapFinished() {
  for (auto it = connections_.begin(); it != connections_.end();) {
    if ((*it)->done) {
      (*it)->thread.join();
      ::close((*it)->fd);
      it = connections_.erase(it);
    } else {
      ++it;
    }
  }
}

void LoopbackHttpServer::AcceptLoop() {
  for (;;) {
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      if (fd >= 0) ::close(fd);
      return;
    }
    if (fd < 0) continue;
    ReapFinished();
    auto connection = std::make_unique<Connection>();
    connection->fd = fd;
    Connection* raw = connection.get();
    connection->thread = std::thread([this, raw] {
      Serve(raw);
      raw->done = true;
    });
    connections_.push_back(std::move(connection));
  }
}

bool LoopbackHttpServer::SendAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

void LoopbackHttpServer::Serve(Connection* connection) {
  std::string buffer;
  char chunk[4096];
  for (;;) {
    size_t end;
    while ((end = buffer.find("\r\n\r\n")) == std::string::npos) {
      const ssize_t got = ::recv(connection->fd, chunk, sizeof chunk, 0);
      if (got <= 0) return;
      buffer.append(chunk, static_cast<size_t>(got));
    }
    const std::string head = buffer.substr(0, end);
    buffer.erase(0, end + 4);

    const size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    const size_t space1 = requestLine.find(' ');
    const size_t space2 = requestLine.find(' ', space1 + 1);
    if (space1 == std::string::npos || space2 == std::string::npos) return;
    const std::string method = requestLine.substr(0, space1);
    const std::string path = requestLine.substr(space1 + 1, space2 - space1 - 1);
    std::string range;
    bool keepAlive = requestLine.find("HTTP/1.1") != std::string::npos;
    size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
    while (pos < head.size()) {
      size_t next = head.find("\r\n", pos);
      if (next == std::string::npos) next = head.size();
      const std::string line = head.substr(pos, next - pos);
      const size_t colon = line.find(':');
      if (colon != std::string::npos) {
        const std::string name = Lower(line.substr(0, colon));
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(' '));
        if (name == "range") range = value;
        if (name == "connection" && Lower(value) == "close") keepAlive = false;
      }
      pos = next + 2;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back({method, path, range, lineEnd == std::string::npos ? std::string() : head.substr(lineEnd + 2)});
    }
    changed_.notify_all();
    if (!Answer(connection->fd, method, path, range, keepAlive) || !keepAlive) {
      ::shutdown(connection->fd, SHUT_RDWR);
      return;
    }
  }
}

bool LoopbackHttpServer::Answer(int fd, const std::string& method, const std::string& path, const std::string& range,
                                bool& keepAlive) {
  std::shared_ptr<Resource> resource;
  std::string redirect;
  Faults faults;
  bool getFaulty = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto r = resources_.find(path);
    if (r != resources_.end()) resource = r->second;
    auto d = redirects_.find(path);
    if (d != redirects_.end()) redirect = d->second;
    auto f = faults_.find(path);
    if (f != faults_.end()) {
      faults = f->second;
      if (method == "GET") {
        getFaulty = faults.faultyGets < 0 || getCounts_[path] < faults.faultyGets;
        ++getCounts_[path];
      }
    }
  }
  if (method == "GET" && !getFaulty) {
    const Faults clean;
    faults.getStatus = clean.getStatus;
    faults.ignoreRange = clean.ignoreRange;
    faults.closeAfterBytes = clean.closeAfterBytes;
    faults.stallAfterBytes = clean.stallAfterBytes;
    faults.bytesPerSecond = clean.bytesPerSecond;
    faults.contentLengthDelta = clean.contentLengthDelta;
    faults.extraBytes = clean.extraBytes;
  }

  auto simple = [&](int status, const std::string& extraHeaders) {
    const std::string text = "HTTP/1.1 " + std::to_string(status) + " " + StatusText(status) + "\r\n" + extraHeaders +
                             "Content-Length: 0\r\n\r\n";
    return SendAll(fd, text.data(), text.size());
  };
  if (!redirect.empty()) return simple(302, "Location: " + Url(redirect) + "\r\n");
  if (!resource || (method != "GET" && method != "HEAD")) return simple(404, "");

  if (method == "HEAD") {
    const int status = faults.headStatus ? faults.headStatus : 200;
    const int64_t length = faults.headContentLength >= 0 ? faults.headContentLength : resource->size;
    const std::string text = "HTTP/1.1 " + std::to_string(status) + " " + StatusText(status) +
                             "\r\nAccept-Ranges: bytes\r\nContent-Length: " + std::to_string(length) + "\r\n\r\n";
    return SendAll(fd, text.data(), text.size());
  }
  if (faults.getStatus) return simple(faults.getStatus, "");

  int64_t first = 0;
  int64_t last = resource->size - 1;
  int status = 200;
  std::string contentRange;
  int64_t askedFirst = 0, askedLast = -1;
  if (!faults.ignoreRange && !range.empty() && ParseRange(range, askedFirst, askedLast)) {
    if (askedFirst >= resource->size) return simple(416, "Content-Range: bytes */" + std::to_string(resource->size) + "\r\n");
    first = askedFirst;
    if (askedLast >= 0 && askedLast < last) last = askedLast;
    status = 206;
    contentRange = "Content-Range: bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" +
                   std::to_string(resource->size) + "\r\n";
  }
  const int64_t length = last - first + 1 + faults.extraBytes;
  const int64_t announced = length + faults.contentLengthDelta;
  // A body that disagrees with its announced length leaves the stream unusable.
  if (faults.contentLengthDelta != 0) keepAlive = false;
  const std::string text = "HTTP/1.1 " + std::to_string(status) + " " + StatusText(status) +
                           "\r\nAccept-Ranges: bytes\r\n" + contentRange + "Content-Length: " +
                           std::to_string(announced) + "\r\n\r\n";
  if (!SendAll(fd, text.data(), text.size())) return false;
  return SendBody(fd, *resource, path, first, length, faults, keepAlive);
}

bool LoopbackHttpServer::SendBody(int fd, const Resource& resource, const std::string& path, int64_t offset,
                                  int64_t length, const Faults& faults, bool& keepAlive) {
  int64_t chunkSize = 1 << 16;
  if (faults.bytesPerSecond > 0) chunkSize = std::max<int64_t>(1, faults.bytesPerSecond / 10);
  int64_t sent = 0;
  while (sent < length) {
    int64_t take = std::min(chunkSize, length - sent);
    if (faults.closeAfterBytes >= 0) take = std::min(take, faults.closeAfterBytes - sent);
    if (faults.stallAfterBytes >= 0 && sent < faults.stallAfterBytes) take = std::min(take, faults.stallAfterBytes - sent);
    if (take > 0) {
      const std::string data = resource.Read(offset + sent, take);
      if (!SendAll(fd, data.data(), data.size())) return false;
      sent += take;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        bodyBytes_[path] += take;
      }
      changed_.notify_all();
    }
    if (faults.closeAfterBytes >= 0 && sent >= faults.closeAfterBytes) {
      keepAlive = false;
      return false;
    }
    if (faults.stallAfterBytes >= 0 && sent == faults.stallAfterBytes) {
      std::unique_lock<std::mutex> lock(mutex_);
      ++stalled_;
      changed_.notify_all();
      changed_.wait(lock, [this] { return stopping_ || stallsReleased_; });
      --stalled_;
      if (stopping_) return false;
    }
    if (faults.bytesPerSecond > 0 && sent < length && !WaitWhileRunning(std::chrono::milliseconds(100))) return false;
  }
  return true;
}
