#include "core/link.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// How many bytes of text[0, length) are escaped. Links are mostly plain, so 64 bytes at a time go
// through a coarse check first: every escaped byte lies below "," (0x2C) or is 0x7F. Only a
// stretch that fails it, which takes "&" or "%" but also a harmless "$" or "(", is counted byte
// by byte.
std::size_t countEscapes(const unsigned char* text, std::size_t length) {
    std::size_t escapes = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i belowComma = _mm_set1_epi8(0x2C);
    const __m128i del = _mm_set1_epi8(0x7F);
    // Nonzero lanes are candidates: 0x2C minus the byte, saturated, is nonzero below the comma.
    auto candidates = [&](const unsigned char* at) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        return _mm_or_si128(_mm_subs_epu8(belowComma, bytes), _mm_cmpeq_epi8(bytes, del));
    };
    for (; i + 64 <= length; i += 64) {
        const __m128i any =
            _mm_or_si128(_mm_or_si128(candidates(text + i), candidates(text + i + 16)),
                         _mm_or_si128(candidates(text + i + 32), candidates(text + i + 48)));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) == 0xFFFF) continue;
        for (std::size_t j = i; j < i + 64; ++j) escapes += escapedBytes[text[j]];
    }
#endif
    for (; i < length; ++i) escapes += escapedBytes[text[i]];
    return escapes;
}

}  // namespace

Text composeLink(const LinkTemplate& link, const char* source) {
    if (!source) source = "";
    const std::size_t length = std::strlen(source);
    const auto* bytes = reinterpret_cast<const unsigned char*>(source);
    const std::size_t escapes = countEscapes(bytes, length);

    Text composed =
        obtainText(link.prefix.size() + length + 2 * escapes + link.suffix.size() + 1);
    char* end = copy(composed.get(), link.prefix);
    if (escapes == 0) {
        end = copy(end, {source, length});
    } else {
        // Runs of plain bytes are copied whole; each escaped byte becomes three.
        std::size_t plainFrom = 0;
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned char c = bytes[i];
            if (!escapedBytes[c]) continue;
            end = copy(end, {source + plainFrom, i - plainFrom});
            *end++ = '%';
            *end++ = hexDigits[c >> 4];
            *end++ = hexDigits[c & 0xF];
            plainFrom = i + 1;
        }
        end = copy(end, {source + plainFrom, length - plainFrom});
    }
    end = copy(end, link.suffix);
    *end = '\0';
    return composed;
}

}  // namespace core
