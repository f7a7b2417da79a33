#include "frontdual/mode_window.h"

#include "frontdual/local_window.h"
#include "frontdual/online_window.h"
#include "winlayer/application.h"

namespace frontdual {

using winlayer::Application;
using winlayer::ControlKind;
using winlayer::Window;

const winlayer::WindowTemplate& modeWindow() {
    static const winlayer::WindowTemplate window{
        .title = "订阅转换V1.0",
        .outerWidth = 260,
        .outerHeight = 204,
        .controls =
            {
                {.name = "按钮2", .kind = ControlKind::Button, .place = {8, 104, 240, 64},
                 .text = "在线订阅转换"},
                {.name = "按钮1", .kind = ControlKind::Button, .place = {8, 24, 240, 64},
                 .text = "本地订阅转换"},
            },
        // The window is still hidden here, so the greeting stands alone on the screen.
        .created = [](Window&) { Application::showInformation("请选择转换方式"); },
        .clicks =
            {
                {"按钮1",
                 [](Window&) {
                     Application::showInformation("您当前选择的是本地订阅转换");
                     Application::openModal(localWindow());
                 }},
                {"按钮2",
                 [](Window&) {
                     Application::showInformation("您当前选择的是在线订阅转换");
                     Application::openModal(onlineWindow());
                 }},
            },
    };
    return window;
}

}  // namespace frontdual
