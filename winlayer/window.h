// A live window: built from its template when it is opened, destroyed when it is closed, so
// nothing of it survives a closing. It owns its controls, draws its background, and handles the
// keys that act on the whole window (Tab, Shift+Tab, Esc) before the focused control sees them.
// Opening, closing and the end of the program are the application's (application.h).
#pragma once

#include <QPixmap>
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
    explicit Window(const WindowTemplate& from);
    ~Window() override;

    const WindowTemplate& windowTemplate() const { return template_; }

    // The control of that name, or null.
    QWidget* control(std::string_view name) const;

    // The edit boxes and push buttons that take the focus, in the order Tab visits them:
    // by tab value, and among equal values the control stored later first.
    std::vector<QWidget*> focusCycle() const;

    core::Text readContent(std::string_view box) const override;
    void writeContent(std::string_view box, const char* text) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleWindowKey(QKeyEvent* key);
    void moveFocus(bool forward);

    const WindowTemplate& template_;
    std::vector<std::pair<std::string_view, QWidget*>> controls_;  // in stored order
    QColor background_;
    QPixmap picture_;
};

}  // namespace winlayer
