#include "frontlite/front_end_window.h"

#include "smilePicture.h"
#include "winlayer/row_names.h"
#include "winlayer/window.h"

namespace frontlite {
namespace {

using winlayer::ControlKind;

// Thirteen lines joined by CR LF. The "&" of the heading is not drawn: it underlines "用".
constexpr char termsText[] =
    "服务条款&用户条款\r\n"
    "1.本订阅转换前端只能在本机使用，分享是不可以的，别人也打不开\r\n"
    "2.这只是一个前端，不会盗用你的信息\r\n"
    "3.后端在你的电脑上打开在使用这个软件\r\n"
    "4.有问题随时加我Telegram：@Mirelo_sub\r\n"
    "5.脑瘫问题我也不会回答，自己想去\r\n"
    "6.我只是一个订阅转换的前端！！！没开后端也是白转换\r\n"
    "7.本软件永久免费，倒卖的自己去对线\r\n"
    "8.本软件之许在中国大陆以外的国家或地区使用\r\n"
    "9.本软件仅供学术交流使用\r\n"
    "10.任何以犯罪为目的的行为与Mirelo无关\r\n"
    "11.使用本软件代表您已同意此用户条款\r\n"
    "12.本软件不联网、不保存任何内容，关闭窗口后框里的链接就没了";

// Thirty hyphens, each pair separated by one blank.
constexpr char rowSeparator[] =
    "- - - - - - - - - - - - - - - - - - - - - - - - - - - - - -";

}  // namespace

const winlayer::WindowTemplate& frontEndWindow() {
    static const winlayer::WindowTemplate window{
        .title = "简易订阅转换前端",
        .outerWidth = 325,
        .outerHeight = 530,
        .picture = smilePicture,
        .controls = winlayer::withRowNames(
            {
                {.name = "透明标签4", .kind = ControlKind::TransLabel, .place = {8, 328, 304, 168},
                 .text = termsText, .textColour = winlayer::Rgb{255, 0, 0}, .wordWrap = true},
                {.name = "按钮2", .kind = ControlKind::Button, .place = {104, 232, 120, 40}},
                {.name = "编辑框4", .kind = ControlKind::EditBox, .place = {8, 280, 304, 32}},
                {.name = "编辑框3", .kind = ControlKind::EditBox, .place = {8, 192, 304, 32}},
                {.name = "透明标签3", .kind = ControlKind::TransLabel, .place = {136, 176, 120, 16},
                 .text = "Base64"},
                {.name = "透明标签2", .kind = ControlKind::TransLabel, .place = {0, 168, 320, 16},
                 .text = rowSeparator},
                {.name = "透明标签1", .kind = ControlKind::TransLabel, .place = {136, 8, 32, 16},
                 .text = "Clash"},
                {.name = "编辑框2", .kind = ControlKind::EditBox, .place = {8, 128, 304, 32}},
                {.name = "按钮1", .kind = ControlKind::Button, .place = {96, 72, 120, 40}},
                {.name = "编辑框1", .kind = ControlKind::EditBox, .place = {8, 24, 304, 32}},
            },
            {{clashRow, "Clash"}, {base64Row, "Base64"}}),
        .clicks =
            {
                {clashRow.button, core::conversionAction(clashRow)},
                {base64Row.button, core::conversionAction(base64Row)},
            },
    };
    return window;
}

}  // namespace frontlite
