#include "install/installer.h"

#include "app/installer_settings.h"
#include "install/child_output_reader.h"
#include "install/install_codes.h"
#include "install/protocol_values.h"
#include "platform/child_process.h"
#include "utils/log.h"
#include "utils/text.h"

using namespace InstallProtocol;

namespace {

const wchar_t* TrueFalse(bool on) { return on ? L"true" : L"false"; }

double DetentionValue(const std::wstring& rest) {
  int32_t number = 0;
  LeadingInt(rest, number);
  return static_cast<double>(static_cast<uint32_t>(number));  // -1 arrives as 4294967295
}

}  // namespace

CInstaller::CInstaller(StageCallback callback, std::wstring quotedPackage, std::wstring installDirectory,
                       bool desktopShortcut, bool startMenuShortcut, bool administratorAccount)
    : callback_(std::move(callback)),
      package_(std::move(quotedPackage)),
      installDirectory_(std::move(installDirectory)),
      startMenuShortcut_(startMenuShortcut),
      desktopShortcut_(desktopShortcut),
      administratorAccount_(administratorAccount) {}

CInstaller::~CInstaller() { worker_.reset(); }

std::wstring CInstaller::BuildCommandLine() const {
  std::wstring line = package_;
  line += L" /S -console=show -version=1.0.0";
  line += L" -adminact=";
  line += TrueFalse(administratorAccount_);
  line += L" -authorizationact=";
  line += TrueFalse(elevated_);
  line += L" -dsc=";
  line += TrueFalse(desktopShortcut_);
  line += L" -ssc=";
  line += TrueFalse(startMenuShortcut_);
  if (!language_.empty()) line += L" -inslang=\"" + language_ + L"\"";
  const std::wstring& extra = Settings().InstCmd;
  if (!extra.empty()) line += L" " + extra;
  // The package reads everything after "/D=" as the folder, so it comes last.
  if (!installDirectory_.empty()) line += L" -instdir=\"" + installDirectory_ + L"\" /D=" + installDirectory_;
  return line;
}

void CInstaller::Start() {
  commandLine_ = BuildCommandLine();
  worker_.reset();
  worker_ = std::make_unique<Utils::Thread>(this, L"ABDEF", &CInstaller::RunThread);
  worker_->Resume();
}

void CInstaller::RunThread(void* self) { static_cast<CInstaller*>(self)->Run(); }

void CInstaller::Emit(int32_t code, double value, const std::wstring& text) {
  if (callback_) callback_(code, value, text.c_str());
}

void CInstaller::Run() {
  Emit(IST_CODE_START, 0.0);
  Emit(IST_CODE_PROGRESS, 0.0);
  int32_t verdict = kVerdictNone;
  {
    // Per-run state: the package process lives only as long as this run.
    Platform::ChildProcess child;
    if (!child.Start(commandLine_)) {
      Emit(IST_CODE_FAIL, 2.0);
      return;
    }
    const bool verdictSeen = ReadChildLines(child, [this, &verdict](const std::string& bytes) {
      // Decoded line by line, so an "Encode=" line governs the very next line.
      verdict = Parse(Utils::ToWide(bytes, codePage_));
      return verdict != kVerdictNone;
    });
    // Nothing after the verdict counts, but the pipe is still emptied: a
    // package that goes on writing must not block on a full pipe while we
    // wait for it to end.
    if (verdictSeen) ReadChildLines(child, [](const std::string&) { return false; });
    child.WaitForExit();
  }
  if (verdict == kVerdictNone) Emit(IST_CODE_SUCCESS, 1.0);
}

int32_t CInstaller::Parse(const std::wstring& text) {
  int32_t verdict = kVerdictNone;
  for (const std::wstring& line : ProtocolLines(text)) {
    auto is = [&line](const wchar_t* key) { return Utils::StartsWith(line, key); };
    auto rest = [&line](const wchar_t* key) { return RestOfLine(line, key); };
    if (is(L"Progress=")) {
      double progress = 0.0;
      LeadingDouble(rest(L"Progress="), progress);
      Emit(IST_CODE_PROGRESS, progress);
    } else if (is(L"InstPath=")) {
      Emit(IST_CODE_INST_PATH, 0.0, rest(L"InstPath="));
    } else if (is(L"State=")) {
      const std::wstring state = Utils::Trim(rest(L"State="));
      if (state == L"Success") {
        Emit(IST_CODE_SUCCESS, 0.0);
        verdict = kVerdictSuccess;
      } else if (state == L"Fail") {
        Emit(IST_CODE_FAIL, 0.0, L"安装包安装失败");
        verdict = kVerdictFailure;
      }
    } else if (is(L"InstallVersion=")) {
      const std::wstring numbers = rest(L"InstallVersion=");
      Version read;
      size_t used = 0, at = 0;
      if (LeadingInt(numbers, read.major, &used) && (at = used) < numbers.size() && numbers[at] == L'.' &&
          LeadingInt(numbers.substr(at + 1), read.minor, &used) && (at += 1 + used) < numbers.size() &&
          numbers[at] == L'.' && LeadingInt(numbers.substr(at + 1), read.patch, &used)) {
        version_ = read;
      }
    } else if (is(L"ExePath=")) {
      const std::wstring value = rest(L"ExePath=");
      LOG_TEXT(L"ExePath: %s", value.c_str());
      Emit(IST_CODE_EXE_PATH, 0.0, value);
    } else if (is(L"StartExe=")) {
      Emit(IST_CODE_EXE_PATH, 0.0, rest(L"StartExe="));
    } else if (is(L"UninstExePath=")) {
      Emit(IST_CODE_UNINST_EXE, 0.0, rest(L"UninstExePath="));
    } else if (is(L"UninstExe=")) {
      Emit(IST_CODE_UNINST_EXE, 0.0, rest(L"UninstExe="));
    } else if (is(L"UninstEp=")) {
      Emit(IST_CODE_UNINST_EP, 0.0, rest(L"UninstEp="));
    } else if (is(L"Error=")) {
      Emit(IST_CODE_FAIL, 1000.0, rest(L"Error="));
      verdict = kVerdictFailure;
    } else if (is(L"TopShowDetention=")) {
      Emit(IST_CODE_TOP_SHOW_DETENTION, DetentionValue(rest(L"TopShowDetention=")));
    } else if (is(L"FinsihCloseDetention=")) {
      Emit(IST_CODE_FINISH_CLOSE_DETENTION, DetentionValue(rest(L"FinsihCloseDetention=")));
    } else if (is(L"StartUrl=")) {
      Emit(IST_CODE_START_URL, 0.0, rest(L"StartUrl="));
    } else if (is(L"StartupStyle=")) {
      const std::wstring style = Utils::Trim(rest(L"StartupStyle="));
      const double number = style == L"AutoStartup" ? 1.0 : style == L"UserStartup" ? 2.0 : 0.0;
      Emit(IST_CODE_STARTUP_STYLE, number);
    } else if (is(L"Encode=")) {
      codePage_ = PackageCodePage(Utils::Trim(rest(L"Encode=")));
    } else if (is(L"Message=")) {
      Emit(IST_CODE_MESSAGE, 0.0, rest(L"Message="));
    }
  }
  return verdict;
}
