// Conversion links: the six link templates and the composition of a link from a template and a
// source link. A link asks a subscription-conversion backend to fetch the source subscription and
// return it in one client's format; this unit only composes the text, it never opens it.
#pragma once

#include <array>
#include <string_view>

#include "core/text.h"

namespace core {

// A fixed prefix, ending in "&url=", and a fixed suffix, starting with "&insert=false".
// The source link goes between them as the value of the url key.
struct LinkTemplate {
    std::string_view name;
    std::string_view prefix;
    std::string_view suffix;
};

extern const LinkTemplate localClash;
extern const LinkTemplate localMixed;
extern const LinkTemplate onlineClash;
extern const LinkTemplate onlineMixed;
extern const LinkTemplate onlineSurfboard;
extern const LinkTemplate onlineQuanx;

inline const std::array<const LinkTemplate*, 6> linkTemplates{
    &localClash, &localMixed, &onlineClash, &onlineMixed, &onlineSurfboard, &onlineQuanx};

// The template's prefix, the source link and the template's suffix in one new text. An absent
// source counts as empty. The source is copied byte for byte except for the bytes that would
// change what the backend or the proxy client reads as the url value: "%", "&", "#", "+", the
// blank and the other control bytes become "%" and two upper-case hex digits. Every other byte,
// non-ASCII ones included, passes unchanged.
Text composeLink(const LinkTemplate& link, const char* source);

}  // namespace core
