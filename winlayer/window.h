// A live window: built from its template when it is opened, destroyed when it is closed, so
// nothing of it survives a closing. It owns its controls, draws its background, and handles the
// keys that act on the whole window (Tab, Shift+Tab, Esc) before the focused control sees them.
// A disabled window takes no clicks, keys or close requests. A window opened modally remembers
// which windows its opening disabled and gives them back their state when it closes. Opening,
// the nested loop of a modal opening and the end of the program are the application's.
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <string_view>
#include <utility>
#include <vector>

#include "core/conversion.h"
#include "winlayer/window_template.h"

namespace winlayer {

class Window final : public QWidget, public core::EditBoxes {
public:
    // Creates the window hidden, with its controls in stored order; the first lies on top.
    // An owned window has no taskbar button of its own.
    explicit Window(const WindowTemplate& from, QWidget* owner = nullptr);
    ~Window() override;

    const WindowTemplate& windowTemplate() const { return template_; }

    // The control of that name, or null.
    QWidget* control(std::string_view name) const;

    // The edit boxes and push buttons that take the focus, in the order Tab visits them:
    // by tab value, and among equal values the control stored later first.
    std::vector<QWidget*> focusCycle() const;

    core::Text readContent(std::string_view box) const override;
    void writeContent(std::string_view box, const char* text) override;

    // Disabling blocks the user's input without greying the controls, as a window under a modal
    // one shows no reaction but keeps its look.
    void enableWindow(bool enabled) { enabled_ = enabled; }
    bool isWindowEnabled() const { return enabled_; }

    // Disables `others` while this window is open modally, remembering each one's state before.
    void disableWhileModal(const std::vector<Window*>& others);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleWindowKey(QKeyEvent* key);
    void moveFocus(bool forward);
    void restoreDisabled();

    const WindowTemplate& template_;
    std::vector<std::pair<std::string_view, QWidget*>> controls_;  // in stored order
    QColor background_;
    QPixmap picture_;
    bool enabled_ = true;
    std::vector<std::pair<QPointer<Window>, bool>> disabledByOpening_;  // (window, enabled before)
};

}  // namespace winlayer
