// The fixture of the libcurl engine tests: a loopback server publishing the
// package behind /software/458, a temporary folder, a code recorder, and
// the engine under test, which answers 1005 by restarting from inside its
// own callback as the orchestrator does.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/download/download_test_support.h"
#include "tests/support/loopback_http_server.h"
#include "utils/text.h"

constexpr size_t kMiB = 1048576;
using Codes = std::vector<int32_t>;

template <typename Engine>
class EngineFixture : public ::testing::Test {
 protected:
  // Serves `body` at /software/458, redirected to /pkg/<segment>/pkg.exe.
  std::string Publish(const std::string& body, const std::string& segment) {
    const std::string real = "/pkg/" + segment + "/pkg.exe";
    server_.AddFile(real, body);
    server_.AddRedirect("/software/458", real);
    return real;
  }
  void MakeEngine(DownloadTiming timing = FastTiming()) {
    engine_ = std::make_unique<Engine>(recorder_.Callback([this](const StageEvent& e) {
                                         if (e.code == DL_CODE_RETRY) engine_->Start();
                                       }),
                                       Utils::ToWide(server_.Url("/software/458"), 65001),
                                       folder_.WidePath("pkg.exe"), timing);
  }
  std::string Package() const { return ReadFileBytes(folder_.Path("pkg.exe")); }

  LoopbackHttpServer server_;
  TempFolder folder_;
  CodeRecorder recorder_;
  std::unique_ptr<Engine> engine_;
};
