#include "apps/vitrel/settings_server.h"

#include <httplib.h>
#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "apps/vitrel/bounded_http_server.h"
#include "apps/vitrel/control_socket.h"
#include "apps/vitrel/event_hub.h"
#include "apps/vitrel/file_watch.h"
#include "apps/vitrel/json_text.h"
#include "apps/vitrel/page_actions.h"
#include "apps/vitrel/page_json.h"
#include "apps/vitrel/page_key.h"
#include "apps/vitrel/request_checks.h"
#include "apps/vitrel/screen_commands.h"
#include "apps/vitrel/served_files.h"
#include "platform/foundation/background_queue.h"
#include "platform/foundation/darwin_notify.h"
#include "platform/foundation/log.h"
#include "source/settings/settings_keys.h"

namespace {

namespace fs = std::filesystem;
using httplib::Request;
using httplib::Response;
using HandlerResponse = httplib::Server::HandlerResponse;

constexpr size_t kMaximumBody = 64 * 1024;
constexpr const char* kJson = "application/json";
constexpr std::chrono::seconds kKeepAlive{10};

void answer(Response& response, int status, const Json& body) {
  response.status = status;
  response.set_content(jsonText(body), kJson);
}

void refuse(Response& response, int status, const std::string& reason) {
  answer(response, status, {{"error", reason}});
}

std::string libraryRefusal(int status) {
  switch (status) {
    case 400:
      return "a malformed request";
    case 413:
      return "the body is larger than 64 KiB";
    case 414:
      return "the request's address is too long";
    default:
      return "request refused (" + std::to_string(status) + ")";
  }
}

std::string percentEncoded(const std::string& segment) {
  std::ostringstream encoded;
  for (unsigned char c : segment) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      encoded << c;
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      encoded << '%' << kHex[c >> 4] << kHex[c & 15];
    }
  }
  return encoded.str();
}

std::optional<std::string> readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void sendFile(Response& response, const fs::path& file) {
  std::optional<std::string> content = readFile(file);
  if (!content) return refuse(response, 404, "cannot read " + file.filename().string());
  response.set_content(std::move(*content), served_files::contentType(file).c_str());
}

// Changes whenever the picture is replaced: the springboard writes it atomically, by rename.
Json screenVersion(const fs::path& screen) {
  struct stat status {};
  if (::stat(screen.c_str(), &status) != 0) return nullptr;
  return std::to_string(status.st_ino) + "-" + std::to_string(status.st_mtim.tv_sec) + "." +
         std::to_string(status.st_mtim.tv_nsec) + "-" + std::to_string(status.st_size);
}

// What the springboard says of the screen it drew last (screen.json beside the picture).
Json screenState(const fs::path& screen) {
  std::optional<std::string> text = readFile(fs::path(screen).replace_extension(".json"));
  if (!text) return nullptr;
  Json state = Json::parse(*text, nullptr, /*allow_exceptions=*/false);
  return state.is_object() ? state : Json(nullptr);
}

// A JSON body of a POST: nullopt when it is answered as refused.
std::optional<Json> jsonBody(const Request& request, Response& response) {
  if (!isJson(request.get_header_value("Content-Type"))) {
    refuse(response, 415, "requests are sent as application/json");
    return std::nullopt;
  }
  Json body = Json::parse(request.body, nullptr, /*allow_exceptions=*/false);
  if (body.is_discarded()) {
    refuse(response, 400, "the body is not well-formed JSON");
    return std::nullopt;
  }
  return body;
}

}  // namespace

