#include <gtest/gtest.h>

#include <QUrlQuery>
#include <QUrl>
#include <map>
#include <string>

#include "core/conversion.h"
#include "core/fatal.h"
#include "core/link.h"
#include "link_settings.h"

namespace {

std::string str(const core::Text& text) { return text ? std::string(text.get()) : std::string(); }

std::string link(const core::LinkTemplate& t, const char* source) {
    return str(core::composeLink(t, source));
}

const std::string localHead = "http://" FRONTEND_LOOPBACK_HOST ":25500/sub?target=";
const std::string onlineHead = "https://" FRONTEND_ONLINE_HOST "/sub?target=";

std::string encodedRuleSet() {
    std::string config;
    for (char c : std::string(FRONTEND_RULESET_URL)) {
        config += c == ':' ? "%3A" : c == '/' ? "%2F" : std::string(1, c);
    }
    return config;
}

const std::string onlineTail = "&insert=false&config=" + encodedRuleSet() +
                               "&emoji=true&list=false&udp=false&tfo=false&expand=true"
                               "&scv=false&fdn=false&sort=false";

TEST(LinkTemplates, EachHasItsPrefixAndSuffix) {
    struct Case {
        const core::LinkTemplate& link;
        std::string name, prefix, suffix;
    };
    const Case cases[] = {
        {core::localClash, "local-clash", localHead + "clash&url=", "&insert=false"},
        {core::localMixed, "local-mixed", localHead + "mixed&url=", "&insert=false"},
        {core::onlineClash, "online-clash", onlineHead + "clash&url=", onlineTail + "&new_name=true"},
        {core::onlineMixed, "online-mixed", onlineHead + "mixed&url=", onlineTail},
        {core::onlineSurfboard, "online-surfboard", onlineHead + "surfboard&url=", onlineTail},
        {core::onlineQuanx, "online-quanx", onlineHead + "quanx&url=", onlineTail},
    };
    ASSERT_EQ(std::size(cases), core::linkTemplates.size());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(core::linkTemplates[i], &c.link);
        EXPECT_EQ(c.link.name, c.name);
        EXPECT_EQ(c.link.prefix, c.prefix);
        EXPECT_EQ(c.link.suffix, c.suffix);
        // An empty source gives the prefix directly followed by the suffix.
        EXPECT_EQ(link(c.link, nullptr), c.prefix + c.suffix);
        EXPECT_EQ(link(c.link, ""), c.prefix + c.suffix);
    }
}

TEST(LinkTemplates, PointAtRealServices) {
    EXPECT_EQ(std::string(FRONTEND_RULESET_URL).rfind("https://", 0), 0u);
    EXPECT_TRUE(std::string(FRONTEND_RULESET_URL).ends_with(".ini"));
    EXPECT_EQ(std::string(FRONTEND_ONLINE_HOST).find('/'), std::string::npos);
}

TEST(TextJoin, JoinsAbsentEmptyAndLongTexts) {
    const std::string longText(100000, 'x');
    struct Case {
        std::vector<const char*> texts;
        std::string joined;
    };
    const Case cases[] = {
        {{nullptr}, ""},
        {{""}, ""},
        {{"a", nullptr, "b"}, "ab"},
        {{"", "mid", ""}, "mid"},
        {{"pre-", longText.c_str(), "-post"}, "pre-" + longText + "-post"},
        {{"一", "二", "三"}, "一二三"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.joined.substr(0, 20));
        EXPECT_EQ(str(core::joinTexts(c.texts)), c.joined);
    }
}

// Decodes a link the way a backend does, with a standard query parser.
QList<std::pair<QString, QString>> queryOf(const std::string& link) {
    const QUrl url(QString::fromStdString(link));
    EXPECT_TRUE(url.isValid()) << link;
    return QUrlQuery(url).queryItems(QUrl::FullyDecoded);
}

TEST(ConversionLink, SourceComesBackWholeAsTheUrlValue) {
    const char* sources[] = {
        "https://example.com/api/v1/client/subscribe?token=abc&flag=clash",
        "https://example.com/sub?target=surfboard&config=evil",
        "https://example.com/s#fragment",
        "https://example.com/s?a=1+2&b=%41%zz%",
        "  https://example.com/padded\t ",
        "line\r\nbreak\x01\x1f\x7f",
        "https://例子.测试/订阅?名=值",
        "vmess://eyJhZGQiOiIxLjIuMy40In0=",
        "a=b=c;d,e/f?g@h!$'()*~",
    };
    for (const core::LinkTemplate* t : core::linkTemplates) {
        for (const char* source : sources) {
            SCOPED_TRACE(std::string(t->name) + " " + source);
            const std::string composed = link(*t, source);
            EXPECT_TRUE(composed.starts_with(t->prefix));
            EXPECT_TRUE(composed.ends_with(t->suffix));
            const auto query = queryOf(composed);
            const auto expected = queryOf(std::string(t->prefix) + std::string(t->suffix));
            ASSERT_EQ(query.size(), expected.size());
            for (qsizetype i = 0; i < query.size(); ++i) {
                EXPECT_EQ(query[i].first, expected[i].first);
                EXPECT_EQ(query[i].second,
                          expected[i].first == "url" ? QString::fromUtf8(source) : expected[i].second);
            }
        }
    }
}

