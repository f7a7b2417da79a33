// Running out of memory while a button composes a link: the run-time error report must name the
// exact byte count asked for, leave the result box unwritten and end the process with -1 (255).
// Memory is not really exhausted: this executable replaces the nothrow array new that
// core::obtainText uses, so that it fails for one request above a chosen size.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <new>
#include <string>

#include "core/link.h"
#include "core/text.h"
#include "frontlite/front_end_window.h"
#include "support/widget_test.h"

namespace {

// The next nothrow array request above this many bytes fails; later ones succeed again, so the
// report can still be drawn. SIZE_MAX: nothing fails.
std::atomic<std::size_t> failAbove{SIZE_MAX};

}  // namespace

void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    std::size_t limit = failAbove.load();
    if (bytes > limit && failAbove.compare_exchange_strong(limit, SIZE_MAX)) return nullptr;
    // Taken from the throwing form, so that delete[] (the sanitizers' own under ASan) matches it.
    try {
        return ::operator new[](bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

namespace {

using winlayer::Application;
using winlayer::Window;

class AllocationFailure : public WidgetTest {};

// Prints what the report box shows, and the result box behind it, then presses OK the way a user
// does; the death test's pattern reads these lines from stderr.
void answerTheReport(const QPointer<Window>& window) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    const core::Text result = window ? window->readContent("编辑框2") : nullptr;
    std::fprintf(stderr, "caption: %s\nicon: %s\ntext: %s\nresult box: %s\n",
                 box->windowTitle().toUtf8().constData(),
                 box->icon() == QMessageBox::Critical ? "critical" : "other",
                 box->text().toUtf8().constData(), result ? result.get() : "(null)");
    box->button(QMessageBox::Ok)->click();
}

TEST_F(AllocationFailure, ReportNamesTheExactByteCountAndEndsWithMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // "&", "#" and the blank each grow to three bytes in the link.
    const std::string source = "https://例子.测试/订阅?token=a&b#top 1";
    const core::LinkTemplate& clash = frontlite::clashRow.link;
    const std::size_t linkBytes = clash.prefix.size() + source.size() + 3 * 2 + clash.suffix.size() + 1;

    struct Case {
        const char* what;
        std::size_t failAbove;  // above the source's own copy, which reading the box takes
        std::function<void(Window*)> trigger;
        std::size_t reportedBytes;
    };
    const Case cases[] = {
        {"clicking 按钮1 fails the link's allocation", source.size() + 1,
         [](Window* window) { QTest::mouseClick(window->control("按钮1"), Qt::LeftButton); },
         linkBytes},
        // No source box can hold gigabytes; these sizes are only asked for, never allocated.
        // A 32-bit count would show them as negative or as 1.
        {"2^31 + 1 bytes", 0, [](Window*) { core::obtainText((std::size_t{1} << 31) + 1); },
         (std::size_t{1} << 31) + 1},
        {"2^32 + 1 bytes", 0, [](Window*) { core::obtainText((std::size_t{1} << 32) + 1); },
         (std::size_t{1} << 32) + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(
            {
                QPointer<Window> window = Application::open(frontlite::frontEndWindow());
                if (!window || !QTest::qWaitForWindowActive(window)) std::abort();
                window->writeContent("编辑框1", source.c_str());
                QTimer reader;
                QObject::connect(&reader, &QTimer::timeout, [&window] { answerTheReport(window); });
                reader.start(5);
                failAbove = c.failAbove;
                c.trigger(window);
            },
            testing::ExitedWithCode(255),
            "caption: 错误\nicon: critical\ntext: 运行时出错!\n(.|\n)*错误信息：分配 " +
                std::to_string(c.reportedBytes) + " 字节内存失败!\nresult box: \\(null\\)\n");
    }
}

}  // namespace
