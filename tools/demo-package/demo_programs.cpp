#include "tools/demo-package/demo_programs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/demo-package/demo_script.h"

namespace {

// The list of what the package put into the folder, read by the uninstaller.
const char* const kManifest = ".velmora-demo-files";

// The product's data file. It is initialised, so it is stored in the binary
// and makes the package as big as a real one must be for the download
// engines, which refuse packages below 1 MiB.
constexpr size_t kProductDataBytes = 1536 * 1024;
const char kProductData[kProductDataBytes] = {'V', 'e', 'l', 'm', 'o', 'r', 'a', '\n'};

std::vector<std::string> Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "<key><folder>" may have been split at blanks; the folder is the rest of the line.
std::string TrailingValue(const std::vector<std::string>& arguments, const std::string& key) {
  for (size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i].rfind(key, 0) != 0) continue;
    std::string value = arguments[i].substr(key.size());
    for (size_t j = i + 1; j < arguments.size(); ++j) value += " " + arguments[j];
    return value;
  }
  return "";
}

std::string OptionValue(const std::vector<std::string>& arguments, const std::string& key) {
  for (size_t i = 1; i < arguments.size(); ++i)
    if (arguments[i].rfind(key, 0) == 0) return arguments[i].substr(key.size());
  return "";
}

bool MakeDirectories(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0755);
  mkdir(path.c_str(), 0755);
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CopySelf(const std::string& target) {
  std::ifstream in("/proc/self/exe", std::ios::binary);
  const std::string temporary = target + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
    if (!out) return false;
  }
  chmod(temporary.c_str(), 0700);
  return rename(temporary.c_str(), target.c_str()) == 0;
}

void Say(bool announce, const std::string& line) {
  if (announce) WriteOut(line + "\n");
}

int InstallPayload(const std::vector<std::string>& arguments, bool announce) {
  std::string folder = OptionValue(arguments, "-instdir=");
  if (folder.empty()) folder = TrailingValue(arguments, "/D=");
  if (folder.empty()) {
    Say(true, "Error=no installation folder given");
    return 4;
  }
  Say(announce, "Encode=UTF8");
  Say(announce, "Progress=0.1");
  if (!MakeDirectories(folder)) {
    Say(true, "Error=cannot create " + folder);
    return 5;
  }
  const std::string product = folder + "/Velmora.exe";
  const std::string uninstaller = folder + "/uninst.ep";
  const std::string readme = folder + "/readme.txt";
  if (!CopySelf(product) || !CopySelf(uninstaller)) {
    Say(true, "Error=cannot write into " + folder);
    return 6;
  }
  Say(announce, "Progress=0.5");
  std::ofstream(readme) << "Velmora demo installation\n";
  std::ofstream(folder + "/Velmora.dat", std::ios::binary).write(kProductData, kProductDataBytes);
  std::ofstream manifest(folder + "/" + kManifest, std::ios::trunc);
  manifest << "Velmora.exe\nuninst.ep\nreadme.txt\nVelmora.dat\n";
  manifest.close();
  Say(announce, "InstallVersion=1.0.0");
  Say(announce, "InstPath=" + folder);
  Say(announce, "ExePath=" + product);
  Say(announce, "UninstEp=" + uninstaller);
  Say(announce, "StartUrl=https://www.velmora.example/category/toturial");
  Say(announce, "StartupStyle=UserStartup");
  Say(announce, "Progress=1");
  Say(announce, "State=Success");
  return 0;
}

int RemovePayload(const std::vector<std::string>& arguments, bool announce) {
  const std::string folder = TrailingValue(arguments, "_?=");
  if (folder.empty()) {
    Say(true, "Error=no installation folder given");
    return 4;
  }
  Say(announce, "Progress=0.1");
  std::ifstream manifest(folder + "/" + kManifest);
  std::string name;
  while (std::getline(manifest, name))
    if (!name.empty() && name.find('/') == std::string::npos) unlink((folder + "/" + name).c_str());
  unlink((folder + "/" + kManifest).c_str());
  Say(announce, "Progress=0.9");
  rmdir(folder.c_str());  // only when nothing else is left in it
  Say(announce, "State=Success");
  return 0;
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

}  // namespace

int RunDemoPackage(int argc, char** argv) {
  const std::vector<std::string> arguments = Arguments(argc, argv);
  DemoPart part{[&arguments](bool announce) { return InstallPayload(arguments, announce); }};
  return RunDemoScript(DemoScriptPath(arguments, "VELMORA_DEMO_PACKAGE_SCRIPT"), arguments, part);
}

int RunDemoUninstaller(int argc, char** argv) {
  const std::vector<std::string> arguments = Arguments(argc, argv);
  DemoPart part{[&arguments](bool announce) { return RemovePayload(arguments, announce); }};
  return RunDemoScript(DemoScriptPath(arguments, "VELMORA_DEMO_UNINSTALLER_SCRIPT"), arguments, part);
}

int RunDemoProduct(int argc, char** argv) {
  const std::string until = OptionValue(Arguments(argc, argv), "--run-until=");
  if (until.empty()) {
    WriteOut("Velmora demo product 1.0.0\n");
    return 0;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!Exists(until) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return 0;
}

int RunDemoProgram(int argc, char** argv) {
  const std::vector<std::string> arguments = Arguments(argc, argv);
  const std::string name = argc > 0 ? BaseName(argv[0]) : "";
  if (name == "Velmora.exe") return RunDemoProduct(argc, argv);
  bool uninstall = name == "uninst.ep" || name == "Velmora_un_asa.exe";
  for (size_t i = 1; i < arguments.size(); ++i) uninstall = uninstall || arguments[i].rfind("_?=", 0) == 0;
  return uninstall ? RunDemoUninstaller(argc, argv) : RunDemoPackage(argc, argv);
}
