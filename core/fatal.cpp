#include "core/fatal.h"

#include <cstdio>
#include <cstdlib>

namespace core {
namespace {

FatalReport installedReport = nullptr;

}  // namespace

void installFatalReport(FatalReport report) { installedReport = report; }

void fatal(std::string_view message) {
    if (installedReport) installedReport(message);
    std::fprintf(stderr, "运行时出错!\n错误信息：%.*s\n", static_cast<int>(message.size()),
                 message.data());
    std::exit(-1);
}

std::string allocationFailureMessage(std::size_t bytes) {
    return "分配 " + std::to_string(bytes) + " 字节内存失败!";
}

}  // namespace core
