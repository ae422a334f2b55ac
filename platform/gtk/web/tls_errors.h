// A page whose certificate fails the checks is not shown: the browser shows
// a Chinese error page naming the host and what is wrong instead. There is
// no way past it.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

// What is wrong with a certificate, in a few Chinese words per problem.
std::string CertificateProblems(GTlsCertificateFlags errors);

void ShowTlsErrorPages(WebKitWebView* view, SignalConnections& connections);

}  // namespace ludex::gtk
