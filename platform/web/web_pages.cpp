#include "platform/web/web_pages.h"

namespace ludex {

namespace {

constexpr std::string_view kStyle =
    "body{font-family:sans-serif;margin:48px;color:#333;background:#f7f7f7}"
    "h1{font-size:20px;color:#b33}p{font-size:14px;word-break:break-all}"
    "a.reload{display:inline-block;padding:8px 24px;background:#2a6fd6;color:#fff;text-decoration:none;"
    "border-radius:4px}";

// Text a page or a player chose, made inert inside an element or a quoted attribute.
void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default:
        if (static_cast<unsigned char>(c) < ' ' && c != '\t') out += "\xEF\xBF\xBD";  // U+FFFD
        else out += c;
    }
  }
}

}  // namespace

std::string NoticePageHtml(const NoticePage& page) {
  std::string html = "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>";
  AppendEscaped(html, page.title);
  html += "</title><style>";
  html += kStyle;
  html += "</style></head><body><h1>";
  AppendEscaped(html, page.title);
  html += "</h1>";
  if (page.address) {
    html += "<p>地址：<b>";
    AppendEscaped(html, *page.address);
    html += "</b></p>";
  }
  html += "<p>";
  AppendEscaped(html, page.reason);
  html += "</p>";
  if (page.reload == ReloadLink::With && page.address && !page.address->empty()) {
    html += "<p><a class=\"reload\" href=\"";
    AppendEscaped(html, *page.address);
    html += "\">重新加载</a></p>";
  }
  html += "</body></html>";
  return html;
}

std::string ErrorPageHtml(std::string_view asked_for, std::string_view reason) {
  return NoticePageHtml({"无法打开网页", asked_for, reason, ReloadLink::Without});
}

}  // namespace ludex
