#include "winlayer/window.h"

#include <algorithm>
#include <cstring>

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>

#include <QPainter>

#include "winlayer/application.h"
#include "winlayer/controls.h"
#include "winlayer/edit_box.h"
#include "winlayer/picture.h"

namespace winlayer {

namespace {

// A fixed single frame with the icon, the title, minimise and close, but no maximise.
constexpr Qt::WindowFlags frameFlags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                       Qt::WindowCloseButtonHint;

bool isUserInput(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return true;
    default:
        return false;
    }
}

}  // namespace

Window::Window(const WindowTemplate& from, QWidget* owner)
    // The toolkit tells the window manager of an owner only for dialog windows.
    : QWidget(owner, (owner ? Qt::Dialog : Qt::Window) | frameFlags),
      template_(from),
      background_(from.background ? QColor(from.background->red, from.background->green,
                                           from.background->blue)
                                  : palette().color(QPalette::Button)),
      picture_(QPixmap::fromImage(decodePicture(from.picture))) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(from.title.data(), static_cast<qsizetype>(from.title.size())));
    controls_.reserve(from.controls.size());
    for (const ControlEntry& entry : from.controls) {
        QWidget* control = createControl(entry, this);
        control->lower();  // each control lies beneath the ones stored before it
        control->installEventFilter(this);
        controls_.emplace_back(entry.name, control);
    }
    for (const ClickBinding& click : from.clicks) {
        if (auto* button = qobject_cast<QAbstractButton*>(control(click.button))) {
            connect(button, &QAbstractButton::clicked, this, [this, &click] { click.handler(*this); });
        }
    }
    Application::windowCreated(this);
}

Window::~Window() {
    restoreDisabled();
    Application::windowDestroyed(this);
}

void Window::disableWhileModal(const std::vector<Window*>& others) {
    for (Window* other : others) {
        disabledByOpening_.emplace_back(other, other->isWindowEnabled());
        other->enableWindow(false);
    }
}

void Window::restoreDisabled() {
    for (const auto& [window, wasEnabled] : disabledByOpening_) {
        if (window) window->enableWindow(wasEnabled);
    }
    disabledByOpening_.clear();
}

QWidget* Window::control(std::string_view name) const {
    auto found = std::find_if(controls_.begin(), controls_.end(),
                              [&](const auto& control) { return control.first == name; });
    return found == controls_.end() ? nullptr : found->second;
}

std::vector<QWidget*> Window::focusCycle() const {
    std::vector<const ControlEntry*> entries;
    for (auto entry = template_.controls.rbegin(); entry != template_.controls.rend(); ++entry) {
        if (entry->visible && entry->enabled && takesFocus(entry->kind)) entries.push_back(&*entry);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto* a, const auto* b) { return a->tabValue < b->tabValue; });
    std::vector<QWidget*> cycle;
    for (const ControlEntry* entry : entries) cycle.push_back(control(entry->name));
    return cycle;
}

core::Text Window::readContent(std::string_view box) const {
    const QByteArray content = static_cast<EditBox*>(control(box))->text().toUtf8();
    if (content.isEmpty()) return nullptr;
    core::Text text = core::obtainText(static_cast<std::size_t>(content.size()) + 1);
    std::memcpy(text.get(), content.constData(), static_cast<std::size_t>(content.size()) + 1);
    return text;
}

void Window::writeContent(std::string_view box, const char* text) {
    static_cast<EditBox*>(control(box))->setText(QString::fromUtf8(text ? text : ""));
}

void Window::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    // Tiled from the client area's top-left corner; partly transparent pixels blend with the colour.
    if (!picture_.isNull()) painter.drawTiledPixmap(rect(), picture_);
}

bool Window::event(QEvent* event) {
    if (!enabled_ && isUserInput(event)) return true;
    return QWidget::event(event);
}

void Window::closeEvent(QCloseEvent* event) {
    if (!enabled_) {
        event->ignore();
        return;
    }
    // The windows this one disabled take the activation back while it still exists.
    restoreDisabled();
    event->accept();
}

void Window::keyPressEvent(QKeyEvent* event) {
    if (!handleWindowKey(event)) QWidget::keyPressEvent(event);
}

bool Window::eventFilter(QObject* watched, QEvent* event) {
    if (!enabled_ && isUserInput(event)) return true;
    if (event->type() == QEvent::KeyPress && handleWindowKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

bool Window::handleWindowKey(QKeyEvent* key) {
    const auto modifiers = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (modifiers != Qt::NoModifier) return false;
    switch (key->key()) {
    case Qt::Key_Escape: close(); return true;
    case Qt::Key_Tab: moveFocus(!(key->modifiers() & Qt::ShiftModifier)); return true;
    case Qt::Key_Backtab: moveFocus(false); return true;
    default: return false;
    }
}

void Window::moveFocus(bool forward) {
    const std::vector<QWidget*> cycle = focusCycle();
    if (cycle.empty()) return;
    const auto count = static_cast<std::ptrdiff_t>(cycle.size());
    const auto current = std::find(cycle.begin(), cycle.end(), focusWidget()) - cycle.begin();
    const std::ptrdiff_t next = current == count ? 0 : (current + (forward ? 1 : count - 1)) % count;
    cycle[static_cast<std::size_t>(next)]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

}  // namespace winlayer
