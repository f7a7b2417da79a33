#include "frontdual/online_window.h"

#include "frontdual/captions.h"
#include "winlayer/window.h"

namespace frontdual {

using winlayer::ControlKind;

const winlayer::WindowTemplate& onlineWindow() {
    // The headings overhang both sides of the window; their blanks put the word near the middle.
    static const std::string clashHeading = spaces(36) + "Clash";
    static const std::string mixedHeading = spaces(36) + "混合订阅";
    static const std::string surfboardHeading = spaces(36) + "冲浪板";
    static const std::string quanxHeading = spaces(38) + "圈X";
    static const std::string rule(67, '-');
    static const winlayer::WindowTemplate window{
        .title = "在线订阅转换模块（前端）",
        .outerWidth = 352,
        .outerHeight = 655,
        .controls = winlayer::withRowNames(
            {
                {.name = "标签16", .kind = ControlKind::Label, .place = {-8, 616, 352, 8}, .text = rule},
                {.name = "标签15", .kind = ControlKind::Label, .place = {0, 448, 352, 8}, .text = rule},
                {.name = "标签14", .kind = ControlKind::Label, .place = {-8, 296, 352, 8}, .text = rule},
                {.name = "标签13", .kind = ControlKind::Label, .place = {0, 144, 352, 8}, .text = rule},
                {.name = "标签10", .kind = ControlKind::Label, .place = {16, 584, 40, 32}, .text = result},
                {.name = "标签11", .kind = ControlKind::Label, .place = {16, 496, 40, 32}, .text = source},
                {.name = "编辑框7", .kind = ControlKind::EditBox, .place = {56, 592, 272, 24}},
                {.name = "按钮4", .kind = ControlKind::Button, .place = {136, 544, 88, 32}},
                {.name = "编辑框8", .kind = ControlKind::EditBox, .place = {56, 504, 272, 24}},
                {.name = "标签12", .kind = ControlKind::Label, .place = {-56, 472, 456, 24}, .text = quanxHeading},
                {.name = "标签7", .kind = ControlKind::Label, .place = {24, 416, 40, 32}, .text = result},
                {.name = "标签8", .kind = ControlKind::Label, .place = {24, 328, 40, 32}, .text = source},
                {.name = "冲2", .kind = ControlKind::EditBox, .place = {64, 424, 272, 24}},
                {.name = "按钮3", .kind = ControlKind::Button, .place = {144, 376, 88, 32}},
                {.name = "冲1", .kind = ControlKind::EditBox, .place = {64, 336, 272, 24}},
                {.name = "标签9", .kind = ControlKind::Label, .place = {-56, 304, 456, 24}, .text = surfboardHeading},
                {.name = "标签2", .kind = ControlKind::Label, .place = {16, 264, 40, 32}, .text = result},
                {.name = "标签3", .kind = ControlKind::Label, .place = {16, 176, 40, 32}, .text = source},
                {.name = "混合2", .kind = ControlKind::EditBox, .place = {56, 272, 272, 24}},
                {.name = "按钮2", .kind = ControlKind::Button, .place = {136, 224, 88, 32}},
                {.name = "混合1", .kind = ControlKind::EditBox, .place = {56, 184, 272, 24}},
                {.name = "标签6", .kind = ControlKind::Label, .place = {-56, 152, 456, 24}, .text = mixedHeading},
                {.name = "标签5", .kind = ControlKind::Label, .place = {16, 112, 40, 32}, .text = result},
                {.name = "标签4", .kind = ControlKind::Label, .place = {16, 24, 40, 32}, .text = source},
                {.name = "编辑框2", .kind = ControlKind::EditBox, .place = {56, 120, 272, 24}},
                {.name = "按钮1", .kind = ControlKind::Button, .place = {136, 72, 88, 32}},
                {.name = "编辑框1", .kind = ControlKind::EditBox, .place = {56, 32, 272, 24}},
                {.name = "标签1", .kind = ControlKind::Label, .place = {-56, 8, 456, 24}, .text = clashHeading},
            },
            {{onlineRows[0], "Clash"}, {onlineRows[1], "混合订阅"}, {onlineRows[2], "冲浪板"},
             {onlineRows[3], "圈X"}}),
        .clicks = conversionClicks(onlineRows),
    };
    return window;
}

}  // namespace frontdual
