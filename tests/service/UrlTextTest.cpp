// The parts of a URL: percent escapes, form fields, and the path of a request target.
#include <gtest/gtest.h>

#include <string>

#include "http/UrlText.h"

using namespace quillet::service;

TEST(UrlText, DecodesFormsAndPathsAndRefusesBrokenEscapes) {
    EXPECT_EQ(percentDecoded("a%2Fb+c", false), "a/b+c");
    EXPECT_EQ(percentDecoded("a%2fb+c", true), "a/b c");
    EXPECT_EQ(percentDecoded("901.html%00.png", false), std::string("901.html\0.png", 13));
    for (const char* broken : {"%", "%4", "%zz", "a%g1"}) {
        EXPECT_FALSE(percentDecoded(broken, false)) << broken;
    }
    EXPECT_EQ(formField("a=1&data=QUJD%2B%2F%3D%3D&data=2", "data"), "QUJD+/==");
    EXPECT_EQ(formField("da%74a=x+y", "data"), "x y");
    EXPECT_EQ(formField("data", "data"), "");
    EXPECT_FALSE(formField("other=1&&", "data"));
    EXPECT_FALSE(formField("data=%Q1", "data"));
}

TEST(UrlText, ATargetInOriginOrAbsoluteFormGivesItsPathAndAnyOtherIsRefused) {
    EXPECT_EQ(originPart("/a?b"), "/a?b");
    EXPECT_EQ(originPart("HTTP://Example.com:80/healthz?x=1"), "/healthz?x=1");
    EXPECT_EQ(originPart("https://example.com?y"), "/");
    EXPECT_EQ(originPart("http://example.com"), "/");
    for (const char* refused : {"", "*", "elsewhere", "ftp://elsewhere/", "http:///nohost", "/a b",
                                "/caf\xC3\xA9", "/\x1b[2J"}) {
        EXPECT_FALSE(originPart(refused)) << refused;
    }
}
