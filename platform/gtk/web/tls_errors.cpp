#include "platform/gtk/web/tls_errors.h"

#include <memory>

#include "platform/gtk/guarded.h"
#include "platform/web/web_pages.h"

namespace ludex::gtk {

namespace {

struct Problem {
  GTlsCertificateFlags flag;
  const char* text;
};

constexpr Problem kProblems[] = {
    {G_TLS_CERTIFICATE_UNKNOWN_CA, "证书不是由受信任的机构颁发的"},
    {G_TLS_CERTIFICATE_BAD_IDENTITY, "证书与该网站的主机名不符"},
    {G_TLS_CERTIFICATE_NOT_ACTIVATED, "证书尚未生效"},
    {G_TLS_CERTIFICATE_EXPIRED, "证书已过期"},
    {G_TLS_CERTIFICATE_REVOKED, "证书已被吊销"},
    {G_TLS_CERTIFICATE_INSECURE, "证书使用了不安全的算法"},
    {G_TLS_CERTIFICATE_GENERIC_ERROR, "证书无效"},
};

std::string HostOf(const char* uri) {
  const std::unique_ptr<GUri, decltype(&g_uri_unref)> parsed(g_uri_parse(uri, G_URI_FLAGS_NONE, nullptr),
                                                             g_uri_unref);
  const char* host = parsed ? g_uri_get_host(parsed.get()) : nullptr;
  return host ? host : uri;
}

}  // namespace

std::string CertificateProblems(GTlsCertificateFlags errors) {
  std::string text;
  for (const Problem& problem : kProblems) {
    if (!(errors & problem.flag)) continue;
    if (!text.empty()) text += "；";
    text += problem.text;
  }
  return text.empty() ? "证书无效" : text;
}

gboolean ShowTlsErrorPage(WebKitWebView* view, gchar* failing_uri, GTlsCertificate*, GTlsCertificateFlags errors,
                          gpointer) {
  return Guarded(FALSE, [&]() -> gboolean {
    const std::string reason = "无法安全地连接到 " + HostOf(failing_uri) + "：" + CertificateProblems(errors) +
                               "。为保护您的账号和密码，已停止打开此网页。";
    const std::string html = ErrorPageHtml(failing_uri, reason);
    webkit_web_view_load_alternate_html(view, html.c_str(), failing_uri, nullptr);
    return TRUE;
  });
}

}  // namespace ludex::gtk
