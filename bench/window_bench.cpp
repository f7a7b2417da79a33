// The frontlite window in process, on a real X server (scripts/bench runs it in Xvfb with
// openbox), with links far longer than anyone types: 10 MB subscription links are what a user
// pastes when a provider inlines every node. Prints one "key value" line per figure:
//   (c) peak memory with 10 MB in the Clash row's source box and 10 MB in its result box,
//   (a) a click on the Clash button with 10 MB in the source box, until the result box holds the
//       whole link,
//   (b) one repaint of the focused source box holding 1 MB.
// (c) is measured first, on a fresh process, so that the buffers of the repeated clicks of (a)
// cannot raise the peak. The boxes are reached only through the window's content operations and
// as plain widgets, so the program keeps measuring whatever control the window layer uses.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "frontlite/front_end_window.h"
#include "winlayer/application.h"
#include "winlayer/window.h"

namespace {

// A subscription link of `bytes` bytes that needs no escaping (no "&", "%", "#", "+", blanks).
std::string ordinaryLink(std::size_t bytes) {
    static constexpr char head[] = "https://sub.example.net/api/v1/client/subscribe?token=";
    static constexpr char alphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-._~/:?=";
    std::string link(head);
    unsigned state = 12345;
    while (link.size() < bytes) {
        state = state * 1103515245u + 12345u;
        link.push_back(alphabet[(state >> 16) % (sizeof alphabet - 1)]);
    }
    link.resize(bytes);
    return link;
}

// The peak resident size so far, in MiB, as the kernel counts it (VmHWM).
double peakMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return -1;
}

// The CPU time the process has used, in ms: on a machine busy with other work the wall-clock
// time of a click is mostly the wait for a core, this is not.
double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Lets every paint and pending event of the last step happen, outside any timed part.
void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, 0);
    }
    QTest::qWait(30);
}

std::size_t contentLength(const winlayer::Window& window, std::string_view box) {
    const core::Text content = window.readContent(box);
    return content ? std::strlen(content.get()) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int clicks = argc > 1 ? std::atoi(argv[1]) : 5;
    const int repaints = argc > 2 ? std::atoi(argv[2]) : 9;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");

    winlayer::Application application(argv[0], {&frontlite::frontEndWindow()});
    winlayer::Window* window = winlayer::Application::open(frontlite::frontEndWindow());
    if (!window || !QTest::qWaitForWindowExposed(window) || !QTest::qWaitForWindowActive(window)) {
        std::fprintf(stderr, "window_bench: the window did not show\n");
        return 1;
    }
    const auto& row = frontlite::clashRow;
    QWidget* button = window->control(row.button);
    QWidget* sourceBox = window->control(row.sourceBox);
    settle();
    std::printf("idle_peak_mib %.1f\n", peakMiB());

    // (c) Both boxes of the row hold 10 MB and have been drawn.
    const std::size_t tenMB = 10u << 20;
    {
        const std::string source = ordinaryLink(tenMB);
        window->writeContent(row.sourceBox, source.c_str());
    }
    QTest::mouseClick(button, Qt::LeftButton);
    window->repaint();
    settle();
    const double peak = peakMiB();
    const core::Text expected = core::composeLink(row.link, ordinaryLink(tenMB).c_str());
    const std::size_t expectedLength = std::strlen(expected.get());
    if (contentLength(*window, row.resultBox) != expectedLength) {
        std::fprintf(stderr, "window_bench: the result box does not hold the whole link\n");
        return 1;
    }
    std::printf("peak_10mb_row_mib %.1f\n", peak);

    // (a) The source box keeps its 10 MB; the result box is emptied before each click so that
    // the read afterwards can only find the link this click composed.
    std::vector<double> clickMs, clickCpuMs;
    for (int i = 0; i < clicks; ++i) {
        window->writeContent(row.resultBox, nullptr);
        settle();
        QElapsedTimer timer;
        timer.start();
        const double cpuBefore = cpuMs();
        QTest::mouseClick(button, Qt::LeftButton);
        const std::size_t length = contentLength(*window, row.resultBox);
        clickMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        clickCpuMs.push_back(cpuMs() - cpuBefore);
        if (length != expectedLength) {
            std::fprintf(stderr, "window_bench: click %d left %zu of %zu bytes\n", i, length,
                         expectedLength);
            return 1;
        }
        settle();
    }
    std::printf("click_10mb_ms %.1f\nclick_10mb_cpu_ms %.1f\n", median(clickMs),
                median(clickCpuMs));

    // (b) Only the source box holds text, 1 MB, and has the focus with its caret shown.
    window->writeContent(row.resultBox, nullptr);
    window->writeContent(row.sourceBox, ordinaryLink(1u << 20).c_str());
    sourceBox->setFocus(Qt::OtherFocusReason);
    settle();
    if (!sourceBox->hasFocus()) std::fprintf(stderr, "window_bench: the box did not get the focus\n");
    std::vector<double> repaintMs;
    for (int i = 0; i < repaints; ++i) {
        QElapsedTimer timer;
        timer.start();
        sourceBox->repaint();
        repaintMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        settle();
    }
    std::printf("repaint_1mb_ms %.2f\n", median(repaintMs));
    std::fflush(stdout);

    window->close();
    return 0;
}
