#include "apps/vitrel/settings_server.h"

#include <httplib.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <fstream>
#include <sstream>
#include <thread>

#include "apps/vitrel/bounded_http_server.h"
#include "apps/vitrel/json_text.h"
#include "apps/vitrel/page_actions.h"
#include "apps/vitrel/page_json.h"
#include "apps/vitrel/served_files.h"
#include "platform/foundation/log.h"

namespace {

namespace fs = std::filesystem;
using httplib::Request;
using httplib::Response;
using HandlerResponse = httplib::Server::HandlerResponse;

constexpr size_t kMaximumBody = 64 * 1024;
constexpr const char* kJson = "application/json";

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

std::string lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// application/json, in any case, with or without parameters (such as a charset).
bool isJson(const std::string& contentType) {
  const std::string type = contentType.substr(0, contentType.find(';'));
  const size_t first = type.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  return lowercase(type.substr(first, type.find_last_not_of(" \t") + 1 - first)) == kJson;
}

// A Host header (or an Origin's authority) that names this machine: a loopback name, with
// this server's port or none.
bool namesThisMachine(const std::string& authority, int port) {
  const std::string host = lowercase(authority);
  const std::string withPort = ":" + std::to_string(port);
  for (const char* name : {"127.0.0.1", "localhost", "[::1]"}) {
    if (host == name || host == name + withPort) return true;
  }
  return false;
}

// Where a browser on another site could reach: a request must name this machine, and a
// write must come from its own pages.
std::optional<std::string> foreignRequest(const Request& request, int port) {
  if (!namesThisMachine(request.get_header_value("Host"), port)) {
    return "this server answers only requests for 127.0.0.1 or localhost";
  }
  if (request.method == "GET" || request.method == "HEAD") return std::nullopt;
  if (request.has_header("Origin")) {
    const std::string origin = request.get_header_value("Origin");
    constexpr std::string_view kScheme = "http://";
    if (!origin.starts_with(kScheme) || !namesThisMachine(origin.substr(kScheme.size()), port)) {
      return "requests from other origins are refused";
    }
  }
  if (request.get_header_value("Sec-Fetch-Site") == "cross-site") {
    return "requests from other sites are refused";
  }
  return std::nullopt;
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

}  // namespace

struct SettingsServer::State {
  std::shared_ptr<SettingsHost> host;
  Folders folders;
  fs::path bundleRoot;  // canonical, for telling which image files are the bundle's
  BoundedHttpServer server;
  std::thread thread;
  int port = 0;

  State(std::shared_ptr<SettingsHost> host, Folders folders)
      : host(std::move(host)), folders(std::move(folders)) {
    std::error_code error;
    bundleRoot = fs::weakly_canonical(this->folders.bundle, error);
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

  // The page on top and the title of the one under it, which its back button names.
  struct Shown {
    page_model::Page page;
    std::optional<std::string> backTitle;
  };

  // Main loop only.
  Shown shown() const {
    Shown shown{host->page(), std::nullopt};
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
    return page;
  }

  void getPage(Response& response) const {
    answer(response, 200, {{"page", pageAnswer(onMainLoop([this] { return shown(); }))}});
  }

  void postAction(const Request& request, Response& response) const {
    if (!isJson(request.get_header_value("Content-Type"))) {
      return refuse(response, 415, "actions are sent as application/json");
    }
    Json body = Json::parse(request.body, nullptr, /*allow_exceptions=*/false);
    if (body.is_discarded()) return refuse(response, 400, "the body is not well-formed JSON");
    Result<PageAction> action = parsePageAction(body);
    if (!action) return refuse(response, 400, action.error());
    auto [done, page] = onMainLoop([this, &action] {
      Result<bool> done = action.value()(*host);
      return std::pair(std::move(done), shown());
    });
    if (!done) {
      return answer(response, 409, {{"error", done.error()}, {"page", pageAnswer(page)}});
    }
    answer(response, 200, {{"page", pageAnswer(page)}});
  }

  void getScreen(Response& response) const {
    if (!fs::exists(folders.screen)) {
      return refuse(response, 404, "the home screen has drawn no picture yet");
    }
    sendFile(response, folders.screen);
  }

  void getBundleFile(const Request& request, Response& response) const {
    served_files::Lookup found =
        served_files::lookUp(folders.bundle, "/" + request.matches[1].str());
    if (found.status == 200 && found.file.extension() != ".png") {
      return refuse(response, 404, "only the bundle's images are served");
    }
    if (found.status != 200) return refuse(response, found.status, found.reason);
    sendFile(response, found.file);
  }

  void getWebFile(const Request& request, Response& response) const {
    if (request.path.starts_with("/api/")) return refuse(response, 404, "no such route");
    served_files::Lookup found = served_files::lookUp(folders.web, request.path);
    if (found.status != 200) return refuse(response, found.status, found.reason);
    sendFile(response, found.file);
  }

  static void wrongMethod(const Request& request, Response& response) {
    if (request.path.starts_with("/api/") && request.path != "/api/action" &&
        request.path != "/api/page" && request.path != "/api/screen") {
      return refuse(response, 404, "no such route");
    }
    response.set_header("Allow", request.path == "/api/action" ? "POST" : "GET, HEAD");
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
    server.Get("/api/screen", [this](const Request&, Response& response) {
      answer(response, 200, {{"version", screenVersion(folders.screen)}});
    });
    server.Get("/screen.png", [this](const Request&, Response& response) { getScreen(response); });
    server.Get("/bundle/(.+)", [this](const Request& request, Response& response) {
      getBundleFile(request, response);
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
  state_->thread = std::thread([&server] { server.listen_after_bind(); });
  return port;
}

void SettingsServer::stop() {
  if (!state_->thread.joinable()) return;
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
