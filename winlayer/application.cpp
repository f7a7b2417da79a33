#include "winlayer/application.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

#include "core/fatal.h"
#include "programIcon.h"
#include "winlayer/frame.h"
#include "winlayer/picture.h"

namespace winlayer {
namespace {

// A Chinese desktop's default GUI font, 9 points at 96 dots per inch, fixed in pixels so that
// no DPI setting changes what fits in a control.
constexpr int defaultFontPixels = 12;

std::vector<Window*> openWindows;
bool eventLoopRuns = false;

void placeCentred(Window* window) {
    const WindowTemplate& from = window->windowTemplate();
    const QSize outer(from.outerWidth, from.outerHeight);
    // The window manager decorates a fixed-size window differently from a resizable one, so the
    // window is fixed before its frame is asked for.
    window->setFixedSize(outer);
    const QMargins frame = expectedFrame(window);
    const QSize client = outer.shrunkBy(frame);
    window->setFixedSize(client);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint outerTopLeft(screen.x() + (screen.width() - outer.width()) / 2,
                              screen.y() + (screen.height() - outer.height()) / 2);
    window->setGeometry(QRect(outerTopLeft + QPoint(frame.left(), frame.top()), client));
}

}  // namespace

Application::UnscaledPixels::UnscaledPixels() {
    for (const char* scaling : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                                "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_FONT_DPI", "QT_USE_PHYSICAL_DPI",
                                "QT_SCALE_FACTOR_ROUNDING_POLICY"}) {
        qunsetenv(scaling);
    }
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

Application::Application(char* programName, std::initializer_list<const WindowTemplate*> templates)
    : argv_{programName, nullptr}, toolkit_(argc_, argv_) {
    QApplication::setQuitOnLastWindowClosed(false);  // the end rule below counts hidden windows too
    QFont font = QApplication::font();
    font.setPixelSize(defaultFontPixels);
    QApplication::setFont(font);
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(decodePicture(programIcon))));
    core::installFatalReport(&Application::fatal);

    if (std::any_of(templates.begin(), templates.end(),
                    [](const WindowTemplate* t) { return findTemplateFault(*t).has_value(); })) {
        fatal("载入窗口模板数据段出错!");
    }
}

int Application::run(const WindowTemplate& startWindow) {
    if (!open(startWindow)) fatal("载入启动窗口失败");
    eventLoopRuns = true;
    const int exitCode = QApplication::exec();
    eventLoopRuns = false;
    return exitCode;
}

Window* Application::open(const WindowTemplate& from) {
    if (findTemplateFault(from)) return nullptr;
    QPointer<Window> window = new Window(from);
    placeCentred(window);
    const std::vector<QWidget*> cycle = window->focusCycle();
    if (!cycle.empty()) cycle.front()->setFocus(Qt::OtherFocusReason);
    if (from.created) from.created(*window);
    if (!window) return nullptr;
    window->show();
    window->activateWindow();
    return window;
}

std::size_t Application::openWindowCount() { return openWindows.size(); }

void Application::fatal(std::string_view message) {
    QMessageBox report(QMessageBox::Critical, QStringLiteral("错误"),
                       QStringLiteral("运行时出错!\n\n错误信息：") +
                           QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())),
                       QMessageBox::Ok);
    report.exec();
    std::exit(-1);
}

void Application::windowCreated(Window* window) { openWindows.push_back(window); }

void Application::windowDestroyed(Window* window) {
    std::erase(openWindows, window);
    if (openWindows.empty() && eventLoopRuns) QApplication::exit(0);
}

}  // namespace winlayer
