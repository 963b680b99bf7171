// Reads a started child's standard output as whole lines until the child
// has ended and its pipe holds nothing more, or until the line handler asks
// to stop. Reading stops even when a grandchild still holds the pipe's
// write end, so a finished package can never hang the install.
#pragma once
#include <functional>
#include <string>

#include "platform/child_process.h"

// The handler gets each line without its line feed; true stops the reading.
using ChildLineHandler = std::function<bool(const std::string& line)>;

// True when the handler stopped the reading, false when the output ended.
// The unfinished last line, if any, is handed over once the output has ended.
bool ReadChildLines(Platform::ChildProcess& child, const ChildLineHandler& onLine);