struct SettingsServer::State {
  std::shared_ptr<SettingsHost> host;
  Folders folders;
  fs::path bundleRoot;  // canonical, for telling which image files are the bundle's
  BoundedHttpServer server;
  std::thread thread;
  int port = 0;
  EventHub events;
  std::optional<FileWatch> pictureWatch;
  DarwinObservation settingsObservation;
  // Held weakly by work queued on the main loop from other threads.
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);

  State(std::shared_ptr<SettingsHost> settingsHost, Folders served)
      : host(std::move(settingsHost)), folders(std::move(served)) {
    std::error_code error;
    bundleRoot = fs::weakly_canonical(folders.bundle, error);
  }

  // Bundle images by a route of their own; nothing else on disk has an address.
  std::optional<std::string> imageUrl(const std::string& source) const {
    std::error_code error;
    fs::path relative = fs::weakly_canonical(source, error).lexically_relative(bundleRoot);
    if (error || relative.empty() || *relative.begin() == "..") return std::nullopt;
    std::string url = "/bundle";
    for (const fs::path& segment : relative)
      url += "/" + percentEncoded(segment.string());
    return url;
  }

  // The page on top, its key, and the title of the one under it, which its back button names.
  struct Shown {
    page_model::Page page;
    std::string key;
    std::optional<std::string> backTitle;
  };

  // Main loop only.
  Shown shown() const {
    Shown shown{host->page(), pageKey(*host), std::nullopt};
    const auto& stack = host->navigationController()->viewControllers();
    if (stack.size() >= 2) {
      if (const NSString* title = stack[stack.size() - 2]->title()) {
        shown.backTitle = title->string();
      }
    }
    return shown;
  }

  Json pageAnswer(const Shown& shown) const {
    Json page =
        pageJson(shown.page, [this](const std::string& source) { return imageUrl(source); });
    page["backTitle"] = shown.backTitle ? Json(*shown.backTitle) : Json(nullptr);
    page["key"] = shown.key;
    return page;
  }

  void getPage(Response& response) const {
    answer(response, 200, {{"page", pageAnswer(onMainLoop([this] { return shown(); }))}});
  }

  // Main loop only. Whether an action, sent from the page with that key, was meant for
  // another page than the one shown: another tab moved on, or the view went with a rebuilt row.
  bool stale(const std::optional<std::string>& key, const PageAction& action) const {
    return (key && *key != pageKey(*host)) || (action.view && !pageShowsView(*host, *action.view));
  }

  // An action that is run is heard by every tab; a stale one runs nothing and is answered with
  // the page shown, which brings its tab up to date.
  void postAction(const Request& request, Response& response) {
    std::optional<Json> body = jsonBody(request, response);
    if (!body) return;
    Result<PageAction> action = parsePageAction(*body);
    if (!action) return refuse(response, 400, action.error());
    std::optional<std::string> key;
    if (auto found = body->find("key"); found != body->end()) {
      if (!found->is_string()) return refuse(response, 400, "\"key\" must be a page's key");
      key = found->get<std::string>();
    }
    // done is nothing for a stale action.
    auto [done, page] =
        onMainLoop([this, &action, &key]() -> std::pair<std::optional<Result<void>>, Shown> {
          if (stale(key, action.value())) return {std::nullopt, shown()};
          Result<void> outcome = action.value().run(*host);
          Shown after = shown();
          events.publish("page", {{"key", after.key}});
          return {std::move(outcome), std::move(after)};
        });
    if (!done) return answer(response, 200, {{"page", pageAnswer(page)}, {"stale", true}});
    if (!*done) {
      return answer(response, 409, {{"error", done->error()}, {"page", pageAnswer(page)}});
    }
    answer(response, 200, {{"page", pageAnswer(page)}});
  }

  // Off the main loop: the springboard may take its time, and its drawing is heard by the
  // picture's watch, on that loop.
  void postScreen(const Request& request, Response& response) const {
    std::optional<Json> body = jsonBody(request, response);
    if (!body) return;
    Result<std::string> command = springboardCommand(*body);
    if (!command) return refuse(response, 400, command.error());
    try {
      ScreenAnswer answered =
          screenAnswer(sendControlCommand(folders.springboard, command.value()));
      answer(response, answered.status, answered.body);
    } catch (const CLI::RuntimeError& error) {
      if (!answersAt(folders.springboard)) {
        return refuse(response, 503, "no springboard runs on this device");
      }
      refuse(response, 504, error.what());
    }
  }

  void getScreenState(Response& response) const {
    answer(response, 200,
           {{"version", screenVersion(folders.screen)}, {"screen", screenState(folders.screen)}});
  }

  // The stream begins with what a (re)connecting page needs to catch up, then carries every
  // event, with a comment now and then to show it lives. It ends when its client goes or the
  // server stops.
  void getEvents(Response& response) {
    std::shared_ptr<EventHub::Stream> stream = events.open();
    if (!stream) {
      return refuse(response, 503,
                    "too many event streams are open (at most " +
                        std::to_string(EventHub::kMaxStreams) + ")");
    }
    const Json hello = {{"screen", screenVersion(folders.screen)},
                        {"key", onMainLoop([this] { return pageKey(*host); })}};
    response.set_chunked_content_provider(
        "text/event-stream",
        [stream, client = BoundedHttpServer::servedConnection(),
         first = serverSentEvent("hello", hello)](size_t, httplib::DataSink& sink) mutable {
          if (!first.empty()) {
            const std::string greeting = std::exchange(first, {});
            return sink.write(greeting.data(), greeting.size());
          }
          std::optional<std::string> next = stream->next(client, kKeepAlive);
          if (!next) {
            sink.done();
            return true;
          }
          const std::string text = next->empty() ? ": keep-alive\n\n" : *next;
          return sink.write(text.data(), text.size());
        });
  }

  // Main loop only. What other processes change is heard here and told to every tab: a new
  // picture, and the device's settings (which the pages shown read again first).
  void watchSources() {
    pictureWatch.emplace(folders.screen, [this] {
      events.publish("screen", {{"version", screenVersion(folders.screen)}});
    });
    settingsObservation =
        observeDarwinNotification(std::string(kReloadPrefsNotification), [this](const auto&) {
          host->refreshValues();
          events.publish("settings", Json::object());
        });
    // A page's own background work (the banner's version lookup) sends its result to the main
    // loop; once that has run, the tabs read the page again, though no action changed it.
    background_queue::setObserver([this, alive = std::weak_ptr<bool>(alive)] {
      RunLoop::main().perform([this, alive] {
        if (alive.expired()) return;
        events.publish("page", {{"key", pageKey(*host)}, {"changed", true}});
      });
    });
  }

  void getScreen(Response& response) const {
    if (!fs::exists(folders.screen)) {
      return refuse(response, 404, "the home screen has drawn no picture yet");
    }
    sendFile(response, folders.screen);
  }

  // The file the route's match names in `folder`, if it has the one extension served there.
  static bool sendOneKind(const Request& request, Response& response, const fs::path& folder,
                          std::string_view extension, const std::string& refusal) {
    served_files::Lookup found = served_files::lookUp(folder, "/" + request.matches[1].str());
    if (found.status == 200 && found.file.extension() != extension) {
      refuse(response, 404, refusal);
      return false;
    }
    if (found.status != 200) {
      refuse(response, found.status, found.reason);
      return false;
    }
    sendFile(response, found.file);
    return true;
  }

  void getBundleFile(const Request& request, Response& response) const {
    sendOneKind(request, response, folders.bundle, ".png", "only the bundle's images are served");
  }

  void getFontFile(const Request& request, Response& response) const {
    // The font does not change while the package stays; the browser need not ask again.
    if (sendOneKind(request, response, folders.fonts, ".otf", "only the system font is served")) {
      response.set_header("Cache-Control", "max-age=86400");
    }
  }

  void getWebFile(const Request& request, Response& response) const {
    if (request.path.starts_with("/api/")) return refuse(response, 404, "no such route");
    served_files::Lookup found = served_files::lookUp(folders.web, request.path);
    if (found.status != 200) return refuse(response, found.status, found.reason);
    sendFile(response, found.file);
  }

  static void wrongMethod(const Request& request, Response& response) {
    static const std::map<std::string, std::string> kAllowed = {{"/api/action", "POST"},
                                                                {"/api/page", "GET, HEAD"},
                                                                {"/api/screen", "GET, HEAD, POST"},
                                                                {"/api/events", "GET, HEAD"}};
    auto allowed = kAllowed.find(request.path);
    if (request.path.starts_with("/api/") && allowed == kAllowed.end()) {
      return refuse(response, 404, "no such route");
    }
    response.set_header("Allow", allowed == kAllowed.end() ? "GET, HEAD" : allowed->second);
    refuse(response, 405, request.method + " is not allowed here");
  }

  void route() {
    server.set_payload_max_length(kMaximumBody);
    server.set_default_headers({{"Cache-Control", "no-store"},
                                {"X-Content-Type-Options", "nosniff"},
                                {"X-Frame-Options", "DENY"},
                                {"Referrer-Policy", "no-referrer"},
                                {"Content-Security-Policy",
                                 "default-src 'self'; img-src 'self' data:; object-src 'none'; "
                                 "frame-ancestors 'none'; base-uri 'none'"}});
    server.set_pre_routing_handler(
        [this](const Request& request, Response& response) -> HandlerResponse {
          std::optional<std::string> foreign = foreignRequest(request, port);
          if (!foreign) return HandlerResponse::Unhandled;
          refuse(response, 403, *foreign);
          return HandlerResponse::Handled;
        });
    // The library's own refusals (a body too large, a malformed request) get a JSON reason too.
    server.set_error_handler(httplib::Server::HandlerWithResponse(
        [](const Request&, Response& response) -> HandlerResponse {
          if (!response.body.empty()) return HandlerResponse::Unhandled;
          refuse(response, response.status, libraryRefusal(response.status));
          return HandlerResponse::Handled;
        }));
    server.set_exception_handler([](const Request&, Response& response, std::exception_ptr) {
      refuse(response, 500, "the settings host failed to answer");
    });

    server.Get("/api/page", [this](const Request&, Response& response) { getPage(response); });
    server.Post("/api/action", [this](const Request& request, Response& response) {
      postAction(request, response);
    });
    server.Get("/api/screen",
               [this](const Request&, Response& response) { getScreenState(response); });
    server.Post("/api/screen", [this](const Request& request, Response& response) {
      postScreen(request, response);
    });
    server.Get("/api/events", [this](const Request&, Response& response) { getEvents(response); });
    server.Get("/screen.png", [this](const Request&, Response& response) { getScreen(response); });
    server.Get("/bundle/(.+)", [this](const Request& request, Response& response) {
      getBundleFile(request, response);
    });
    server.Get("/fonts/(.+)", [this](const Request& request, Response& response) {
      getFontFile(request, response);
    });
    server.Get("/api/action", wrongMethod);
    server.Get(".*", [this](const Request& request, Response& response) {
      getWebFile(request, response);
    });
    server.Post(".*", wrongMethod);
    server.Put(".*", wrongMethod);
    server.Patch(".*", wrongMethod);
    server.Delete(".*", wrongMethod);
    server.Options(".*", wrongMethod);
  }
};

