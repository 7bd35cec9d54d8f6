#pragma once

#include <filesystem>
#include <memory>

#include "platform/foundation/result.h"
#include "platform/preferences/host/settings_host.h"

// The Settings host over HTTP, for a browser on this machine:
//
//   GET  /                the web client (files of the web folder)
//   GET  /api/page        {"page": …}: the page on top as JSON (apps/vitrel/page_json.h), with
//                         "backTitle", the title of the page its back button returns to, and
//                         "key", which names the page shown (its navigation stack and what is
//                         presented over it)
//   POST /api/action      a user's action (apps/vitrel/page_actions.h), with the "key" of the
//                         page acted on when the client knows it; answers {"page": …}, or 409
//                         {"error", "page"} when the page cannot do it. An action for another
//                         page (another tab moved on), or naming a view no longer on the page,
//                         runs nothing: {"page": …, "stale": true}
//   GET  /api/screen      {"version", "screen"}: the home screen's picture's version and what
//                         the springboard says of that screen (screen.json), each null while
//                         there is none
//   POST /api/screen      a touch or a change of the home screen (apps/vitrel/screen_commands.h),
//                         passed to the springboard: {"done": true} (a new picture follows),
//                         {"done": false, "message"} when the touch met nothing, 409 when the
//                         springboard refuses, 503 when none runs, 504 when it does not answer
//   GET  /api/events      server-sent events, for as long as the client listens: first `hello`
//                         {"screen": version, "key"}; then `screen` {"version"} for each new
//                         picture, `settings` {} when the device's settings changed (from any
//                         process; the pages shown have read their values again), `page` {"key"}
//                         after each action run (from any tab), and {"key", "changed": true}
//                         when a page's background work changed it; a comment every 10 s. At most
//                         16 streams (503 beyond); they end when the server stops.
//   GET  /screen.png      the picture
//   GET  /bundle/PATH     an image file of the installed bundle
//
// It listens on 127.0.0.1 only and answers only requests whose Host is a loopback name
// (127.0.0.1, localhost, [::1]) with its port, so a page of another site that resolves its
// name to this machine cannot reach it (403); a POST must be JSON (415) from no other origin
// (403), of at most 64 KiB (413). Errors are JSON {"error": "…"} with a 4xx or 5xx status.
//
// Every call into the host runs on the main loop, one at a time, in the order the requests
// arrive there; keep that loop turning while the server runs. The springboard is asked off
// that loop.
class SettingsServer {
 public:
  struct Folders {
    std::filesystem::path web;     // the client's files
    std::filesystem::path bundle;  // the installed bundle, whose images pages show
    // The home screen's picture (it may not exist yet), with what the springboard says of it
    // beside it (screen.json).
    std::filesystem::path screen;
    std::filesystem::path springboard;  // the running springboard's control socket
    std::filesystem::path fonts;        // the system font's files, as the renderer draws with
  };

  SettingsServer(std::shared_ptr<SettingsHost> host, Folders folders);
  // Stops serving, as stop() does.
  ~SettingsServer();
  SettingsServer(const SettingsServer&) = delete;
  SettingsServer& operator=(const SettingsServer&) = delete;

  // Binds 127.0.0.1:port (0: any free port) and serves on a thread of its own. Answers the
  // port; fails, saying why, when it cannot bind.
  Result<int> start(int port);
  // Stops serving. Turns the main loop while requests under way finish, so call it from the
  // main loop's thread (outside its callbacks). Does nothing when not serving.
  void stop();

 private:
  struct State;
  std::unique_ptr<State> state_;
};
