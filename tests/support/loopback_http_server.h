// A small HTTP/1.1 server on 127.0.0.1 for tests and demos, with faults
// switched on per path. Serves bodies held in memory or streamed from disk
// (GET with or without a single "bytes=a-b" / "bytes=a-" range, HEAD),
// 302 redirects, and records every request. One thread per connection;
// Stop() (also run by the destructor) ends stalls and slow answers and
// joins every thread. Limits: GET and HEAD only, no TLS, no chunked bodies.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackHttpServer {
 public:
  // What goes wrong for one path. GET faults apply to the first `faultyGets`
  // GETs of the path (all of them when -1); HEAD faults to every HEAD.
  struct Faults {
    int headStatus = 0;              // HEAD answers this status (0: 200)
    int64_t headContentLength = -1;  // HEAD announces this length (-1: the real one)
    int getStatus = 0;               // GET answers this status, empty body (0: normal)
    bool ignoreRange = false;        // GET answers 200 with the whole body despite Range
    int64_t closeAfterBytes = -1;    // drop the connection after this many body bytes
    int64_t stallAfterBytes = -1;    // stop sending after this many body bytes until Stop()/ReleaseStalls()
    int64_t bytesPerSecond = 0;      // throttle the body (0: full speed)
    int64_t contentLengthDelta = 0;  // added to the announced GET length; the body is unchanged
    int64_t extraBytes = 0;          // bytes sent (and announced) beyond the asked range
    int faultyGets = -1;
  };
  struct Request {
    std::string method;
    std::string path;
    std::string range;    // the Range header's value, empty when absent
    std::string headers;  // every header line as received, "\r\n" separated
  };

  // Binds 127.0.0.1:`port` (0: a free port) and starts serving; Running()
  // is false when the port could not be bound.
  explicit LoopbackHttpServer(uint16_t port = 0);
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  bool Running() const { return listenFd_ >= 0; }
  uint16_t Port() const { return port_; }
  std::string Url(const std::string& path) const;  // "http://127.0.0.1:PORT" + path

  void AddFile(const std::string& path, std::string body);
  bool AddDiskFile(const std::string& path, const std::string& diskPath);  // false when unreadable
  void AddRedirect(const std::string& fromPath, const std::string& toPath);  // 302 to Url(toPath)
  void SetFaults(const std::string& path, const Faults& faults);
  void ReleaseStalls();

  std::vector<Request> Requests() const;
  int CountRequests(const std::string& method, const std::string& path) const;
  int64_t BodyBytesSent(const std::string& path) const;
  // Waits (bounded) until an answer of `path` is stalled / has sent `bytes` body bytes.
  bool WaitForStall(std::chrono::milliseconds timeout);
  bool WaitForBodyBytes(const std::string& path, int64_t bytes, std::chrono::milliseconds timeout);

  void Stop();

 private:
  struct Resource;
  struct Connection;
  void AcceptLoop();
  void Serve(Connection* connection);
  bool Answer(int fd, const std::string& method, const std::string& path, const std::string& range,
              bool& keepAlive);
  bool SendBody(int fd, const Resource& resource, const std::string& path, int64_t offset, int64_t length,
                const Faults& faults, bool& keepAlive);
  bool SendAll(int fd, const char* data, size_t size);
  bool WaitWhileRunning(std::chrono::milliseconds duration);  // false once stopping
  void ReapFinished();

  int listenFd_ = -1;
  uint16_t port_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  bool stallsReleased_ = false;
  int stalled_ = 0;
  std::map<std::string, std::shared_ptr<Resource>> resources_;
  std::map<std::string, std::string> redirects_;
  std::map<std::string, Faults> faults_;
  std::map<std::string, int> getCounts_;
  std::map<std::string, int64_t> bodyBytes_;
  std::vector<Request> requests_;
  std::vector<std::unique_ptr<Connection>> connections_;
  std::thread acceptor_;
};
