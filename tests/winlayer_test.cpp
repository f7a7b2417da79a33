#include <QAbstractButton>
#include <QBuffer>
#include <QPainter>
#include <QTimer>

#include "support/widget_test.h"
#include "winlayer/picture.h"

namespace {

using winlayer::Application;
using winlayer::ControlEntry;
using winlayer::ControlKind;
using winlayer::Window;
using winlayer::WindowTemplate;

class WindowLayer : public WidgetTest {};

TEST_F(WindowLayer, TemplateFaultsAreFoundWhenTheTemplateIsRead) {
    const unsigned char notPng[] = {1, 2, 3};
    auto with = [](auto change) {
        WindowTemplate t{.title = "w", .outerWidth = 100, .outerHeight = 80,
                         .controls = {{.name = "按钮1", .kind = ControlKind::Button, .place = {0, 0, 10, 10}},
                                      {.name = "标签1", .kind = ControlKind::Label, .place = {0, 20, 10, 10}}},
                         .clicks = {{"按钮1", [](Window&) {}}}};
        change(t);
        return t;
    };
    struct Case {
        WindowTemplate window;
        std::string fault;  // empty: sound
    };
    const Case cases[] = {
        {with([](WindowTemplate&) {}), ""},
        {with([](WindowTemplate& t) { t.outerWidth = 0; }), "size is not positive"},
        {with([](WindowTemplate& t) { t.outerHeight = -4; }), "size is not positive"},
        {with([](WindowTemplate& t) { t.controls[1].place.height = 0; }), "\"标签1\" has a size that is not positive"},
        {with([](WindowTemplate& t) { t.controls[1].kind = static_cast<ControlKind>(7); }), "\"标签1\" is of an unknown kind"},
        {with([](WindowTemplate& t) { t.controls[1].name = "按钮1"; }), "\"按钮1\" appears twice"},
        {with([](WindowTemplate& t) { t.clicks[0].button = "按钮9"; }), "missing control \"按钮9\""},
        {with([](WindowTemplate& t) { t.clicks[0].button = "标签1"; }), "\"标签1\", which is no push button"},
        {with([&](WindowTemplate& t) { t.picture = notPng; }), "picture does not decode"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        const auto fault = winlayer::findTemplateFault(c.window);
        if (c.fault.empty()) {
            EXPECT_FALSE(fault.has_value()) << *fault;
        } else {
            ASSERT_TRUE(fault.has_value());
            EXPECT_NE(fault->find(c.fault), std::string::npos) << *fault;
            EXPECT_EQ(Application::open(c.window), nullptr);
        }
    }
}

TEST_F(WindowLayer, OpensCentredByOuterSizeWithControlsCreatedBeforeTheCreatedEvent) {
    bool hiddenWhileCreated = false;
    QWidget* boxSeenByCreated = nullptr;
    const WindowTemplate t{
        .title = "居中", .outerWidth = 322, .outerHeight = 346,
        .controls = {{.name = "编辑框1", .kind = ControlKind::EditBox, .place = {-8, 32, 272, 24}}},
        .created = [&](Window& w) {
            hiddenWhileCreated = !w.isVisible();
            boxSeenByCreated = w.control("编辑框1");
        }};
    Window* window = Application::open(t);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(hiddenWhileCreated);
    EXPECT_NE(boxSeenByCreated, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->frameGeometry(), QRect(799, 367, 322, 346));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->control("编辑框1")->geometry(), QRect(-8, 32, 272, 24));
    EXPECT_EQ(window->windowTitle(), "居中");
    closeWindow(window);
}

// A label, edit box A, push button B and edit box C, in that stored order.
const WindowTemplate focusExample{
    .title = "focus", .outerWidth = 200, .outerHeight = 200,
    .controls = {{.name = "标签", .kind = ControlKind::Label, .place = {0, 0, 50, 20}},
                 {.name = "A", .kind = ControlKind::EditBox, .place = {0, 20, 100, 20}},
                 {.name = "B", .kind = ControlKind::Button, .place = {0, 50, 100, 30}},
                 {.name = "C", .kind = ControlKind::EditBox, .place = {0, 90, 100, 20}}}};

TEST_F(WindowLayer, FocusCycleIsTheReversedStoredOrderOfEditBoxesAndButtons) {
    Window* window = Application::open(focusExample);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(focusName(window), "C");
    for (const char* next : {"B", "A", "C", "B"}) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(focusName(window), next);
    }
    for (const char* previous : {"C", "A", "B", "C"}) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(focusName(window), previous);
    }
    closeWindow(window);
}

