// Numbers at the start of a text: system versions and store identifiers.

#include <gtest/gtest.h>

#include "rating/TextValues.h"

namespace {

TEST(TextValues, ReadTheLeadingNumberAsAPhoneDoes) {
    struct Case {
        const char* text;
        double asDouble;
        int64_t asInteger;
    };
    for (const Case& c : {Case{"17.0", 17.0, 17}, Case{"7.1.2", 7.1, 7}, Case{" 8", 8.0, 8}, Case{"+6.5", 6.5, 6},
                          Case{"12abc", 12.0, 12}, Case{"1447470931", 1447470931.0, 1447470931},
                          Case{"", 0.0, 0}, Case{"beta", 0.0, 0}, Case{"-3", -3.0, -3}}) {
        EXPECT_DOUBLE_EQ(rating::leadingDouble(c.text), c.asDouble) << '"' << c.text << '"';
        EXPECT_EQ(rating::leadingInteger(c.text), c.asInteger) << '"' << c.text << '"';
    }
}

}  // namespace
