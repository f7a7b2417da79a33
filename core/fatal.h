// The one way this system reports a failure: a run-time error report that ends the process
// with exit code -1. The core only names the failure; the window layer installs the report that
// shows it, so the core stays free of windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// Must not return. Until one is installed the message goes to stderr.
using FatalReport = void (*)(std::string_view message);

void installFatalReport(FatalReport report);
[[noreturn]] void fatal(std::string_view message);

// "分配 N 字节内存失败!", with N always the unsigned size asked for.
std::string allocationFailureMessage(std::size_t bytes);

}  // namespace core
