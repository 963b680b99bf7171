// The worker of a libcurl engine: runs one attempt per Start() on a thread
// named "ABDEF", lets a receiver call Start() from inside the engine's own
// callback (the new attempt then runs on the same worker once the current
// one has returned), and gives the engine abortable pauses. Destruction
// aborts and joins. Not for the URL-service engine (its worker runs once).
#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "utils/thread.h"

class AttemptRunner {
 public:
  explicit AttemptRunner(std::function<void()> attempt);
  ~AttemptRunner();
  AttemptRunner(const AttemptRunner&) = delete;
  AttemptRunner& operator=(const AttemptRunner&) = delete;

  // From outside: joins the previous worker, then starts a new one. From a
  // thread of this engine (worker, part or waiter): queues one more attempt.
  void Start();
  // Makes pauses return at once and Aborted() true; never cleared.
  void Abort();
  bool Aborted() const { return aborted_.load(); }
  // Waits `milliseconds` unless aborted; false when aborted.
  bool Pause(int milliseconds);
  // Marks the calling thread as one of this engine's (part and waiter threads).
  void AdoptCurrentThread();
  // Joins the worker (the owner calls it before its members go away).
  void JoinWorker();

 private:
  void WorkerLoop();
  bool OnEngineThread() const;

  std::function<void()> attempt_;
  std::unique_ptr<Utils::Thread> worker_;
  std::atomic<bool> aborted_{false};
  std::atomic<bool> restartPending_{false};
  std::mutex pauseMutex_;
  std::condition_variable pauseWake_;
};
