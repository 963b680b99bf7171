// The demo package behind a loopback server the way the download server
// offers it: "/software/458" redirects to "/pkg/<md5>/Velmora_setup.exe"
// (test helper).
#pragma once
#include <string>

#include "tests/install/install_sandbox.h"
#include "tests/support/loopback_http_server.h"
#include "utils/file_md5.h"

class DemoPackageServer {
 public:
  DemoPackageServer() {
    const std::string md5 = Utils::FileMd5Hex(DemoPackagePath());
    packagePath_ = "/pkg/" + md5 + "/Velmora_setup.exe";
    server_.AddDiskFile(packagePath_, DemoPackagePath());
    server_.AddRedirect("/software/458", packagePath_);
  }
  std::wstring Url() const { return Wide(server_.Url("/software/458")); }
  std::wstring MissingUrl() const { return Wide(server_.Url("/software/404")); }
  LoopbackHttpServer& Server() { return server_; }

 private:
  LoopbackHttpServer server_;
  std::string packagePath_;
};
