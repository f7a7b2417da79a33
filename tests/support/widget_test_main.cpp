// Main of the in-process widget tests: the window layer's application on Qt's offscreen platform,
// with one 1920 x 1080 screen and no window frame.
#include <gtest/gtest.h>

#include "support/widget_test.h"

namespace {
winlayer::Application* application = nullptr;
}

winlayer::Application& testApplication() { return *application; }

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" OFFSCREEN_CONFIG);
    winlayer::Application offscreen(argv[0], {});
    application = &offscreen;
    return RUN_ALL_TESTS();
}
