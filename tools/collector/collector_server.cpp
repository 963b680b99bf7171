#include "tools/collector/collector_server.h"

#include <httplib.h>

#include "tools/collector/collector_core.h"

namespace collector {

struct CollectorServer::Impl {
  httplib::Server server;
};

CollectorServer::CollectorServer(std::string path) : path_(std::move(path)), impl_(std::make_unique<Impl>()) {}

CollectorServer::~CollectorServer() { Stop(); }

bool CollectorServer::Start(int port) {
  if (thread_.joinable()) return false;
  impl_->server.Post(path_, [this](const httplib::Request& request, httplib::Response& response) {
    int status = 200;
    std::string reply;
    HandlePost(request.body, status, reply);
    response.status = status;
    response.set_content(reply, "text/plain");
  });
  if (port == 0) {
    port_ = impl_->server.bind_to_any_port("127.0.0.1");
  } else {
    port_ = impl_->server.bind_to_port("127.0.0.1", port) ? port : -1;
  }
  if (port_ <= 0) return false;
  // The socket already listens; connections wait in its backlog until the loop runs.
  thread_ = std::thread([this] { impl_->server.listen_after_bind(); });
  return true;
}

void CollectorServer::Stop() {
  if (!thread_.joinable()) return;
  // stop() only reaches a loop that has started; wait for it (bounded).
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!impl_->server.is_running() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  impl_->server.stop();
  thread_.join();
}

std::string CollectorServer::Url() const { return "http://127.0.0.1:" + std::to_string(port_) + path_; }

void CollectorServer::SetResponseStatus(int status) {
  std::lock_guard<std::mutex> lock(mutex_);
  status_ = status;
}

void CollectorServer::SetResponsePattern(std::vector<int> pattern) {
  std::lock_guard<std::mutex> lock(mutex_);
  pattern_ = std::move(pattern);
  patternPosts_ = 0;
}

void CollectorServer::SetPostHook(std::function<void()> hook) {
  std::lock_guard<std::mutex> lock(mutex_);
  postHook_ = std::move(hook);
}

void CollectorServer::SetRecordSink(RecordSink sink) {
  std::lock_guard<std::mutex> lock(mutex_);
  sink_ = std::move(sink);
}

void CollectorServer::HandlePost(const std::string& body, int& status, std::string& reply) {
  std::function<void()> hook;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    hook = postHook_;
  }
  if (hook) hook();
  std::vector<std::string> records;
  std::string error;
  const bool decoded = DecodePost(body, records, error);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    bodies_.push_back(body);
    status = pattern_.empty() ? status_ : pattern_[patternPosts_++ % pattern_.size()];
    if (status == 200 && !decoded) status = 400;
    if (status == 200) {
      for (const auto& record : records) {
        records_.push_back(record);
        if (sink_) sink_(record);
      }
      batches_.push_back(records);
    }
  }
  changed_.notify_all();
  reply = decoded ? (status == 200 ? "ok" : "refused") : error;
}

std::vector<std::string> CollectorServer::Records() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return records_;
}

std::vector<std::vector<std::string>> CollectorServer::AcceptedBatches() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return batches_;
}

std::vector<std::string> CollectorServer::Bodies() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return bodies_;
}

size_t CollectorServer::PostCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return bodies_.size();
}

bool CollectorServer::WaitForRecords(size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return records_.size() >= count; });
}

bool CollectorServer::WaitForPosts(size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return bodies_.size() >= count; });
}

}  // namespace collector
