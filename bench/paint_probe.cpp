// Times a program's start-up to its first paint on the X server it is given (Xvfb with openbox
// in scripts/bench), then closes it with keys the way a person would and waits for its end.
//
//   paint_probe [--settle MS] [--verbose] --title TITLE [--key TITLE KEYSYM]... -- COMMAND [ARG]...
//
// Prints "mapped_ms", "first_paint_ms" (both from just before the fork), "cpu_to_paint_ms" and
// "exit_status";
// --verbose also lists on stderr each distinct grab with its time and share of changed pixels.
//
// Why it polls the window's pixels rather than waiting for an event: X tells nobody but the
// window's owner when it has been drawn into (the DAMAGE extension would, but needs a library the
// project does not install), and being mapped is not being painted: a Qt window is mapped with
// no background and gets its pixels only when Qt flushes its backing store after the first
// expose. So the probe, from the moment openbox lists a window of that title as viewable, grabs
// the window's pixels every ~2 ms and keeps each grab that differs from the one before. After
// the window has stayed up for the settle time (default 800 ms), the last grab is what the
// window looks like painted; the first grab in which at most 1% of the pixels differ from it is
// the first paint. The 1% lets the edit box's blinking caret (a 1-pixel line) pass. The figure
// is late by at most one poll (~2-4 ms); the probe's polling loads the X server alike for every
// program it measures.
//
// On a machine busy with other work (a build on both cores, say) the wall-clock figures mostly
// measure the wait for a core, so the probe also sums the CPU time that the window's process
// (found by its _NET_WM_PID) had used by the grab that showed the first paint, over all its
// threads, from /proc/PID/task/*/schedstat; that figure hardly moves with the machine's load.
#include <xcb/xcb.h>

#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> owned(T* reply) {
    return Reply<T>(reply, &std::free);
}

class Display {
public:
    Display() : connection_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(connection_)) {
            std::fprintf(stderr, "paint_probe: cannot open the display\n");
            std::exit(2);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        clientList_ = atom("_NET_CLIENT_LIST");
        activeWindow_ = atom("_NET_ACTIVE_WINDOW");
        wmName_ = atom("_NET_WM_NAME");
        wmPid_ = atom("_NET_WM_PID");
    }
    ~Display() { xcb_disconnect(connection_); }

    // A window that openbox manages, titled `title` and viewable; 0 while there is none.
    xcb_window_t viewableWindow(const std::string& title) {
        for (xcb_window_t window : windows(root_, clientList_)) {
            if (name(window) != title) continue;
            auto attributes = owned(xcb_get_window_attributes_reply(
                connection_, xcb_get_window_attributes(connection_, window), nullptr));
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) return window;
        }
        return 0;
    }

    // The process that owns the window, as it names itself, or 0.
    pid_t processOf(xcb_window_t window) {
        auto reply = owned(xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, wmPid_, XCB_ATOM_CARDINAL, 0, 1),
            nullptr));
        if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) return 0;
        return static_cast<pid_t>(*static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())));
    }

    bool isActive(xcb_window_t window) {
        const std::vector<xcb_window_t> active = windows(root_, activeWindow_);
        return !active.empty() && active.front() == window;
    }

    // The window's pixels, 4 bytes each with the padding byte cleared; empty when the window is
    // gone or not wholly on the screen.
    std::vector<std::uint32_t> pixels(xcb_window_t window) {
        auto geometry = owned(
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
        if (!geometry) return {};
        auto image = owned(xcb_get_image_reply(
            connection_,
            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width,
                          geometry->height, ~0u),
            nullptr));
        if (!image) return {};
        const std::size_t count = std::size_t{geometry->width} * geometry->height;
        if (static_cast<std::size_t>(xcb_get_image_data_length(image.get())) < 4 * count) return {};
        std::vector<std::uint32_t> result(count + 1);
        std::memcpy(result.data(), xcb_get_image_data(image.get()), 4 * count);
        for (std::size_t i = 0; i < count; ++i) result[i] &= 0xFFFFFFu;
        result[count] = (std::uint32_t{geometry->width} << 16) | geometry->height;  // size too
        return result;
    }

private:
    xcb_atom_t atom(const char* name) {
        auto reply = owned(xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    std::vector<xcb_window_t> windows(xcb_window_t of, xcb_atom_t property) {
        auto reply = owned(xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, of, property, XCB_ATOM_WINDOW, 0, 4096),
            nullptr));
        if (!reply || reply->format != 32) return {};
        const auto* data = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
        return {data, data + xcb_get_property_value_length(reply.get()) / 4};
    }

    std::string name(xcb_window_t window) {
        for (xcb_atom_t property : {wmName_, xcb_atom_t{XCB_ATOM_WM_NAME}}) {
            auto reply = owned(xcb_get_property_reply(
                connection_,
                xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                                 1024),
                nullptr));
            if (reply && reply->format == 8 && xcb_get_property_value_length(reply.get()) > 0) {
                return {static_cast<const char*>(xcb_get_property_value(reply.get())),
                        static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
            }
        }
        return {};
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_atom_t clientList_, activeWindow_, wmName_, wmPid_;
};

