// The stage codes of the package runner (2001-2004, 3000-3009) and of the
// old-version uninstaller runner (5002-5005). The download codes 1001-1006
// live with the engines (download/downloader.h); the numbering is shared.
#pragma once
#include <cstdint>

enum InstallCode : int32_t {
  IST_CODE_START = 2001,     // 0.0
  IST_CODE_PROGRESS = 2002,  // progress as the package states it
  IST_CODE_SUCCESS = 2003,   // 0.0 after "State=Success"; 1.0 when the package ended without a verdict
  IST_CODE_FAIL = 2004,      // 0.0 "State=Fail"; 1000.0 "Error="; 2.0 could not start
  IST_CODE_INST_PATH = 3000,
  IST_CODE_EXE_PATH = 3001,
  IST_CODE_UNINST_EXE = 3002,
  IST_CODE_UNINST_EP = 3003,
  IST_CODE_START_URL = 3004,
  IST_CODE_STARTUP_STYLE = 3005,  // 0 NonStartup, 1 AutoStartup, 2 UserStartup
  IST_CODE_TOP_SHOW_DETENTION = 3007,
  IST_CODE_FINISH_CLOSE_DETENTION = 3008,
  IST_CODE_MESSAGE = 3009,
};

enum UninstallCode : int32_t {
  UNIST_CODE_PROGRESS = 5002,  // 0.0 first, then the uninstaller's progress
  UNIST_CODE_SUCCESS = 5003,   // 0.0 after "State=Success"; 1.0 ended without a verdict
  UNIST_CODE_FAIL = 5004,      // 1.0 copy missing; 2.0 could not start
  UNIST_CODE_ERROR = 5005,     // "Error=" text, or "安装包卸载失败" after "State=Fail"
};

// What a runner's parser concluded from the text it was given.
enum ParseVerdict : int32_t { kVerdictNone = 0, kVerdictSuccess = 1, kVerdictFailure = 1000 };
