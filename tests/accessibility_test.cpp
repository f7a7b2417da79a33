// What a screen reader learns of the windows: each edit box and push button by a name made of the
// captions around it, each label as text. And what an input method needs: edit boxes that accept
// its composed text.
#include <set>

#include <QAccessible>

#include "frontdual/local_window.h"
#include "frontdual/mode_window.h"
#include "frontdual/online_window.h"
#include "frontlite/front_end_window.h"
#include "support/widget_test.h"

namespace {

using winlayer::Application;
using winlayer::Window;
using winlayer::WindowTemplate;

using TemplateOf = const WindowTemplate& (*)();

// Every window of both programs.
const TemplateOf allWindows[] = {frontlite::frontEndWindow, frontdual::modeWindow,
                                 frontdual::localWindow, frontdual::onlineWindow};

struct Announced {
    TemplateOf window;
    const char* control;
    QAccessible::Role role;
    const char* name;
};

class Accessibility : public WidgetTest {
protected:
    // Opens each window in turn, answering the mode window's greeting, and hands it to `check`.
    template <typename Check>
    static void forEachWindow(Check check) {
        BoxAnswerer answerer;
        for (TemplateOf from : allWindows) {
            Window* window = Application::open(from());
            ASSERT_NE(window, nullptr);
            SCOPED_TRACE(window->windowTitle().toStdString());
            check(from, window);
            closeWindow(window);
        }
    }