TEST_F(WindowLayer, TabValueOrdersTheCycleBeforeTheStoredOrder) {
    WindowTemplate t = focusExample;
    t.controls[3].tabValue = 1;  // C last although stored last
    Window* window = Application::open(t);
    std::vector<std::string> names;
    for (QWidget* control : window->focusCycle()) names.push_back(control->objectName().toStdString());
    EXPECT_EQ(names, (std::vector<std::string>{"B", "A", "C"}));
    closeWindow(window);
}

TEST_F(WindowLayer, EnterDoesNothingSpaceClicksTheFocusedButtonEscCloses) {
    int clicks = 0;
    WindowTemplate t = focusExample;
    t.clicks = {{"B", [&](Window&) { ++clicks; }}};
    QPointer<Window> window = Application::open(t);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    for (const char* focused : {"C", "B"}) {
        SCOPED_TRACE(focused);
        window->control(focused)->setFocus();
        QTest::keyClick(window->focusWidget(), Qt::Key_Return);
        QTest::keyClick(window->focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(clicks, 0);
        EXPECT_EQ(focusName(window), focused);
    }
    QTest::keyClick(window->focusWidget(), Qt::Key_Space);
    EXPECT_EQ(clicks, 1);

    window->control("A")->setFocus();
    QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(WindowLayer, EditBoxesHoldAnyLengthAndReadEmptyAsNoText) {
    Window* window = Application::open(focusExample);
    EXPECT_EQ(window->readContent("A"), nullptr);
    const std::string longText(200000, 'k');
    window->writeContent("A", longText.c_str());
    EXPECT_EQ(window->readContent("A").get(), longText);
    window->writeContent("A", "订阅 é");
    EXPECT_STREQ(window->readContent("A").get(), "订阅 é");
    window->writeContent("A", nullptr);
    EXPECT_EQ(window->readContent("A"), nullptr);
    closeWindow(window);
}

TEST_F(WindowLayer, ProgramEndsWithZeroExactlyWhenItsLastWindowIsDestroyed) {
    QPointer<Window> second;
    std::size_t openAfterFirstClosed = 0;
    QTimer::singleShot(0, [&] {
        second = Application::open(focusExample);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != second && dynamic_cast<Window*>(w)) w->close();
        }
        QTimer::singleShot(10, [&] {
            openAfterFirstClosed = Application::openWindowCount();
            second->close();
        });
    });
    EXPECT_EQ(testApplication().run(focusExample), 0);
    EXPECT_EQ(openAfterFirstClosed, 1u);
    EXPECT_TRUE(second.isNull());
}

QByteArray pngOf(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

TEST_F(WindowLayer, LabelsAreOpaqueTransparentLabelsShowThePictureAndBothClip) {
    // Two pixels tiled: opaque light blue, then red at half opacity over the white background.
    QImage tile(2, 1, QImage::Format_ARGB32);
    tile.setPixel(0, 0, qRgba(160, 200, 255, 255));
    tile.setPixel(1, 0, qRgba(255, 0, 0, 128));
    const QByteArray png = pngOf(tile);
    const WindowTemplate t{
        .title = "drawing", .outerWidth = 200, .outerHeight = 200,
        .background = winlayer::Rgb{255, 255, 255},
        .picture = {reinterpret_cast<const unsigned char*>(png.data()), static_cast<std::size_t>(png.size())},
        .controls = {
            {.name = "top", .kind = ControlKind::Label, .place = {0, 110, 30, 20}, .text = ""},
            {.name = "under", .kind = ControlKind::EditBox, .place = {10, 110, 50, 20}},
            {.name = "blanks", .kind = ControlKind::Label, .place = {0, 0, 100, 20}, .text = "        WW"},
            {.name = "trans", .kind = ControlKind::TransLabel, .place = {0, 30, 60, 20}, .text = "WW"},
            {.name = "clipped", .kind = ControlKind::Label, .place = {0, 60, 20, 20}, .text = "WWWWWWWWWW"},
            {.name = "rule", .kind = ControlKind::Label, .place = {0, 90, 60, 8}, .text = "----------"},
        }};
    Window* window = Application::open(t);
    const QImage shot = window->grab().toImage();
    const QRgb face = window->palette().color(QPalette::Button).rgb();
    const QRgb blue = qRgb(160, 200, 255);
    auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
               std::abs(qBlue(a) - qBlue(b)) <= 2;
    };

    // The background: colour, then the tiled picture blended by its opacity.
    EXPECT_TRUE(near(shot.pixel(150, 150), blue));
    EXPECT_TRUE(near(shot.pixel(151, 150), qRgb(255, 127, 127)));

    // An opaque label fills its rectangle, keeps its leading blanks and clips its text.
    EXPECT_TRUE(near(shot.pixel(1, 1), face));
    EXPECT_FALSE(hasDarkPixel(shot, {0, 0, 16, 20}));
    EXPECT_TRUE(hasDarkPixel(shot, {16, 0, 84, 20}));
    EXPECT_TRUE(hasDarkPixel(shot, {0, 60, 20, 20}));
    EXPECT_FALSE(hasDarkPixel(shot, {20, 60, 60, 20}));
    EXPECT_TRUE(near(shot.pixel(30, 70), blue));

    // An 8-pixel label shows the middle band of its line.
    EXPECT_TRUE(hasDarkPixel(shot, {0, 90, 60, 8}));
    EXPECT_TRUE(near(shot.pixel(0, 90), face));

    // A transparent label draws only its letters.
    EXPECT_TRUE(hasDarkPixel(shot, {0, 30, 60, 20}));
    EXPECT_TRUE(near(shot.pixel(58, 31), blue));
    EXPECT_TRUE(near(shot.pixel(59, 31), qRgb(255, 127, 127)));

    // The first stored control lies on top.
    EXPECT_TRUE(near(shot.pixel(20, 120), face));
    EXPECT_TRUE(near(shot.pixel(50, 120), qRgb(255, 255, 255)));
    closeWindow(window);
}

