// The demo programs' scripts: one directive per line, run in order.
//   say TEXT           writes TEXT and a line feed in one write
//   write TEXT         writes TEXT as it is (no line feed added)
//   sleep MS           pauses
//   standard           the part's standard job (install, uninstall) with its lines
//   files              the part's file work only, printing nothing
//   grandchild-until F leaves a grandchild holding standard output until file F
//                      exists (at most 60 s)
//   flood BYTES        writes about BYTES bytes of "Progress=0.5" lines at once
//   touch F            creates file F
//   record F           writes the program's arguments, one per line, to file F
//   exit CODE          ends the program with CODE
// TEXT understands \n \r \t \\ and \xHH escapes (GBK or split UTF-8 bytes).
// Lines that are empty or start with "#" are skipped. The end of the script
// is "exit 0".
#pragma once
#include <functional>
#include <string>
#include <vector>

struct DemoPart {
  // Does the part's work; `announce` says whether to print protocol lines.
  std::function<int(bool announce)> job;
};

std::string DecodeEscapes(const std::string& text);
// Runs the script in `path` (or the standard job when `path` is empty).
int RunDemoScript(const std::string& path, const std::vector<std::string>& arguments, const DemoPart& part);
// The script named by "-demoscript=" among the arguments, else by `envName`.
std::string DemoScriptPath(const std::vector<std::string>& arguments, const char* envName);
// Writes all of `bytes` to standard output in one write where possible.
void WriteOut(const std::string& bytes);
