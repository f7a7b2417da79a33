// The application: the toolkit set up once per program, the opening of windows from their
// templates, the run-time error report and the end rule. Programs never count windows or quit
// themselves: whenever a window has been destroyed and none is left open, the event loop ends
// with exit code 0.
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
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Opens the start window and runs the event loop; returns its exit code.
    int run(const WindowTemplate& startWindow);

    // Creates the window hidden, centred on the primary screen by its outer size, runs its created
    // event, then shows and activates it with the focus on its initial control. Null when the
    // window cannot be created.
    static Window* open(const WindowTemplate& from);

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
