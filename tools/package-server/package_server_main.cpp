// package-server: serves the files of a folder on 127.0.0.1 the way the
// download server does (a redirect from /software/458 to /pkg/<md5>/<name>),
// with the loopback server's faults switched on by options. Prints
// "listening on http://127.0.0.1:PORT" once ready; runs until SIGINT/SIGTERM.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/loopback_http_server.h"
#include "utils/file_md5.h"

namespace {

std::atomic<bool> g_stop{false};
void OnSignal(int) { g_stop = true; }

const char kHelp[] =
    "usage: package-server --root DIR [options]\n"
    "Serves every regular file of DIR on 127.0.0.1 at /<name> and /pkg/<md5>/<name>;\n"
    "/software/458 redirects to /pkg/<md5>/<name> of the chosen file.\n"
    "\n"
    "  --root DIR          folder whose files are served (required)\n"
    "  --file NAME         file that /software/458 leads to (default: first by name)\n"
    "  --port N            port to listen on; 0 picks a free one (default 0)\n"
    "  --digest TEXT       use TEXT instead of the file's MD5 in the redirect (to provoke mismatches)\n"
    "Faults, applied to the chosen file:\n"
    "  --head-status N     HEAD answers status N\n"
    "  --head-length N     HEAD announces N bytes\n"
    "  --get-status N      GET answers status N with an empty body\n"
    "  --ignore-range      GET answers 200 with the whole body despite Range\n"
    "  --close-after N     drop the connection after N body bytes\n"
    "  --stall-after N     stop sending after N body bytes (until the server stops)\n"
    "  --rate N            send at most N body bytes per second\n"
    "  --length-delta N    announce N bytes more (or fewer) than the body has\n"
    "  --extra-bytes N     send N bytes beyond the asked range\n"
    "  --faulty-gets N     apply the GET faults to the first N GETs only (default: all)\n"
    "  --help              this text\n"
    "Prints \"listening on http://127.0.0.1:PORT\" on stdout when ready.\n";

bool ParseInt(const std::string& text, long long& value) {
  try {
    size_t used = 0;
    value = std::stoll(text, &used);
    return used == text.size();
  } catch (...) {
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string root, chosen, digestOverride;
  long long port = 0;
  LoopbackHttpServer::Faults faults;
  bool anyFault = false;
  std::vector<std::string> args(argv + 1, argv + argc);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::cout << kHelp;
      return 0;
    }
    if (a == "--ignore-range") {
      faults.ignoreRange = anyFault = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      std::cerr << "package-server: " << a << " needs a value (see --help)\n";
      return 2;
    }
    const std::string v = args[++i];
    long long n = 0;
    const bool numeric = ParseInt(v, n);
    if (a == "--root") root = v;
    else if (a == "--file") chosen = v;
    else if (a == "--digest") digestOverride = v;
    else if (!numeric) {
      std::cerr << "package-server: unknown option or bad number: " << a << " " << v << "\n";
      return 2;
    } else if (a == "--port") port = n;
    else if (a == "--head-status") faults.headStatus = static_cast<int>(n), anyFault = true;
    else if (a == "--head-length") faults.headContentLength = n, anyFault = true;
    else if (a == "--get-status") faults.getStatus = static_cast<int>(n), anyFault = true;
    else if (a == "--close-after") faults.closeAfterBytes = n, anyFault = true;
    else if (a == "--stall-after") faults.stallAfterBytes = n, anyFault = true;
    else if (a == "--rate") faults.bytesPerSecond = n, anyFault = true;
    else if (a == "--length-delta") faults.contentLengthDelta = n, anyFault = true;
    else if (a == "--extra-bytes") faults.extraBytes = n, anyFault = true;
    else if (a == "--faulty-gets") faults.faultyGets = static_cast<int>(n), anyFault = true;
    else {
      std::cerr << "package-server: unknown option " << a << " (see --help)\n";
      return 2;
    }
  }
  if (root.empty() || port < 0 || port > 65535) {
    std::cerr << kHelp;
    return 2;
  }

  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(root, error))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::cerr << "package-server: no files in " << root << "\n";
    return 1;
  }

  LoopbackHttpServer server(static_cast<uint16_t>(port));
  if (!server.Running()) {
    std::cerr << "package-server: cannot listen on 127.0.0.1:" << port << "\n";
    return 1;
  }
  bool found = chosen.empty();
  for (const auto& file : files) {
    const std::string name = file.filename().string();
    const bool isChosen = chosen.empty() ? file == files.front() : name == chosen;
    std::string digest = Utils::FileMd5Hex(file.string());
    if (isChosen && !digestOverride.empty()) digest = digestOverride;
    const std::string real = "/pkg/" + digest + "/" + name;
    server.AddDiskFile("/" + name, file.string());
    server.AddDiskFile(real, file.string());
    if (isChosen) {
      found = true;
      server.AddRedirect("/software/458", real);
      if (anyFault) {
        server.SetFaults(real, faults);
        server.SetFaults("/" + name, faults);
      }
      std::cerr << "package-server: /software/458 -> " << real << "\n";
    }
  }
  if (!found) {
    std::cerr << "package-server: no file named " << chosen << " in " << root << "\n";
    return 1;
  }

  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::cout << "listening on http://127.0.0.1:" << server.Port() << std::endl;
  while (!g_stop) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  server.Stop();
  return 0;
}
