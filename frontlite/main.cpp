#include "frontlite/front_end_window.h"
#include "winlayer/application.h"

int main(int, char** argv) {
    winlayer::Application application(argv[0], {&frontlite::frontEndWindow()});
    return application.run(frontlite::frontEndWindow());
}
