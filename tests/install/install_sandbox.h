// Test fixtures for the install driver: a per-test root that HOME, the XDG
// folders and TMPDIR point into (so nothing touches the real user's
// folders), the process-wide settings restored afterwards, the demo
// programs' paths, and a thread-safe recorder of stage codes with bounded
// waits.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/installer_settings.h"
#include "download/downloader.h"
#include "tests/support/env_override.h"
#include "tests/support/scratch_folder.h"

inline std::string BinDir() {
  const char* dir = std::getenv("VELMORA_BIN_DIR");
  return dir ? dir : ".";
}
inline std::string DemoPackagePath() { return BinDir() + "/demo-package"; }
inline std::string DemoUninstallerPath() { return BinDir() + "/demo-uninstaller"; }
inline std::wstring Wide(const std::filesystem::path& path) { return path.wstring(); }

struct RecordedStage {
  int32_t code;
  double value;
  std::wstring text;
};

class StageRecorder {
 public:
  StageCallback Callback() {
    return [this](int32_t code, double value, const wchar_t* text) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back({code, value, text});
      }
      changed_.notify_all();
    };
  }
  // Waits (at most `timeout`) until a recorded code is one of `codes`.
  bool WaitForAny(const std::vector<int32_t>& codes, std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
      for (const RecordedStage& e : events_)
        for (int32_t c : codes)
          if (e.code == c) return true;
      return false;
    });
  }
  std::vector<RecordedStage> Events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  std::vector<int32_t> Codes() const {
    std::vector<int32_t> codes;
    for (const RecordedStage& e : Events()) codes.push_back(e.code);
    return codes;
  }
  // The codes with runs of the same progress code folded into one.
  std::vector<int32_t> FoldedCodes() const {
    std::vector<int32_t> folded;
    for (int32_t c : Codes())
      if (folded.empty() || folded.back() != c || (c != 1002 && c != 2002 && c != 5002)) folded.push_back(c);
    return folded;
  }
  bool Has(int32_t code) const {
    for (const RecordedStage& e : Events())
      if (e.code == code) return true;
    return false;
  }
  RecordedStage First(int32_t code) const {
    for (const RecordedStage& e : Events())
      if (e.code == code) return e;
    return {0, 0.0, L""};
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<RecordedStage> events_;
};

// A per-test root with HOME, XDG folders, TMPDIR and the runtime folder inside it, and the
// process-wide settings put back as they were when the test ends.
class InstallSandbox : public ::testing::Test {
 protected:
  InstallSandbox()
      : home_("HOME", (root_.Path() / "home").c_str()),
        config_("XDG_CONFIG_HOME", (root_.Path() / "home/.config").c_str()),
        data_("XDG_DATA_HOME", (root_.Path() / "home/.local/share").c_str()),
        cache_("XDG_CACHE_HOME", (root_.Path() / "home/.cache").c_str()),
        documents_("XDG_DOCUMENTS_DIR", (root_.Path() / "home/Documents").c_str()),
        temp_("TMPDIR", (root_.Path() / "tmp").c_str()),
        runtime_("XDG_RUNTIME_DIR", (root_.Path() / "run").c_str()),
        savedSettings_(Settings()) {
    for (const char* sub : {"home/.config", "home/.local/share", "home/.cache", "home/Documents", "tmp", "run"})
      std::filesystem::create_directories(root_.Path() / sub);
    std::filesystem::permissions(root_.Path() / "run", std::filesystem::perms::owner_all);
  }
  ~InstallSandbox() override { Settings() = savedSettings_; }

  // A script for the demo programs, written into the root.
  std::string Script(const std::string& name, const std::string& text) {
    return root_.Write(name, text).string();
  }
  std::filesystem::path Root() const { return root_.Path(); }

  ScratchFolder root_;

 private:
  EnvOverride home_, config_, data_, cache_, documents_, temp_, runtime_;
  InstallerSettings savedSettings_;
};
