#include <QPushButton>

#include "frontlite/front_end_window.h"
#include "support/widget_test.h"
#include "winlayer/picture.h"
#include "smilePicture.h"

namespace {

using winlayer::Application;
using winlayer::Window;

class FrontEndWindow : public WidgetTest {
protected:
    void SetUp() override {
        window = Application::open(frontlite::frontEndWindow());
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    void TearDown() override {
        if (window) closeWindow(window);
        WidgetTest::TearDown();
    }

    std::string text(std::string_view box) { return edit(window, box)->text().toStdString(); }

    QPointer<Window> window;
};

TEST_F(FrontEndWindow, OpensCentredWithFocusInTheClashSource) {
    EXPECT_EQ(window->windowTitle(), "简易订阅转换前端");
    EXPECT_EQ(window->frameGeometry(), QRect(797, 275, 325, 530));
    EXPECT_EQ(focusName(window), "编辑框1");
    for (const char* box : {"编辑框1", "编辑框2", "编辑框3", "编辑框4"}) EXPECT_EQ(text(box), "") << box;
    for (const char* button : {"按钮1", "按钮2"}) {
        auto* push = qobject_cast<QPushButton*>(window->control(button));
        ASSERT_NE(push, nullptr);
        EXPECT_EQ(push->text(), "按钮");
        EXPECT_FALSE(push->autoDefault() || push->isDefault());
    }
}

TEST_F(FrontEndWindow, TabVisitsTheRowsTopToBottomExceptTheBase64Button) {
    for (const char* next : {"按钮1", "编辑框2", "编辑框3", "编辑框4", "按钮2", "编辑框1"}) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(focusName(window), next);
    }
}

TEST_F(FrontEndWindow, EachButtonWritesOnlyItsOwnResultBox) {
    const std::array rows{&frontlite::clashRow, &frontlite::base64Row};
    for (const core::ConversionRow* row : rows) {
        for (const char* source : {"", "https://example.com/sub?token=abc&flag=clash"}) {
            SCOPED_TRACE(std::string(row->button) + " " + source);
            std::map<std::string_view, std::string> before;
            for (const char* box : {"编辑框1", "编辑框2", "编辑框3", "编辑框4"}) {
                edit(window, box)->setText(QString("typed into ") + box);
                before[box] = text(box);
            }
            edit(window, row->sourceBox)->setText(source);
            before[row->sourceBox] = source;

            QTest::mouseClick(window->control(row->button), Qt::LeftButton);
            for (const auto& [box, content] : before) {
                if (box == row->resultBox) {
                    EXPECT_EQ(text(box), core::composeLink(row->link, source).get());
                } else {
                    EXPECT_EQ(text(box), content) << box;
                }
            }
        }
    }
}

TEST_F(FrontEndWindow, ThePictureIsTiledBehindTheTransparentLabels) {
    const QImage shot = window->grab().toImage();
    const QImage tile = winlayer::decodePicture(smilePicture);
    // Dark points of the picture where no control covers it, in the first tile and the next.
    for (QPoint p : {QPoint(36, 65), QPoint(102, 61), QPoint(72, 103), QPoint(36 + 139, 65)}) {
        SCOPED_TRACE(p.x() * 1000 + p.y());
        EXPECT_LT(qGray(tile.pixel(p.x() % 139, p.y())), 40);
        EXPECT_EQ(shot.pixel(p), tile.pixel(p.x() % 139, p.y()));
    }
    // Between the separator's hyphens and beside the terms heading the picture shows, not a fill.
    EXPECT_EQ(shot.pixel(301, 170), tile.pixel(301 - 2 * 139, 170 - 132));
    EXPECT_EQ(shot.pixel(175, 329), tile.pixel(36, 65));  // inside the terms label, right of its heading
}

}  // namespace
