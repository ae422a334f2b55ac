#include "platform/gtk/web/web_session.h"

#include "platform/gtk/web/memory_limits.h"
#include "platform/gtk/web/page_painting.h"
#include "platform/gtk/web/sandbox.h"
#include "platform/gtk/web/web_context.h"

namespace ludex::gtk {

WebSession::WebSession(Notices& notices, std::function<GtkWindow*()> main_window)
    : notices_(notices),
      context_(NewWebContext(notices_)),
      memory_watch_(WebProcessLimitMb()),
      downloads_(context_.get(), notices_, std::move(main_window)),
      sound_(ProgramSettings(), notices_),
      popups_(notices_, sound_) {
  LogWebProcessStarts(context_.get(), connections_);
  if (!ProgramSettings().problem().empty()) {
    notices_.Show("设置文件无法读取",
                  ProgramSettings().path() + "：" + ProgramSettings().problem() + "。本次使用默认设置，更改设置之前不会改动这个文件。");
  }
  const std::string webgl = ProgramSettings().GetString("web", "webgl", "auto");
  const std::optional<WebGlChoice> choice = ReadWebGlChoice(webgl);
  if (!choice) {
    notices_.Show("网页图形设置无效", ProgramSettings().path() + "：[web] webgl=“" + webgl +
                                        "” 不是 auto、on 或 off 之一，本次按 auto 处理。");
  }
  webgl_ = PagesGetWebGl(choice.value_or(WebGlChoice::Auto));
  // No view, and so no web process, is made before the session is.
  const std::string folder = DownloadFolder();
  if (SandboxWebProcesses(context_.get(), folder)) {
    sandbox_folder_ = folder;
  } else {
    notices_.Show("网页未在沙盒中运行", "这台电脑无法为网页建立沙盒（不支持用户命名空间，或用户文件夹无法使用），网页将在没有沙盒保护的情况下运行。");
  }
}

bool WebSession::LetsIn(const std::string& uri) const {
  return !sandbox_folder_ || SandboxLetsIn(uri, *sandbox_folder_);
}

}  // namespace ludex::gtk