SettingsServer::SettingsServer(std::shared_ptr<SettingsHost> host, Folders folders)
    : state_(std::make_unique<State>(std::move(host), std::move(folders))) {
  state_->route();
}

SettingsServer::~SettingsServer() {
  stop();
}

Result<int> SettingsServer::start(int port) {
  httplib::Server& server = state_->server;
  // httplib's default also sets SO_REUSEPORT, which would let a second host share the port
  // and take half the requests; a port in use must be refused instead.
  server.set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
  });
  const bool bound = port == 0 ? (port = server.bind_to_any_port("127.0.0.1")) > 0
                               : server.bind_to_port("127.0.0.1", port);
  if (!bound) {
    return Result<int>::failure("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " +
                                std::strerror(errno));
  }
  state_->port = port;
  state_->watchSources();
  state_->thread = std::thread([&server] { server.listen_after_bind(); });
  return port;
}

void SettingsServer::stop() {
  if (!state_->thread.joinable()) return;
  state_->settingsObservation.cancel();
  background_queue::setObserver(nullptr);
  state_->pictureWatch.reset();
  // Event streams wait for events on workers that the server's end waits for.
  state_->events.close();
  std::atomic<bool> stopped = false;
  // Requests under way wait for the main loop; it keeps turning until they are answered.
  std::thread stopper([this, &stopped] {
    state_->server.stop();
    state_->thread.join();
    stopped = true;
    RunLoop::main().perform([] {});
  });
  RunLoop::main().runUntil([&stopped] { return stopped.load(); }, std::chrono::minutes(1));
  stopper.join();
}
