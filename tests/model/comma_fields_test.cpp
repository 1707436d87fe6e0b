// The comma splitter: empty fields kept, nothing trimmed, views into the text.
#include "model/comma_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellora::model {
namespace {

TEST(CommaFieldsTest, FieldsBetweenCommas) {
    struct Case {
        std::string_view text;
        std::vector<std::string_view> fields;
    };
    const std::vector<Case> cases = {
        {"", {""}},
        {"142", {"142"}},
        {"142,143", {"142", "143"}},
        {",a,", {"", "a", ""}},
        {"a,,b", {"a", "", "b"}},
        {",", {"", ""}},
        {" 1 , 2", {" 1 ", " 2"}},
        {"bass=3,gain=250,freq=40", {"bass=3", "gain=250", "freq=40"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitCommas(c.text), c.fields) << '"' << c.text << '"';

    const std::string text = "ab,cd";
    const auto fields = SplitCommas(text);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[1].data(), text.data() + 3);
}

}  // namespace
}  // namespace vellora::model
