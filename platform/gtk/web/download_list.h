// The downloads window (Ctrl+J, or a click on a download notice): every
// download of this run, running or ended, one row each with its file, its
// site, how much has come of how much, a progress bar and, while it runs, a
// button that cancels it. Closing the window only hides it.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <list>
#include <string>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

// A number of bytes as the player reads it: "4.7 MiB".
std::string Size(std::uint64_t bytes);

class DownloadList {
 public:
  class Row {
   public:
    // `expected` is 0 when the site did not say.
    void SetProgress(std::uint64_t received, std::uint64_t expected);
    // The download is over, as `how` says; it can no longer be cancelled.
    void End(const std::string& how);

   private:
    friend class DownloadList;
    void ShowState(const std::string& state);
    static void OnCancelClicked(GtkButton* button, gpointer self);

    std::string site_;
    std::string size_;
    std::function<void()> cancel_;
    // Owned by the list's window.
    GtkWidget* state_label_ = nullptr;
    GtkWidget* progress_ = nullptr;
    GtkWidget* cancel_button_ = nullptr;
  };

  DownloadList() = default;
  DownloadList(const DownloadList&) = delete;
  DownloadList& operator=(const DownloadList&) = delete;

  // A row for a download that starts being written; the cancel button calls
  // `cancel`. The row lives as long as the list.
  Row& Add(const std::string& site, const std::string& name, std::function<void()> cancel);
  // Shows the window over `parent` (null: on its own) and gives it the keyboard.
  void Present(GtkWindow* parent);

 private:
  void Build();

  WidgetPtr window_;
  // Owned by window_.
  GtkWidget* rows_ = nullptr;
  GtkWidget* none_ = nullptr;  // says that there is no download yet
  std::list<Row> entries_;
  SignalConnections connections_;
};

}  // namespace ludex::gtk
