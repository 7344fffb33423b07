#include "tests/tools/support/json_syntax.h"
#include "tools/cli/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
TEST(JsonWriter, StringsAreEscapedAndValidUtf8)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "\"plain\""},
        {"a\"b\\c/", "\"a\\\"b\\\\c/\""},
        {"\n\t\r\x01\x1f\x7f", "\"\\n\\t\\r\\u0001\\u001f\x7f\""},
        {std::string("nul\0here", 8), "\"nul\\u0000here\""},
        {"\xe2\x82\xac \xf0\x9f\x98\x80", "\"\xe2\x82\xac \xf0\x9f\x98\x80\""},
        // A lone continuation, a cut sequence, an overlong form, a surrogate.
        {"\x80|\xe2\x82|\xc0\xaf|\xed\xa0\x80", "\"\\ufffd|\\ufffd\\ufffd|\\ufffd\\ufffd|"
                                                "\\ufffd\\ufffd\\ufffd\""},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(JsonString(text), expected);
        EXPECT_TRUE(JsonSyntax::IsJson(JsonString(text))) << JsonString(text);
    }
}

TEST(JsonWriter, NumbersReadBackExactly)
{
    JsonWriter json;
    json.BeginArray().Number(0.04f).Number(1.0f / 3.0f).Number(-0.0f).Number(1e-7f);
    json.Number(0.1).Number(std::numeric_limits<float>::infinity()).Number(std::nan(""));
    json.Integer(-5).EndArray();
    EXPECT_EQ(json.Text(), "[0.04,0.33333334,0,1e-07,0.1,null,null,-5]");
}

TEST(JsonWriter, PlacesCommasAndColonsInNestedValues)
{
    JsonWriter json;
    json.BeginObject().Key("a").BeginArray().EndArray().Key("b").BeginObject().EndObject();
    json.Key("c").BeginArray().BeginObject().Key("d").Bool(true).EndObject().Null().EndArray();
    json.Key("e").String("f").EndObject();
    EXPECT_EQ(json.Text(), "{\"a\":[],\"b\":{},\"c\":[{\"d\":true},null],\"e\":\"f\"}");
    EXPECT_TRUE(JsonSyntax::IsJson(json.Text()));
    for (const char* bad : {"{\"a\":}", "[1,]", "\"\x01\"", "01", "{} {}"})
        EXPECT_FALSE(JsonSyntax::IsJson(bad)) << bad;
}
} // namespace
