// What the widget tests share: a fixture that checks no window outlives its test, and small
// helpers to reach controls and pixels.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include "winlayer/edit_box.h"
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <string>

#include "winlayer/application.h"

class WidgetTest : public testing::Test {
protected:
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(winlayer::Application::openWindowCount(), 0u) << "a test left a window open";
        for (QWidget* window : QApplication::topLevelWidgets()) delete dynamic_cast<winlayer::Window*>(window);
    }

    // Closes the window as its close box does and waits until it is destroyed.
    static void closeWindow(winlayer::Window* window) {
        QPointer<winlayer::Window> alive = window;
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(alive.isNull());
    }

    static winlayer::EditBox* edit(winlayer::Window* window, std::string_view name) {
        auto* box = dynamic_cast<winlayer::EditBox*>(window->control(name));
        EXPECT_NE(box, nullptr) << name;
        return box;
    }

    static std::string focusName(winlayer::Window* window) {
        QWidget* focus = window->focusWidget();
        return focus ? focus->objectName().toStdString() : "(none)";
    }
};

// Whether any pixel of `area` is dark enough to be text.
inline bool hasDarkPixel(const QImage& image, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100) return true;
    return false;
}

// The application that the test main set up.
winlayer::Application& testApplication();

// Answers the message boxes that handlers show, the way a user presses OK, and records what each
// box said ("caption|text") together with the names of the windows visible behind it.
class BoxAnswerer {
public:
    struct Box {
        std::string caption, text;
        std::vector<std::string> visibleWindows;
    };
    std::vector<Box> boxes;

    BoxAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start(5);
    }

private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        Box seen{box->windowTitle().toStdString(), box->text().toStdString(), {}};
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w != box) seen.visibleWindows.push_back(w->windowTitle().toStdString());
        }
        boxes.push_back(seen);
        box->button(QMessageBox::Ok)->click();
    }

    QTimer timer_;
};
