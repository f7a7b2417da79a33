#include "core/link.h"

#include <cstring>

#include "link_settings.h"

namespace core {

// The online suffix is shared by the mixed, Surfboard and quanx templates; Clash appends a key.
#define ONLINE_SUFFIX                                                                          \
    "&insert=false&config=" FRONTEND_RULESET_CONFIG                                            \
    "&emoji=true&list=false&udp=false&tfo=false&expand=true&scv=false&fdn=false&sort=false"

const LinkTemplate localClash{
    "local-clash", "http://" FRONTEND_LOOPBACK_HOST ":25500/sub?target=clash&url=", "&insert=false"};
const LinkTemplate localMixed{
    "local-mixed", "http://" FRONTEND_LOOPBACK_HOST ":25500/sub?target=mixed&url=", "&insert=false"};
const LinkTemplate onlineClash{"online-clash",
                               "https://" FRONTEND_ONLINE_HOST "/sub?target=clash&url=",
                               ONLINE_SUFFIX "&new_name=true"};
const LinkTemplate onlineMixed{
    "online-mixed", "https://" FRONTEND_ONLINE_HOST "/sub?target=mixed&url=", ONLINE_SUFFIX};
const LinkTemplate onlineSurfboard{
    "online-surfboard", "https://" FRONTEND_ONLINE_HOST "/sub?target=surfboard&url=", ONLINE_SUFFIX};
const LinkTemplate onlineQuanx{
    "online-quanx", "https://" FRONTEND_ONLINE_HOST "/sub?target=quanx&url=", ONLINE_SUFFIX};

namespace {

// Left raw, "&" would end the url value (a token=abc&target=... tail could even override
// target), "#" would make the proxy client drop the rest of the link, "+" would read as a blank
// and "%41" as "A"; blanks and control bytes are not allowed in a URL at all.
constexpr auto escapedBytes = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c <= 0x20; ++c) table[c] = true;
    table[0x7F] = true;
    for (unsigned char c : {'%', '&', '#', '+'}) table[c] = true;
    return table;
}();

constexpr char hexDigits[] = "0123456789ABCDEF";

char* copy(char* to, std::string_view text) {
    std::memcpy(to, text.data(), text.size());
    return to + text.size();
}

}  // namespace

Text composeLink(const LinkTemplate& link, const char* source) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(source ? source : "");

    // One pass measures the source and counts the bytes that grow from one to three.
    std::size_t length = 0;
    std::size_t escapes = 0;
    for (; bytes[length] != 0; ++length) escapes += escapedBytes[bytes[length]];

    Text composed =
        obtainText(link.prefix.size() + length + 2 * escapes + link.suffix.size() + 1);
    char* end = copy(composed.get(), link.prefix);
    if (escapes == 0) {
        end = copy(end, {source, length});
    } else {
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned char c = bytes[i];
            if (!escapedBytes[c]) {
                *end++ = static_cast<char>(c);
                continue;
            }
            *end++ = '%';
            *end++ = hexDigits[c >> 4];
            *end++ = hexDigits[c & 0xF];
        }
    }
    end = copy(end, link.suffix);
    *end = '\0';
    return composed;
}

}  // namespace core
