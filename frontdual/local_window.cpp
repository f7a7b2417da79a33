#include "frontdual/local_window.h"

#include "frontdual/captions.h"
#include "winlayer/window.h"

namespace frontdual {

using winlayer::ControlKind;

const winlayer::WindowTemplate& localWindow() {
    // A dashed rule in which four places show two hyphens side by side. The label is 8 pixels
    // high and narrower than the window, so only the middle band of its start shows.
    static const std::string rule = dashes(83) + "-" + dashes(71) + "-" + dashes(71) + "-" +
                                    dashes(82) + "-" + dashes(11) + "-";
    static const std::string clashHeading = spaces(18) + "Clash转换";
    static const std::string base64Heading = spaces(18) + "Base64转换";
    static const winlayer::WindowTemplate window{
        .title = "本地订阅转换模块（前端）",
        .outerWidth = 322,
        .outerHeight = 346,
        .background = winlayer::Rgb{255, 255, 255},
        .controls = winlayer::withRowNames(
            {
                {.name = "标签7", .kind = ControlKind::Label, .place = {0, 280, 40, 32}, .text = result},
                {.name = "标签6", .kind = ControlKind::Label, .place = {0, 192, 40, 32}, .text = source},
                {.name = "标签5", .kind = ControlKind::Label, .place = {0, 112, 40, 32}, .text = result},
                {.name = "标签4", .kind = ControlKind::Label, .place = {0, 24, 40, 32}, .text = source},
                {.name = "标签3", .kind = ControlKind::Label, .place = {32, 176, 264, 16}, .text = base64Heading},
                {.name = "标签2", .kind = ControlKind::Label, .place = {32, 0, 376, 32}, .text = clashHeading},
                {.name = "标签1", .kind = ControlKind::Label, .place = {0, 160, 336, 8}, .text = rule},
                {.name = "编辑框4", .kind = ControlKind::EditBox, .place = {40, 288, 272, 24}},
                {.name = "按钮2", .kind = ControlKind::Button, .place = {120, 240, 88, 32}},
                {.name = "编辑框3", .kind = ControlKind::EditBox, .place = {40, 200, 272, 24}},
                {.name = "编辑框2", .kind = ControlKind::EditBox, .place = {40, 120, 272, 24}},
                {.name = "按钮1", .kind = ControlKind::Button, .place = {120, 72, 88, 32}},
                {.name = "编辑框1", .kind = ControlKind::EditBox, .place = {40, 32, 272, 24}},
            },
            {{localRows[0], "Clash"}, {localRows[1], "Base64"}}),
        .clicks = conversionClicks(localRows),
    };
    return window;
}

}  // namespace frontdual
