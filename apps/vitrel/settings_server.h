#pragma once

#include <filesystem>
#include <memory>

#include "platform/foundation/result.h"
#include "platform/preferences/host/settings_host.h"

// The Settings host over HTTP, for a browser on this machine:
//
//   GET  /                the web client (files of the web folder)
//   GET  /api/page        {"page": …}: the page on top as JSON (apps/vitrel/page_json.h), with
//                         "backTitle", the title of the page its back button returns to
//   POST /api/action      a user's action (apps/vitrel/page_actions.h); answers {"page": …},
//                         or 409 {"error", "page"} when the page cannot do it
//   GET  /api/screen      {"version": …} of the home screen's picture, null while there is none
//   GET  /screen.png      that picture
//   GET  /bundle/PATH     an image file of the installed bundle
//
// It listens on 127.0.0.1 only and answers only requests whose Host is a loopback name
// (127.0.0.1, localhost, [::1]) with its port, so a page of another site that resolves its
// name to this machine cannot reach it (403); a POST must be JSON (415) from no other origin
// (403), of at most 64 KiB (413). Errors are JSON {"error": "…"} with a 4xx status.
//
// Every call into the host runs on the main loop, one at a time, in the order the requests
// arrive there; keep that loop turning while the server runs.
class SettingsServer {
 public:
  struct Folders {
    std::filesystem::path web;     // the client's files
    std::filesystem::path bundle;  // the installed bundle, whose images pages show
    std::filesystem::path screen;  // the home screen's picture (it may not exist yet)
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
