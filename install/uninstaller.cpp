#include "install/uninstaller.h"

#include "install/account_rights.h"
#include "install/child_output_reader.h"
#include "install/install_codes.h"
#include "install/protocol_values.h"
#include "platform/child_process.h"
#include "platform/file_system.h"
#include "utils/text.h"

using namespace InstallProtocol;

CUninstaller::CUninstaller(StageCallback callback, std::wstring uninstallerPath, std::wstring oldFolder)
    : callback_(std::move(callback)), uninstaller_(std::move(uninstallerPath)), oldFolder_(std::move(oldFolder)) {}

CUninstaller::~CUninstaller() { worker_.reset(); }

std::wstring CUninstaller::BuildCommandLine(const std::wstring& uninstallerPath, const std::wstring& oldFolder,
                                            bool administratorAccount, bool elevated) {
  // Neither path is quoted: the uninstaller reads everything after "_?=" as the folder.
  return uninstallerPath + L" /S -adminact=" + (administratorAccount ? L"true" : L"false") +
         L" -authorizationact=" + (elevated ? L"true" : L"false") + L" -console=show _?=" + oldFolder;
}

void CUninstaller::Start() {
  commandLine_ = BuildCommandLine(uninstaller_, oldFolder_, ConsoleUserIsAdministrator(), ProcessIsElevated());
  worker_.reset();
  worker_ = std::make_unique<Utils::Thread>(this, L"UnInstaller", &CUninstaller::RunThread);
  worker_->Resume();
}

void CUninstaller::RunThread(void* self) { static_cast<CUninstaller*>(self)->Run(); }

void CUninstaller::Emit(int32_t code, double value, const std::wstring& text) {
  if (callback_) callback_(code, value, text.c_str());
}

void CUninstaller::Run() {
  if (!Platform::FileExists(uninstaller_)) {
    Emit(UNIST_CODE_FAIL, 1.0, L"可执行卸载文件不存在");
    return;
  }
  Emit(UNIST_CODE_PROGRESS, 0.0);
  bool verdictSeen = false;
  {
    Platform::ChildProcess child;  // per-run state
    if (!child.Start(commandLine_)) {
      Emit(UNIST_CODE_FAIL, 2.0);
      return;
    }
    ReadChildLines(child, [this, &verdictSeen](const std::string& bytes) {
      if (Parse(Utils::ToWide(bytes, codePage_)) != kVerdictNone) verdictSeen = true;
      return false;  // read on until the uninstaller ends
    });
    child.WaitForExit();
  }
  if (!verdictSeen) Emit(UNIST_CODE_SUCCESS, 1.0);
}

int32_t CUninstaller::Parse(const std::wstring& text) {
  int32_t verdict = kVerdictNone;
  for (const std::wstring& line : ProtocolLines(text)) {
    if (Utils::StartsWith(line, L"Progress=")) {
      double progress = 0.0;
      LeadingDouble(RestOfLine(line, L"Progress="), progress);
      Emit(UNIST_CODE_PROGRESS, progress);
    } else if (Utils::StartsWith(line, L"Error=")) {
      Emit(UNIST_CODE_ERROR, 0.0, RestOfLine(line, L"Error="));
      verdict = kVerdictFailure;
    } else if (Utils::StartsWith(line, L"State=")) {
      const std::wstring state = Utils::Trim(RestOfLine(line, L"State="));
      if (state == L"Success") {
        Emit(UNIST_CODE_SUCCESS, 0.0);
        verdict = kVerdictSuccess;
      } else if (state == L"Fail") {
        Emit(UNIST_CODE_ERROR, 0.0, L"安装包卸载失败");
        verdict = kVerdictFailure;
      }
    } else if (Utils::StartsWith(line, L"Encode=")) {
      codePage_ = Utils::Trim(RestOfLine(line, L"Encode=")) == L"UTF8" ? 65001u : 0u;
    }
  }
  return verdict;
}
