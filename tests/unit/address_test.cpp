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

TEST(ResolveAddress, LocalFilesTheUserTypesAreLoaded) {
  EXPECT_EQ(ResolveAddress("file:///etc/passwd").uri, "file:///etc/passwd");
}

TEST(ResolveAddress, ScriptAddressesGetAChinesePageInsteadOfRunning) {
  for (const char* text : {"javascript:alert(1)", "JavaScript:void(0)", "JAVASCRIPT:", "javascript:"}) {
    SCOPED_TRACE(text);
    const BrowserTarget t = ResolveAddress(text);
    EXPECT_TRUE(t.uri.empty());
    EXPECT_NE(t.error_html.find("不能运行脚本"), std::string::npos);
  }
  // Only the scheme counts: a page about JavaScript is an address like any other.
  EXPECT_EQ(ResolveAddress("javascript.info").uri, "http://javascript.info");
  EXPECT_EQ(ResolveAddress("http://example.com/javascript:x").uri, "http://example.com/javascript:x");
}

TEST(ResolveAddress, ControlCharactersMakeAnErrorPageThatShowsNoneOfThem) {
  const BrowserTarget t = ResolveAddress("127.0.0.1:47832/a\tb\nc\x01" "d\x1B");
  EXPECT_TRUE(t.uri.empty());
  // Tab is kept; newline, 0x01 and escape each become U+FFFD.
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_NE(t.error_html.find("/a\tb" + replacement + "c" + replacement + "d" + replacement + "<"), std::string::npos);
  for (const char c : {'\n', '\x01', '\x1B'}) EXPECT_EQ(t.error_html.find(c), std::string::npos);
}

TEST(ResolveAddress, TenThousandCharactersAreLoadedWhole) {
  const std::string path = "/long?" + std::string(10000, 'a');
  EXPECT_EQ(ResolveAddress("127.0.0.1:47832" + path).uri, "http://127.0.0.1:47832" + path);
  const std::string words(10000, 'x');
  EXPECT_NE(ResolveAddress(words).error_html.find(words), std::string::npos);
}

TEST(ErrorPage, EscapesWhatWasAskedFor) {
  const std::string html = ErrorPageHtml("<script>alert(1)</script>&\"", "原因");
  EXPECT_EQ(html.find("<script>"), std::string::npos);
  EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;&amp;&quot;"), std::string::npos);
  EXPECT_NE(html.find("原因"), std::string::npos);
}

}  // namespace
}  // namespace ludex
