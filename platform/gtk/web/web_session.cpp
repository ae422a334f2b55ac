#include "platform/gtk/web/web_session.h"

#include "platform/gtk/web/web_context.h"

namespace ludex::gtk {

WebSession::WebSession() : context_(NewWebContext(notices_)), downloads_(context_.get(), notices_), popups_(notices_) {}

}  // namespace ludex::gtk
