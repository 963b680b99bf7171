#include "download/attempt_runner.h"

#include <chrono>

namespace {
// Which runner the current thread works for; lets Start() tell a restart
// requested from inside the callback from one requested by the owner.
thread_local const AttemptRunner* t_currentRunner = nullptr;
}  // namespace

AttemptRunner::AttemptRunner(std::function<void()> attempt) : attempt_(std::move(attempt)) {}

AttemptRunner::~AttemptRunner() {
  Abort();
  JoinWorker();
}

void AttemptRunner::Start() {
  if (OnEngineThread()) {
    restartPending_ = true;
    return;
  }
  worker_.reset();  // waits for the previous attempt
  restartPending_ = false;
  worker_ = std::make_unique<Utils::Thread>(this, L"ABDEF", [](void* self) {
    static_cast<AttemptRunner*>(self)->WorkerLoop();
  });
  if (worker_->HasHandle()) worker_->Resume();
}

void AttemptRunner::Abort() {
  {
    std::lock_guard<std::mutex> lock(pauseMutex_);
    aborted_ = true;
  }
  pauseWake_.notify_all();
}

bool AttemptRunner::Pause(int milliseconds) {
  std::unique_lock<std::mutex> lock(pauseMutex_);
  pauseWake_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return aborted_.load(); });
  return !aborted_;
}

void AttemptRunner::AdoptCurrentThread() { t_currentRunner = this; }

void AttemptRunner::JoinWorker() {
  if (worker_ && !worker_->IsCurrentThread()) worker_.reset();
}

bool AttemptRunner::OnEngineThread() const { return t_currentRunner == this; }

void AttemptRunner::WorkerLoop() {
  AdoptCurrentThread();
  do {
    restartPending_ = false;
    attempt_();
  } while (restartPending_ && !aborted_);
  t_currentRunner = nullptr;
}