TEST(ConversionLink, EscapesExactlyTheBytesThatWouldChangeTheUrlValue) {
    const std::string prefix(core::localClash.prefix);
    const std::string suffix(core::localClash.suffix);
    struct Case {
        std::string source, inserted;
    };
    const Case cases[] = {
        {"https://example.com/sub?x=1", "https://example.com/sub?x=1"},
        {"a&b#c+d%e f", "a%26b%23c%2Bd%25e%20f"},
        {"\x01\x1f\x7f\t\r\n", "%01%1F%7F%09%0D%0A"},
        {"订阅\xff\x80", "订阅\xff\x80"},
        {"?=/:;,@!$'()*~", "?=/:;,@!$'()*~"},
        // Long enough that the bytes are checked sixteen at a time, with escapes in every lane.
        {"0123456789abcdef\x7f\x80\xff %&#+\x01!\x1f\x20\x21~\x7e\x7f\x7f" "0123456789",
         "0123456789abcdef%7F\x80\xff%20%25%26%23%2B%01!%1F%20!~~%7F%7F0123456789"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(link(core::localClash, c.source.c_str()), prefix + c.inserted + suffix);
    }
}

TEST(ConversionLink, TenMegabyteSourceIsJoinedWhole) {
    std::string source = "https://example.com/";
    source.resize(10 * 1024 * 1024, 'a');
    source[5000000] = '&';
    const core::Text composed = core::composeLink(core::onlineQuanx, source.c_str());
    const std::string expected = std::string(core::onlineQuanx.prefix) + source.substr(0, 5000000) +
                                 "%26" + source.substr(5000001) + std::string(core::onlineQuanx.suffix);
    ASSERT_EQ(std::strlen(composed.get()), expected.size());
    EXPECT_TRUE(expected == composed.get());
}

TEST(AllocationFailure, NamesTheByteCountUnsigned) {
    EXPECT_EQ(core::allocationFailureMessage(17), "分配 17 字节内存失败!");
    EXPECT_EQ(core::allocationFailureMessage(SIZE_MAX),
              "分配 " + std::to_string(SIZE_MAX) + " 字节内存失败!");
}

TEST(AllocationFailure, EndsTheProcessThroughTheReport) {
    EXPECT_EXIT(core::obtainText(SIZE_MAX), testing::ExitedWithCode(255),
                "分配 " + std::to_string(SIZE_MAX) + " 字节内存失败!");
}

// The edit boxes of a window, as a table.
class Boxes final : public core::EditBoxes {
public:
    std::map<std::string, std::string, std::less<>> content;
    std::vector<std::string> reads;

    core::Text readContent(std::string_view box) const override {
        const_cast<Boxes*>(this)->reads.emplace_back(box);
        const std::string& text = content.at(std::string(box));
        if (text.empty()) return nullptr;
        return core::joinTexts(std::array{text.c_str()});
    }
    void writeContent(std::string_view box, const char* text) override {
        content.at(std::string(box)) = text ? text : "";
    }
};

TEST(ConversionAction, ReadsItsSourceAndReplacesOnlyItsResult) {
    const core::ConversionRow row{"混合1", "按钮2", "混合2", core::onlineMixed};
    Boxes boxes;
    boxes.content = {{"混合1", ""}, {"混合2", "typed by the user"}, {"编辑框1", "other"}};

    core::convert(row, boxes);
    EXPECT_EQ(boxes.content["混合2"], std::string(row.link.prefix) + std::string(row.link.suffix));

    boxes.content["混合1"] = " abc ";
    core::conversionAction(row)(boxes);
    const std::string expected =
        std::string(row.link.prefix) + "%20abc%20" + std::string(row.link.suffix);
    EXPECT_EQ(boxes.content["混合2"], expected);
    core::convert(row, boxes);
    EXPECT_EQ(boxes.content["混合2"], expected);

    EXPECT_EQ(boxes.content["混合1"], " abc ");
    EXPECT_EQ(boxes.content["编辑框1"], "other");
    EXPECT_EQ(boxes.reads, (std::vector<std::string>{"混合1", "混合1", "混合1"}));
}

}  // namespace