    static QAccessibleInterface* announced(QWidget* control) {
        QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(control);
        EXPECT_NE(interface, nullptr) << control->objectName().toStdString();
        return interface;
    }
};

TEST_F(Accessibility, ControlsAreAnnouncedByTheCaptionsAroundThem) {
    using Role = QAccessible::Role;
    const Announced cases[] = {
        {frontlite::frontEndWindow, "编辑框1", Role::EditableText, "Clash 原链接"},
        {frontlite::frontEndWindow, "按钮1", Role::PushButton, "Clash 转换"},
        {frontlite::frontEndWindow, "编辑框2", Role::EditableText, "Clash 转换后"},
        {frontlite::frontEndWindow, "编辑框3", Role::EditableText, "Base64 原链接"},
        {frontlite::frontEndWindow, "按钮2", Role::PushButton, "Base64 转换"},
        {frontlite::frontEndWindow, "编辑框4", Role::EditableText, "Base64 转换后"},
        {frontlite::frontEndWindow, "透明标签1", Role::StaticText, "Clash"},
        {frontlite::frontEndWindow, "透明标签3", Role::StaticText, "Base64"},
        {frontdual::modeWindow, "按钮1", Role::PushButton, "本地订阅转换"},
        {frontdual::modeWindow, "按钮2", Role::PushButton, "在线订阅转换"},
        {frontdual::localWindow, "编辑框1", Role::EditableText, "Clash 原链接"},
        {frontdual::localWindow, "按钮1", Role::PushButton, "Clash 转换"},
        {frontdual::localWindow, "编辑框2", Role::EditableText, "Clash 转换后"},
        {frontdual::localWindow, "编辑框3", Role::EditableText, "Base64 原链接"},
        {frontdual::localWindow, "按钮2", Role::PushButton, "Base64 转换"},
        {frontdual::localWindow, "编辑框4", Role::EditableText, "Base64 转换后"},
        {frontdual::localWindow, "标签2", Role::StaticText, "Clash转换"},
        {frontdual::localWindow, "标签4", Role::StaticText, "原链接"},
        {frontdual::localWindow, "标签7", Role::StaticText, "转换后"},
        {frontdual::onlineWindow, "编辑框1", Role::EditableText, "Clash 原链接"},
        {frontdual::onlineWindow, "按钮1", Role::PushButton, "Clash 转换"},
        {frontdual::onlineWindow, "编辑框2", Role::EditableText, "Clash 转换后"},
        {frontdual::onlineWindow, "混合1", Role::EditableText, "混合订阅 原链接"},
        {frontdual::onlineWindow, "按钮2", Role::PushButton, "混合订阅 转换"},
        {frontdual::onlineWindow, "混合2", Role::EditableText, "混合订阅 转换后"},
        {frontdual::onlineWindow, "冲1", Role::EditableText, "冲浪板 原链接"},
        {frontdual::onlineWindow, "按钮3", Role::PushButton, "冲浪板 转换"},
        {frontdual::onlineWindow, "冲2", Role::EditableText, "冲浪板 转换后"},
        // The quanx boxes are numbered against their order: 编辑框8 is the upper one.
        {frontdual::onlineWindow, "编辑框8", Role::EditableText, "圈X 原链接"},
        {frontdual::onlineWindow, "按钮4", Role::PushButton, "圈X 转换"},
        {frontdual::onlineWindow, "编辑框7", Role::EditableText, "圈X 转换后"},
        {frontdual::onlineWindow, "标签12", Role::StaticText, "圈X"},
    };
    forEachWindow([&](TemplateOf from, Window* window) {
        for (const Announced& c : cases) {
            if (c.window != from) continue;
            SCOPED_TRACE(c.control);
            QWidget* control = window->control(c.control);
            ASSERT_NE(control, nullptr);
            QAccessibleInterface* interface = announced(control);
            ASSERT_NE(interface, nullptr);
            EXPECT_EQ(interface->role(), c.role);
            EXPECT_EQ(interface->text(QAccessible::Name).toStdString(), c.name);
        }
    });
}

TEST_F(Accessibility, LabelsAreReadAsTheWordsTheyShow) {
    Window* window = Application::open(frontlite::frontEndWindow());
    ASSERT_NE(window, nullptr);
    // The "&" of the heading only underlines 用; the line breaks stay where the window shows them.
    const QString terms = announced(window->control("透明标签4"))->text(QAccessible::Name);
    EXPECT_TRUE(terms.startsWith("服务条款用户条款\n1.本订阅转换前端只能在本机使用")) << terms.toStdString();
    EXPECT_FALSE(terms.contains('\r'));
    closeWindow(window);
}

TEST_F(Accessibility, EveryBoxAndButtonHasANameOfItsOwnAndBoxesTakeInputMethods) {
    forEachWindow([](TemplateOf, Window* window) {
        std::set<QString> names;
        for (const winlayer::ControlEntry& entry : window->windowTemplate().controls) {
            if (!winlayer::takesFocus(entry.kind)) continue;
            SCOPED_TRACE(std::string(entry.name));
            QWidget* control = window->control(entry.name);
            const QString name = announced(control)->text(QAccessible::Name);
            EXPECT_FALSE(name.isEmpty());
            EXPECT_TRUE(names.insert(name).second) << "announced twice: " << name.toStdString();
            // Chinese is typed through an input method, which only reaches widgets that accept it.
            if (entry.kind == winlayer::ControlKind::EditBox) {
                EXPECT_TRUE(control->testAttribute(Qt::WA_InputMethodEnabled));
            }
        }
    });
}

TEST_F(Accessibility, EditBoxesShowTheirTextCaretAndSelectionToScreenReaders) {
    Window* window = Application::open(frontlite::frontEndWindow());
    auto* box = edit(window, "编辑框1");
    box->setText("https://例子.测试/sub");
    QAccessibleTextInterface* text = announced(box)->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), box->text().size());
    EXPECT_EQ(text->text(8, 13), "例子.测试");
    EXPECT_EQ(announced(box)->text(QAccessible::Value), box->text());

    text->setSelection(0, 8, 10);
    EXPECT_EQ(box->selectedText(), "例子");
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(8, 10));
    text->setCursorPosition(3);
    EXPECT_EQ(text->cursorPosition(), 3);
    EXPECT_EQ(text->selectionCount(), 0);

    // The character under a point is the one whose rectangle holds it.
    const QRect fourth = text->characterRect(4);
    EXPECT_GT(fourth.width(), 0);
    EXPECT_EQ(text->offsetAtPoint(fourth.center() - QPoint(fourth.width() / 4, 0)), 4);
    closeWindow(window);
}

}  // namespace
