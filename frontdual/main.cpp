#include "frontdual/local_window.h"
#include "frontdual/mode_window.h"
#include "frontdual/online_window.h"
#include "winlayer/application.h"

int main(int, char** argv) {
    winlayer::Application application(
        argv[0], {&frontdual::modeWindow(), &frontdual::localWindow(), &frontdual::onlineWindow()});
    return application.run(frontdual::modeWindow());
}
