// A page whose certificate fails the checks is not shown: the browser shows
// a Chinese error page naming the host and what is wrong instead. There is
// no way past it.
#pragma once

#include <webkit2/webkit2.h>

#include <string>


namespace ludex::gtk {

// What is wrong with a certificate, in a few Chinese words per problem.
std::string CertificateProblems(GTlsCertificateFlags errors);

// For a view's "load-failed-with-tls-errors"; handling it keeps "load-failed" from following.
gboolean ShowTlsErrorPage(WebKitWebView* view, gchar* failing_uri, GTlsCertificate* certificate,
                          GTlsCertificateFlags errors, gpointer unused);

}  // namespace ludex::gtk
