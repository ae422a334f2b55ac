#include <gtest/gtest.h>

#include "platform/address.h"

namespace ludex {
namespace {

TEST(ResolveAddress, TextWithASchemeIsLoadedAsItIs) {
  EXPECT_EQ(ResolveAddress("http://127.0.0.1:47832/x").uri, "http://127.0.0.1:47832/x");
  EXPECT_EQ(ResolveAddress("https://example.com").uri, "https://example.com");
  EXPECT_EQ(ResolveAddress("about:blank").uri, "about:blank");
}

TEST(ResolveAddress, HostsWithoutASchemeGetHttp) {
  EXPECT_EQ(ResolveAddress("www.example.com").uri, "http://www.example.com");
  EXPECT_EQ(ResolveAddress("example.com:8080/x").uri, "http://example.com:8080/x");
  EXPECT_EQ(ResolveAddress("127.0.0.1:47832/typed").uri, "http://127.0.0.1:47832/typed");
  EXPECT_EQ(ResolveAddress("localhost:8000").uri, "http://localhost:8000");
  EXPECT_EQ(ResolveAddress("example.com?q=1").uri, "http://example.com?q=1");
}

TEST(ResolveAddress, TextThatIsNoAddressGetsAChinesePage) {
  for (const char* text : {"请输入网址", "", "   ", " www.example.com", "hello", "example.", "a b.com", "example.com:99999"}) {
    SCOPED_TRACE(text);
    const BrowserTarget t = ResolveAddress(text);
    EXPECT_TRUE(t.uri.empty());
    EXPECT_NE(t.error_html.find("无法打开网页"), std::string::npos);
  }
  EXPECT_NE(ResolveAddress("请输入网址").error_html.find("请输入网址"), std::string::npos);
}

TEST(ErrorPage, EscapesWhatWasAskedFor) {
  const std::string html = ErrorPageHtml("<script>alert(1)</script>&\"", "原因");
  EXPECT_EQ(html.find("<script>"), std::string::npos);
  EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;&amp;&quot;"), std::string::npos);
  EXPECT_NE(html.find("原因"), std::string::npos);
}

}  // namespace
}  // namespace ludex