TEST_F(WindowLayer, ModalOpeningDisablesTheOthersAndRestoresThemBeforeItIsDestroyed) {
    int clicks = 0;
    WindowTemplate other = focusExample;
    other.clicks = {{"B", [&](Window&) { ++clicks; }}};
    QPointer<Window> mode = Application::open(other);
    QPointer<Window> alreadyDisabled = Application::open(other);
    alreadyDisabled->enableWindow(false);

    bool modeEnabledWhileOpen = true;
    bool modeEnabledAtDestruction = false;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        Window* modal = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* window = dynamic_cast<Window*>(w); window && window->isModal()) modal = window;
        }
        ASSERT_NE(modal, nullptr);
        owner = modal->parentWidget();
        modeEnabledWhileOpen = mode->isWindowEnabled();
        // A disabled window takes no clicks, no keys and no close request.
        QTest::mouseClick(mode->control("B"), Qt::LeftButton);
        QTest::keyClick(mode->control("C"), Qt::Key_Escape);
        mode->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(mode.isNull());
        QObject::connect(modal, &QObject::destroyed,
                         [&] { modeEnabledAtDestruction = mode->isWindowEnabled(); });
        modal->close();
    });
    EXPECT_TRUE(Application::openModal(focusExample));

    EXPECT_FALSE(modeEnabledWhileOpen);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(modeEnabledAtDestruction);
    EXPECT_NE(owner, nullptr);
    EXPECT_NE(owner, mode.data());
    EXPECT_FALSE(owner->isVisible());
    EXPECT_TRUE(mode->isWindowEnabled());
    EXPECT_FALSE(alreadyDisabled->isWindowEnabled());
    EXPECT_EQ(Application::openWindowCount(), 2u);
    alreadyDisabled->enableWindow(true);
    closeWindow(alreadyDisabled);
    closeWindow(mode);
}

TEST_F(WindowLayer, ModalOpeningThatCannotCreateItsWindowDisablesNothing) {
    Window* mode = Application::open(focusExample);
    WindowTemplate broken = focusExample;
    broken.outerHeight = 0;
    EXPECT_FALSE(Application::openModal(broken));
    EXPECT_TRUE(mode->isWindowEnabled());
    EXPECT_EQ(Application::openWindowCount(), 1u);
    closeWindow(mode);
}

TEST_F(WindowLayer, InformationBoxHasItsCaptionTextAndOneOkButton) {
    BoxAnswerer answerer;
    Application::showInformation("您当前选择的是本地订阅转换");
    ASSERT_EQ(answerer.boxes.size(), 1u);
    EXPECT_EQ(answerer.boxes[0].caption, "信息：");
    EXPECT_EQ(answerer.boxes[0].text, "您当前选择的是本地订阅转换");
}

TEST_F(WindowLayer, RunTimeErrorReportNamesTheFailureThenEndsWithMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            QTimer reader;
            QObject::connect(&reader, &QTimer::timeout, [] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box) return;
                std::fprintf(stderr, "%s|%s|%d|%d\n", box->windowTitle().toUtf8().constData(),
                             box->text().toUtf8().constData(), box->icon() == QMessageBox::Critical,
                             static_cast<int>(box->buttons().size()));
                box->button(QMessageBox::Ok)->click();
            });
            reader.start(5);
            Application::fatal("载入启动窗口失败");
        },
        testing::ExitedWithCode(255), "错误\\|运行时出错!.*错误信息：载入启动窗口失败\\|1\\|1");
}

}  // namespace
