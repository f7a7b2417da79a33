#include "frontdual/local_window.h"
#include "frontdual/mode_window.h"
#include "frontdual/online_window.h"
#include "support/widget_test.h"

namespace {

using winlayer::Application;
using winlayer::Window;
using winlayer::WindowTemplate;

class Frontdual : public WidgetTest {};

std::vector<std::string> names(const std::vector<QWidget*>& controls) {
    std::vector<std::string> result;
    for (QWidget* control : controls) result.push_back(control->objectName().toStdString());
    return result;
}

TEST_F(Frontdual, GreetingStandsAloneThenTheModeWindowShowsCentredWithFocusOnLocal) {
    BoxAnswerer answerer;
    Window* mode = Application::open(frontdual::modeWindow());
    ASSERT_NE(mode, nullptr);
    ASSERT_EQ(answerer.boxes.size(), 1u);
    EXPECT_EQ(answerer.boxes[0].caption, "信息：");
    EXPECT_EQ(answerer.boxes[0].text, "请选择转换方式");
    EXPECT_TRUE(answerer.boxes[0].visibleWindows.empty());

    ASSERT_TRUE(QTest::qWaitForWindowActive(mode));
    EXPECT_EQ(mode->frameGeometry(), QRect(830, 438, 260, 204));
    EXPECT_EQ(focusName(mode), "按钮1");
    EXPECT_EQ(qobject_cast<QPushButton*>(mode->control("按钮1"))->text(), "本地订阅转换");
    EXPECT_EQ(qobject_cast<QPushButton*>(mode->control("按钮2"))->text(), "在线订阅转换");
    QTest::keyClick(mode->focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(focusName(mode), "按钮2");
    QTest::keyClick(mode->focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(focusName(mode), "按钮1");
    closeWindow(mode);
}

TEST_F(Frontdual, EachChoiceConfirmsThenOpensItsWindowModallyUntilItCloses) {
    struct Case {
        const char* button;
        const char* confirmation;
        const char* title;
        QRect frame;
    };
    const Case cases[] = {
        {"按钮1", "您当前选择的是本地订阅转换", "本地订阅转换模块（前端）", {799, 367, 322, 346}},
        {"按钮2", "您当前选择的是在线订阅转换", "在线订阅转换模块（前端）", {784, 212, 352, 655}},
    };
    BoxAnswerer answerer;
    QPointer<Window> mode = Application::open(frontdual::modeWindow());
    mode->move(10, 10);  // conversion windows open centred wherever the mode window is
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        answerer.boxes.clear();
        QPointer<Window> opened;
        QRect openedFrame;
        bool modeEnabled = true;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto* active = dynamic_cast<Window*>(QApplication::activeWindow());
            if (!active || !active->isModal() || opened) return;
            opened = active;
            openedFrame = active->frameGeometry();
            EXPECT_EQ(active->windowTitle().toStdString(), c.title);
            modeEnabled = mode->isWindowEnabled();
            active->close();
        });
        closer.start(5);
        QTest::mouseClick(mode->control(c.button), Qt::LeftButton);  // returns once it is closed
        ASSERT_EQ(answerer.boxes.size(), 1u);
        EXPECT_EQ(answerer.boxes[0].text, c.confirmation);
        EXPECT_TRUE(opened.isNull());
        EXPECT_EQ(openedFrame, c.frame);
        EXPECT_FALSE(modeEnabled);
        EXPECT_TRUE(mode->isWindowEnabled());
        EXPECT_EQ(Application::openWindowCount(), 1u);
    }
    closeWindow(mode);
}

TEST_F(Frontdual, ConversionWindowsOpenCentredWithEmptyBoxesAndTheirFocusCycles) {
    struct Case {
        const WindowTemplate& window;
        QRect frame;
        std::vector<std::string> cycle;
    };
    const Case cases[] = {
        {frontdual::localWindow(), {799, 367, 322, 346},
         {"编辑框1", "按钮1", "编辑框2", "编辑框3", "按钮2", "编辑框4"}},
        {frontdual::onlineWindow(), {784, 212, 352, 655},
         {"编辑框1", "按钮1", "编辑框2", "混合1", "按钮2", "混合2", "冲1", "按钮3", "冲2", "编辑框8",
          "按钮4", "编辑框7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.window.title));
        Window* window = Application::open(c.window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        EXPECT_EQ(window->frameGeometry(), c.frame);
        EXPECT_EQ(names(window->focusCycle()), c.cycle);
        EXPECT_EQ(focusName(window), c.cycle.front());
        // Tab walks the cycle and wraps from the last control to the first.
        for (std::size_t i = 1; i <= c.cycle.size(); ++i) {
            QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(focusName(window), c.cycle[i % c.cycle.size()]);
        }
        for (QWidget* control : window->focusCycle()) {
            if (auto* box = dynamic_cast<winlayer::EditBox*>(control)) {
                EXPECT_TRUE(box->text().isEmpty());
            }
            if (auto* button = qobject_cast<QPushButton*>(control)) {
                EXPECT_EQ(button->text(), "按钮");
            }
        }
        closeWindow(window);
    }
}

TEST_F(Frontdual, AClickWritesOnlyItsOwnRowsResultBox) {
    struct Case {
        const WindowTemplate& window;
        std::span<const core::ConversionRow> rows;
    };
    const Case cases[] = {{frontdual::localWindow(), frontdual::localRows},
                          {frontdual::onlineWindow(), frontdual::onlineRows}};
    for (const Case& c : cases) {
        Window* window = Application::open(c.window);
        for (const core::ConversionRow& row : c.rows) {
            SCOPED_TRACE(std::string(c.window.title) + " " + std::string(row.button));
            std::map<std::string_view, std::string> before;
            for (const core::ConversionRow& any : c.rows) {
                for (std::string_view box : {any.sourceBox, any.resultBox}) {
                    edit(window, box)->setText(QString::fromUtf8(box.data(), box.size()) + " abc");
                    before[box] = edit(window, box)->text().toStdString();
                }
            }
            QTest::mouseClick(window->control(row.button), Qt::LeftButton);
            for (const auto& [box, content] : before) {
                const std::string now = edit(window, box)->text().toStdString();
                if (box == row.resultBox) {
                    EXPECT_EQ(now, core::composeLink(row.link, before[row.sourceBox].c_str()).get());
                } else {
                    EXPECT_EQ(now, content) << box;
                }
            }
        }
        closeWindow(window);
    }
}

}  // namespace
