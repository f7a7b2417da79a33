// The application: the toolkit set up once per program, the opening of windows from their
// templates (normally, or modally with a nested event loop), the message boxes and the end rule.
// Programs never count windows, disable them or quit themselves: whenever a window has been
// destroyed and none is left open, the event loop ends with exit code 0.
#pragma once

#include <QApplication>
#include <initializer_list>
#include <string_view>

#include "winlayer/window.h"
#include "winlayer/window_template.h"

namespace winlayer {

class Application {
public:
    // Sets up the toolkit (pixel sizes taken literally, the default GUI font, the program icon)
    // and reads the program's window templates once: a damaged template ends the program through
    // the run-time error report. The command line is not read.
    Application(char* programName, std::initializer_list<const WindowTemplate*> templates);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Opens the start window and runs the event loop; returns its exit code.
    int run(const WindowTemplate& startWindow);

    // Creates the window hidden, centred on the primary screen by its outer size, runs its created
    // event, then shows and activates it with the focus on its initial control. Null when the
    // window cannot be created.
    static Window* open(const WindowTemplate& from);

    // Opens the window as open() does, but owned by the program's hidden owner window, so that it
    // has no taskbar button of its own, and disables the program's other unowned windows until it
    // closes. Runs a nested event loop until the window has been destroyed (or the program is
    // asked to quit), then returns true. False at once, with nothing disabled, when the window
    // cannot be created.
    static bool openModal(const WindowTemplate& from);

    // The information box: caption "信息：", the message, one OK button, no icon and no owner.
    // Blocks the program's windows until it is dismissed, in whatever way.
    static void showInformation(std::string_view message);

    static std::size_t openWindowCount();

    // The run-time error report: a message box captioned "错误" naming the failure, after which
    // the process ends with exit code -1.
    [[noreturn]] static void fatal(std::string_view message);

private:
    friend class Window;
    static void windowCreated(Window* window);
    static void windowDestroyed(Window* window);

    // Runs before the toolkit exists: its scaling variables would otherwise enlarge every window.
    struct UnscaledPixels {
        UnscaledPixels();
    };

    int argc_ = 1;
    char* argv_[2];
    UnscaledPixels unscaled_;
    QApplication toolkit_;
};

}  // namespace winlayer
