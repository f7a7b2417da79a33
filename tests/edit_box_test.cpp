#include <QClipboard>
#include <QInputMethodEvent>

#include "support/widget_test.h"

namespace {

using winlayer::Application;
using winlayer::ControlKind;
using winlayer::EditBox;
using winlayer::Window;
using winlayer::WindowTemplate;

const WindowTemplate boxWindow{
    .title = "box", .outerWidth = 320, .outerHeight = 120,
    .controls = {{.name = "A", .kind = ControlKind::EditBox, .place = {8, 8, 272, 24}},
                 {.name = "B", .kind = ControlKind::EditBox, .place = {8, 48, 272, 24}}}};

class EditBoxTest : public WidgetTest {
protected:
    void SetUp() override {
        window = Application::open(boxWindow);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        box = edit(window, "B");  // the first of the focus cycle
        ASSERT_TRUE(box->hasFocus());
    }
    void TearDown() override {
        closeWindow(window);
        WidgetTest::TearDown();
    }

    void keys(std::initializer_list<QKeyCombination> sequence) {
        for (QKeyCombination key : sequence) QTest::keyClick(box, key.key(), key.keyboardModifiers());
    }

    Window* window = nullptr;
    EditBox* box = nullptr;
};

TEST_F(EditBoxTest, TypingAndEditingKeys) {
    const QString emoji = QString::fromUtf8("😀");
    struct Case {
        QString start;
        std::function<void()> act;
        QString text;
        qsizetype caret;
    };
    const Case cases[] = {
        {"", [&] { QTest::keyClicks(box, "abc"); }, "abc", 3},
        {"abc", [&] { keys({Qt::Key_End, Qt::Key_Left, Qt::Key_Backspace}); }, "ac", 1},
        {"abc", [&] { keys({Qt::Key_Home, Qt::Key_Delete}); }, "bc", 0},
        {"abcd", [&] { keys({Qt::Key_Home, Qt::Key_Right, Qt::ShiftModifier | Qt::Key_End}); QTest::keyClicks(box, "X"); }, "aX", 2},
        {"abc", [&] { keys({Qt::ControlModifier | Qt::Key_A}); QTest::keyClicks(box, "z"); }, "z", 1},
        {"a" + emoji + "b", [&] { keys({Qt::Key_End, Qt::Key_Left, Qt::Key_Left, Qt::Key_Backspace}); }, emoji + "b", 0},
        {"a" + emoji, [&] { keys({Qt::Key_End, Qt::Key_Backspace}); }, "a", 1},
        {"one two", [&] { keys({Qt::Key_End, Qt::ControlModifier | Qt::Key_Backspace}); }, "one ", 4},
        {"one two", [&] { keys({Qt::Key_Home, Qt::ControlModifier | Qt::Key_Right}); QTest::keyClicks(box, "_"); }, "one _two", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        box->setText(c.start);
        EXPECT_EQ(box->cursorPosition(), 0);
        c.act();
        EXPECT_EQ(box->text(), c.text);
        EXPECT_EQ(box->cursorPosition(), c.caret);
    }
}

TEST_F(EditBoxTest, CutCopyAndPasteThroughTheClipboard) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    box->setText("https://example.com/sub");
    keys({Qt::ControlModifier | Qt::Key_A, Qt::ControlModifier | Qt::Key_C});
    EXPECT_EQ(clipboard->text(), "https://example.com/sub");

    keys({Qt::Key_End, Qt::ShiftModifier | Qt::Key_Left, Qt::ShiftModifier | Qt::Key_Left,
          Qt::ShiftModifier | Qt::Key_Left, Qt::ControlModifier | Qt::Key_X});
    EXPECT_EQ(clipboard->text(), "sub");
    EXPECT_EQ(box->text(), "https://example.com/");

    clipboard->setText("?token=a&b#c\tline\r\nbreak");
    keys({Qt::ControlModifier | Qt::Key_V});
    EXPECT_EQ(box->text(), "https://example.com/?token=a&b#c\tline\r\nbreak");
    keys({Qt::Key_Home, Qt::ShiftModifier | Qt::Key_Insert});
    EXPECT_TRUE(box->text().startsWith("?token=a&b#c\tline\r\nbreakhttps://"));

    box->setText("");
    clipboard->setText(QString("https://e.com/abc") + QChar(0) + "def");
    keys({Qt::ControlModifier | Qt::Key_V});
    EXPECT_EQ(box->text(), "https://e.com/abc");
}

TEST_F(EditBoxTest, UndoTakesBackAWordOrAnEditAtATimeAndRedoRepeatsIt) {
    box->setText("https://example.com/");
    keys({Qt::Key_End});
    QTest::keyClicks(box, "sub token");
    keys({Qt::ShiftModifier | Qt::Key_Home, Qt::Key_Delete});
    EXPECT_EQ(box->text(), "");
    const std::pair<QKeyCombination, QString> steps[] = {
        {Qt::ControlModifier | Qt::Key_Z, "https://example.com/sub token"},
        {Qt::ControlModifier | Qt::Key_Z, "https://example.com/sub "},
        {Qt::ControlModifier | Qt::Key_Z, "https://example.com/"},
        {Qt::ControlModifier | Qt::Key_Z, "https://example.com/"},  // nothing left to take back
        {Qt::ControlModifier | Qt::Key_Y, "https://example.com/sub "},
        {Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z, "https://example.com/sub token"},
    };
    for (const auto& [key, text] : steps) {
        keys({key});
        EXPECT_EQ(box->text(), text);
    }
    box->setText("written by the window");
    keys({Qt::ControlModifier | Qt::Key_Z});
    EXPECT_EQ(box->text(), "written by the window");
}

TEST_F(EditBoxTest, EnterTabAndEscAreLeftToTheWindow) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        press.setAccepted(true);
        QCoreApplication::sendEvent(static_cast<QObject*>(box), &press);
        // The window takes Esc and Tab before the box; the box lets Enter go by.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EXPECT_FALSE(press.isAccepted());
        }
    }
    EXPECT_TRUE(box->text().isEmpty());
}

