#include "winlayer/application.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>

#include <QEventLoop>
#include <QFont>
#include <QGridLayout>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QWindow>

#include "core/fatal.h"
#include "programIcon.h"
#include "winlayer/window_manager.h"
#include "winlayer/picture.h"

namespace winlayer {
namespace {

// A Chinese desktop's default GUI font, 9 points at 96 dots per inch, fixed in pixels so that
// no DPI setting changes what fits in a control.
constexpr int defaultFontPixels = 12;

// Wide enough for the caption, the icon and the buttons of a title bar.
constexpr int informationBoxWidth = 220;

std::vector<Window*> openWindows;
bool eventLoopRuns = false;

// The window whose nested loop runs, and that loop; saved and restored around each modal opening,
// so openings could nest.
Window* currentModal = nullptr;
QEventLoop* currentModalLoop = nullptr;

// An invisible window that owns every window opened modally.
QWidget* hiddenOwner = nullptr;

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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
    const QRect geometry(outerTopLeft + QPoint(frame.left(), frame.top()), client);
    window->setGeometry(geometry);
    // A hidden widget only records its geometry and hands it on when it is shown; a nested loop
    // run by the created event in between can lose it, so the native window gets it now.
    window->windowHandle()->setGeometry(geometry);
}

// An opening up to its created event: the window and its controls exist, hidden, at their
// places, with the focus waiting on the initial control. Null when the window cannot be created.
Window* createHidden(const WindowTemplate& from, QWidget* owner) {
    if (findTemplateFault(from)) return nullptr;
    auto* window = new Window(from, owner);
    placeCentred(window);
    if (owner) keepOffTaskbar(window);
    const std::vector<QWidget*> cycle = window->focusCycle();
    if (!cycle.empty()) cycle.front()->setFocus(Qt::OtherFocusReason);
    return window;
}

// Runs the created event while the window is hidden, then shows and activates it. False when the
// handler closed the window.
bool deliverCreatedAndShow(QPointer<Window> window) {
    const WindowTemplate& from = window->windowTemplate();
    if (from.created) from.created(*window);
    if (!window) return false;
    window->show();
    window->activateWindow();
    return true;
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

Application::~Application() {
    delete hiddenOwner;
    hiddenOwner = nullptr;
}

Window* Application::open(const WindowTemplate& from) {
    QPointer<Window> window = createHidden(from, nullptr);
    return window && deliverCreatedAndShow(window) ? window.data() : nullptr;
}

bool Application::openModal(const WindowTemplate& from) {
    if (!hiddenOwner) {
        hiddenOwner = new QWidget(nullptr, Qt::Tool);
        hiddenOwner->winId();  // an owner is named to the window manager only once it exists
    }
    QPointer<Window> window = createHidden(from, hiddenOwner);
    if (!window) return false;
    // The toolkit keeps the activation and the keyboard away from the disabled windows too.
    window->setWindowModality(Qt::ApplicationModal);
    if (!deliverCreatedAndShow(window)) return true;

    std::vector<Window*> others;
    std::copy_if(openWindows.begin(), openWindows.end(), std::back_inserter(others),
                 [&](Window* other) { return other != window && !other->parentWidget(); });
    window->disableWhileModal(others);

    Window* const savedModal = currentModal;
    QEventLoop* const savedLoop = currentModalLoop;
    QEventLoop loop;
    currentModal = window;
    currentModalLoop = &loop;
    loop.exec();  // until the window is destroyed, or the program is asked to quit
    currentModal = savedModal;
    currentModalLoop = savedLoop;
    return true;
}

void Application::showInformation(std::string_view message) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："), toQString(message),
                    QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    // The toolkit sizes the box to its text alone; a title bar that narrow would cut the caption.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(informationBoxWidth, 0), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
    box.exec();
}

std::size_t Application::openWindowCount() { return openWindows.size(); }

void Application::fatal(std::string_view message) {
    QMessageBox report(QMessageBox::Critical, QStringLiteral("错误"),
                       QStringLiteral("运行时出错!\n\n错误信息：") + toQString(message),
                       QMessageBox::Ok);
    report.exec();
    std::exit(-1);
}

void Application::windowCreated(Window* window) { openWindows.push_back(window); }

void Application::windowDestroyed(Window* window) {
    std::erase(openWindows, window);
    if (window == currentModal) {
        currentModal = nullptr;
        currentModalLoop->exit();
    }
    if (openWindows.empty() && eventLoopRuns) QApplication::exit(0);
}

}  // namespace winlayer