// The CPU time, in ms, that the process's live threads have run so far; -1 when unknown.
double cpuMilliseconds(pid_t process) {
    if (process <= 0) return -1;
    const std::string tasks = "/proc/" + std::to_string(process) + "/task";
    DIR* directory = opendir(tasks.c_str());
    if (!directory) return -1;
    double nanoseconds = 0;
    while (const dirent* entry = readdir(directory)) {
        if (entry->d_name[0] == '.') continue;
        std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu) nanoseconds += onCpu;
    }
    closedir(directory);
    return nanoseconds / 1e6;
}

double differingShare(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    if (a.size() != b.size() || a.back() != b.back()) return 1.0;
    std::size_t differing = 0;
    for (std::size_t i = 0; i + 1 < a.size(); ++i) differing += a[i] != b[i];
    return static_cast<double>(differing) / static_cast<double>(a.size() - 1);
}

bool childEnded(pid_t child, int& status) { return waitpid(child, &status, WNOHANG) == child; }

[[noreturn]] void giveUp(const char* what, pid_t child) {
    std::fprintf(stderr, "paint_probe: %s\n", what);
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    std::exit(1);
}

void pressKey(const std::string& keysym) {
    const pid_t xdotool = fork();
    if (xdotool == 0) {
        execlp("xdotool", "xdotool", "key", keysym.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    waitpid(xdotool, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    std::string title;
    double settleMs = 800;
    bool verbose = false;
    std::vector<std::pair<std::string, std::string>> keys;  // (window title, keysym)
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (!std::strcmp(argv[i], "--title") && i + 1 < argc) {
            title = argv[++i];
        } else if (!std::strcmp(argv[i], "--settle") && i + 1 < argc) {
            settleMs = std::atof(argv[++i]);
        } else if (!std::strcmp(argv[i], "--verbose")) {
            verbose = true;
        } else if (!std::strcmp(argv[i], "--key") && i + 2 < argc) {
            keys.emplace_back(argv[i + 1], argv[i + 2]);
            i += 2;
        } else {
            break;
        }
    }
    if (title.empty() || i + 1 >= argc || std::strcmp(argv[i], "--") != 0) {
        std::fprintf(stderr,
                     "usage: paint_probe [--settle MS] [--verbose] --title TITLE [--key TITLE KEYSYM]... -- "
                     "COMMAND [ARG]...\n");
        return 2;
    }
    char** command = argv + i + 1;

    Display display;
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(command[0], command);
        _exit(127);
    }
    int status = 0;

    xcb_window_t window = 0;
    while (!(window = display.viewableWindow(title))) {
        if (childEnded(child, status)) giveUp("the program ended before its window showed", -1);
        if (millisecondsSince(start) > 20000) giveUp("no window showed within 20 s", child);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const double mappedMs = millisecondsSince(start);

    const pid_t process = display.processOf(window);

    struct Grab {
        double at, cpuMs;
        std::vector<std::uint32_t> pixels;
    };
    std::vector<Grab> grabs;  // only the ones that changed
    while (millisecondsSince(start) < mappedMs + settleMs) {
        const double at = millisecondsSince(start);
        std::vector<std::uint32_t> grab = display.pixels(window);
        if (!grab.empty() && (grabs.empty() || grab != grabs.back().pixels)) {
            grabs.push_back({at, cpuMilliseconds(process), std::move(grab)});
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (grabs.empty()) giveUp("the window's pixels could not be read", child);
    if (verbose) {
        for (const Grab& grab : grabs) {
            std::fprintf(stderr, "grab at %.1f ms (%.1f ms CPU): %.2f%% of pixels differ from the last\n",
                         grab.at, grab.cpuMs, 100 * differingShare(grab.pixels, grabs.back().pixels));
        }
    }
    const Grab* firstPaint = &grabs.back();
    for (const Grab& grab : grabs) {
        if (differingShare(grab.pixels, grabs.back().pixels) <= 0.01) {
            firstPaint = &grab;
            break;
        }
    }
    const double firstPaintMs = firstPaint->at, cpuToPaintMs = firstPaint->cpuMs;

    for (const auto& [keyTitle, keysym] : keys) {
        const Clock::time_point waiting = Clock::now();
        for (;;) {
            const xcb_window_t target = display.viewableWindow(keyTitle);
            if (target && display.isActive(target)) break;
            if (childEnded(child, status)) giveUp("the program ended before its keys", -1);
            if (millisecondsSince(waiting) > 10000) giveUp("a window to key never got the focus", child);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        pressKey(keysym);
    }

    const Clock::time_point closing = Clock::now();
    while (!childEnded(child, status)) {
        if (millisecondsSince(closing) > 10000) giveUp("the program did not end within 10 s", child);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    std::printf("mapped_ms %.1f\nfirst_paint_ms %.1f\ncpu_to_paint_ms %.1f\nexit_status %d\n",
                mappedMs, firstPaintMs, cpuToPaintMs,
                WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    return 0;
}