TEST_F(EditBoxTest, TabbingInSelectsTheTextAndTheSelectionHidesWithTheFocus) {
    edit(window, "A")->setText("second box");
    QTest::keyClick(box, Qt::Key_Tab);
    EditBox* other = edit(window, "A");
    ASSERT_TRUE(other->hasFocus());
    EXPECT_EQ(other->selectedText(), "second box");
}

TEST_F(EditBoxTest, MouseSetsTheCaretSelectsAndDoubleClickTakesAWord) {
    box->setText("alpha beta gamma");
    const int y = box->height() / 2;
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, y));
    EXPECT_EQ(box->cursorPosition(), 0);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 3, y));
    EXPECT_EQ(box->cursorPosition(), box->text().size());  // past the end of a short text

    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(4, y));
    QTest::mouseMove(box, QPoint(box->width() - 3, y));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(box->width() - 3, y));
    EXPECT_EQ(box->selectedText(), box->text());

    QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(4, y));
    EXPECT_EQ(box->selectedText(), "alpha");
}

TEST_F(EditBoxTest, InputMethodCommitsAtTheCaret) {
    box->setText("链接");
    QTest::keyClick(box, Qt::Key_End);
    QInputMethodEvent composing("dingyue", {});
    QCoreApplication::sendEvent(box, &composing);
    EXPECT_EQ(box->text(), "链接");
    QInputMethodEvent commit;
    commit.setCommitString("订阅");
    QCoreApplication::sendEvent(box, &commit);
    EXPECT_EQ(box->text(), "链接订阅");
    EXPECT_TRUE(box->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(box->inputMethodQuery(Qt::ImSurroundingText).toString(), "链接订阅");
}

TEST_F(EditBoxTest, AMegabyteTextScrollsSidewaysToTheCaret) {
    // Blanks everywhere but a mark at each end, so what shows tells which end is in view.
    QString text(1 << 20, u' ');
    text[0] = u'W';
    text[text.size() - 1] = u'W';
    box->setText(text);
    const QRect left(3, 3, 20, box->height() - 6);
    const QRect right(box->width() - 24, 3, 20, box->height() - 6);
    QImage shot = box->grab().toImage();
    EXPECT_TRUE(hasDarkPixel(shot, left));
    EXPECT_FALSE(hasDarkPixel(shot, right));

    QTest::keyClick(box, Qt::Key_End);
    EXPECT_EQ(box->cursorPosition(), text.size());
    shot = box->grab().toImage();
    EXPECT_FALSE(hasDarkPixel(shot, left));
    EXPECT_TRUE(hasDarkPixel(shot, right));

    QTest::keyClicks(box, "xy");
    EXPECT_EQ(box->text().size(), text.size() + 2);
    EXPECT_TRUE(box->text().endsWith("Wxy"));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
    EXPECT_GT(box->cursorPosition(), text.size() - 100);
    QTest::keyClick(box, Qt::Key_Home);
    EXPECT_TRUE(hasDarkPixel(box->grab().toImage(), left));
}

}  // namespace
