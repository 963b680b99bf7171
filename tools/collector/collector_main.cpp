// collector: a loopback analytics collector for tests and demos.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/collector/collector_server.h"

namespace {

const char kHelp[] =
    "Usage: collector [--port N] [--output FILE] [--status CODE] [--path /PATH]\n"
    "                 [--exit-after RECORDS]\n"
    "\n"
    "Receives analytics posts on http://127.0.0.1:PORT/PATH (loopback only).\n"
    "Each post's form body \"data_list=...&gzip=1\" is URL-decoded, Base64-decoded,\n"
    "gunzipped and split into its JSON array of records.\n"
    "\n"
    "  --port N       port to listen on; 0 (the default) picks a free one\n"
    "  --output FILE  append every accepted record as one JSON line to FILE\n"
    "                 (default: standard output)\n"
    "  --status CODE  answer every post with CODE; anything but 200 drops the\n"
    "                 post's records (default 200)\n"
    "  --path /PATH   the path posts go to (default /collect)\n"
    "  --exit-after RECORDS\n"
    "                 exit with 0 once this many records were accepted\n"
    "  --help         this text\n"
    "\n"
    "Prints \"listening on http://127.0.0.1:PORT/PATH\" once ready; stops on\n"
    "SIGINT or SIGTERM. A post that cannot be decoded is answered with 400.\n";

std::atomic<bool> g_stop{false};

extern "C" void OnSignal(int) { g_stop = true; }

}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  int status = 200;
  std::string output;
  std::string path = "/collect";
  size_t exitAfter = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    } else if (arg == "--port" && hasValue) {
      port = std::atoi(argv[++i]);
    } else if (arg == "--status" && hasValue) {
      status = std::atoi(argv[++i]);
    } else if (arg == "--output" && hasValue) {
      output = argv[++i];
    } else if (arg == "--exit-after" && hasValue) {
      exitAfter = static_cast<size_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--path" && hasValue) {
      path = argv[++i];
    } else {
      std::fprintf(stderr, "collector: unknown or incomplete option %s (see --help)\n", arg.c_str());
      return 2;
    }
  }

  std::ofstream file;
  if (!output.empty()) {
    file.open(output, std::ios::app | std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "collector: cannot open %s\n", output.c_str());
      return 1;
    }
  }
  collector::CollectorServer server(path);
  server.SetResponseStatus(status);
  server.SetRecordSink([&](const std::string& record) {
    std::ostream& out = output.empty() ? std::cout : file;
    out << record << '\n';
    out.flush();
  });
  if (!server.Start(port)) {
    std::fprintf(stderr, "collector: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::printf("listening on %s\n", server.Url().c_str());
  std::fflush(stdout);
  // The server runs on its own thread; this one waits for a signal or the record count.
  const size_t target = exitAfter ? exitAfter : static_cast<size_t>(-1);
  while (!g_stop) {
    if (server.WaitForRecords(target, std::chrono::milliseconds(100))) break;
  }
  server.Stop();
  return 0;
}
