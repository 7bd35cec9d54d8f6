#include "apps/vitrel/svg_server.h"

#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "apps/vitrel/forked_child.h"
#include "apps/vitrel/svg_image.h"

namespace {

using foundation_internal::FileDescriptor;

// A request on a channel's socket; the document's bytes are in its shared memory.
struct Request {
  uint64_t size;
  uint64_t byteCount;
};

// What the drawing process leaves at the start of the shared memory: the picture's size and its
// premultiplied RGBA bytes after it, or no size and the reason it was not drawn.
struct Answer {
  int32_t width;
  int32_t height;
  uint32_t reasonBytes;
};

// A channel's shared memory holds the largest document read, or the largest picture drawn.
// Mapped before the server is forked, it is shared by this process, the server and its drawing
// processes; only the pages used are ever allocated.
constexpr size_t kAnswerPixels = sizeof(Answer);
constexpr size_t kSharedBytes = std::max(
    size_t{kMaxSVGFileBytes}, kAnswerPixels + 4 * size_t{kMaxSVGSize} * size_t{kMaxSVGSize});

// The longest reason sent back.
constexpr size_t kMaxReply = 512;

constexpr const char* kServerEnded = "the SVG drawing server ended";

Result<Bitmap> failure(std::string reason) {
  return Result<Bitmap>::failure(std::move(reason));
}

// This process's data and stack size in bytes (the sixth of /proc/self/statm's counts of
// pages); 0 when unknown.
uint64_t dataBytes() {
  std::ifstream counts("/proc/self/statm");
  uint64_t pages[6] = {};
  for (uint64_t& count : pages)
    counts >> count;
  return pages[5] * uint64_t(sysconf(_SC_PAGESIZE));
}

// In the drawing process, once: a limit passed ends it without a core file, and its time and
// memory limits are the same for every drawing.
void prepareLimits() {
  sigset_t ending;
  sigemptyset(&ending);
  for (int signal : {SIGALRM, SIGPROF}) {
    std::signal(signal, SIG_DFL);
    sigaddset(&ending, signal);
  }
  sigprocmask(SIG_UNBLOCK, &ending, nullptr);
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
}

// Before each drawing: past the wall-clock time SIGALRM ends the process, past as much
// processor time SIGPROF, and an allocation past the memory fails. The memory is counted beyond
// what the process holds then (the server's heap, libraries and stack, what earlier drawings
// kept, and under AddressSanitizer its shadow, mapped already: a cap on the address space could
// not be used there, as the shadow reserves terabytes). Seconds of 0 stop the clocks.
void limitNextDrawing(const SVGDrawingLimits& limits, unsigned seconds) {
  alarm(seconds);
  const itimerval processor{{0, 0}, {static_cast<time_t>(seconds), 0}};
  setitimer(ITIMER_PROF, &processor, nullptr);
  rlimit memory{};
  if (seconds > 0 && getrlimit(RLIMIT_DATA, &memory) == 0) {
    memory.rlim_cur = std::min<rlim_t>(memory.rlim_max, dataBytes() + limits.memoryBytes);
    setrlimit(RLIMIT_DATA, &memory);
  }
}

void writeAnswer(std::byte* memory, const Result<Bitmap>& drawn) {
  const std::string reason = drawn ? "" : drawn.error().substr(0, kMaxReply);
  const Answer answer{drawn ? drawn.value().width() : 0, drawn ? drawn.value().height() : 0,
                      static_cast<uint32_t>(reason.size())};
  std::memcpy(memory, &answer, sizeof answer);
  if (drawn) {
    std::memcpy(memory + kAnswerPixels, drawn.value().pixels(), drawn.value().byteCount());
  } else {
    std::memcpy(memory + kAnswerPixels, reason.data(), reason.size());
  }
}

Result<Bitmap> readAnswer(const std::byte* memory) {
  Answer answer{};
  std::memcpy(&answer, memory, sizeof answer);
  const auto* payload = reinterpret_cast<const uint8_t*>(memory + kAnswerPixels);
  if (answer.reasonBytes > 0) {
    return failure(std::string(reinterpret_cast<const char*>(payload),
                               std::min<size_t>(answer.reasonBytes, kMaxReply)));
  }
  if (answer.width < 1 || answer.width > kMaxSVGSize || answer.height < 1 ||
      answer.height > kMaxSVGSize) {
    return failure("the drawing sent back no picture");
  }
  return Bitmap::fromPremultiplied(
      answer.width, answer.height,
      std::vector<uint8_t>(payload, payload + 4 * size_t(answer.width) * size_t(answer.height)));
}

// Closes every descriptor but the standard ones and this one: one drawing process holding
// another's socket would keep it from seeing its end.
void keepOnly(int kept) {
  close_range(3, unsigned(kept) - 1, 0);
  close_range(unsigned(kept) + 1, ~0u, 0);
}

// A drawing process: draws each document its owner asks for on the socket, within the limits,
// leaves the answer in the shared memory and says so; ends when the owner closes the socket.
// A drawing that passes a limit ends the process; the server starts another for the next.
[[noreturn]] void serveDrawings(int socket, std::byte* memory, const SVGDrawingLimits& limits,
                                pid_t server) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != server) _exit(1);
  keepOnly(socket);
  prepareLimits();
  Request request{};
  while (recv(socket, &request, sizeof request, 0) == sizeof request) {
    if (request.byteCount > kMaxSVGFileBytes) _exit(2);
    limitNextDrawing(limits, limits.seconds);
    Result<Bitmap> drawn =
        rasteriseSVG(std::string_view(reinterpret_cast<const char*>(memory), request.byteCount),
                     static_cast<int>(request.size));
    writeAnswer(memory, drawn);
    limitNextDrawing(limits, 0);
    send(socket, "+", 1, MSG_NOSIGNAL);
  }
  _exit(0);
}

// Why a drawing process ended mid-drawing.
std::string reasonOf(int status, const SVGDrawingLimits& limits) {
  if (WIFSIGNALED(status) && (WTERMSIG(status) == SIGALRM || WTERMSIG(status) == SIGPROF)) {
    return "drawing took longer than " + std::to_string(limits.seconds) + " s; stopped";
  }
  return "drawing failed: " + failureOfStatus(status);
}

// What a channel's owner asks the server: a drawing process, connected to the descriptor the
// reply carries, or why the last one ended (its end closed).
constexpr char kStart = 's';
constexpr char kWhy = 'w';

// Sends "+" with the descriptor, or "!" and why there is none.
void sendDescriptor(int socket, const Result<int>& descriptor) {
  const std::string text = descriptor ? "+" : "!" + descriptor.error().substr(0, kMaxReply - 1);
  iovec bytes{const_cast<char*>(text.data()), text.size()};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  msghdr message{};
  message.msg_iov = &bytes;
  message.msg_iovlen = 1;
  if (descriptor) {
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(header), &descriptor.value(), sizeof(int));
  }
  sendmsg(socket, &message, MSG_NOSIGNAL);
}

// The descriptor sendDescriptor sent, or why there is none.
Result<FileDescriptor> receiveDescriptor(int socket) {
  char text[kMaxReply];
  iovec bytes{text, sizeof text};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  msghdr message{};
  message.msg_iov = &bytes;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  ssize_t count;
  while ((count = recvmsg(socket, &message, MSG_CMSG_CLOEXEC)) < 0 && errno == EINTR) {
  }
  const cmsghdr* header = count > 0 ? CMSG_FIRSTHDR(&message) : nullptr;
  if (header && header->cmsg_type == SCM_RIGHTS) {
    int descriptor;
    std::memcpy(&descriptor, CMSG_DATA(header), sizeof descriptor);
    return FileDescriptor(descriptor);
  }
  if (count <= 1) return Result<FileDescriptor>::failure(kServerEnded);
  return Result<FileDescriptor>::failure(std::string(text + 1, static_cast<size_t>(count) - 1));
}

// The server's side of a channel, and the drawing process serving it, if one was started.
struct ServerChannel {
  ServerChannel(int socketEnd, std::byte* shared) : socket(socketEnd), memory(shared) {}
  int socket;
  std::byte* memory;
  pid_t drawer = -1;
};

// Starts each channel's drawing process when its owner asks, and says why one ended. The owner
// talks to the drawing process directly; the server is not in the way of a drawing.
class Server {
 public:
  Server(std::vector<ServerChannel> channels, SVGDrawingLimits limits)
      : channels_(std::move(channels)), limits_(limits) {}

  // Until every channel is closed; then waits for the drawing processes, which end as their
  // owners close them.
  void serve() {
    std::vector<pollfd> polled;
    for (const ServerChannel& channel : channels_)
      polled.push_back({channel.socket, POLLIN, 0});
    for (size_t open = channels_.size(); open > 0;) {
      if (poll(polled.data(), polled.size(), -1) < 0) {
        if (errno == EINTR) continue;
        break;
      }
      for (size_t k = 0; k < channels_.size(); ++k) {
        if (!polled[k].revents || answer(channels_[k])) continue;
        polled[k].fd = -1;
        --open;
      }
    }
    for (ServerChannel& channel : channels_)
      waitForDrawer(channel);
  }

 private:
  // Answers what the channel's owner asks; false when the owner closed it.
  bool answer(ServerChannel& channel) {
    char question = 0;
    ssize_t count;
    while ((count = recv(channel.socket, &question, 1, 0)) < 0 && errno == EINTR) {
    }
    if (count <= 0) return false;
    if (question == kStart) startDrawer(channel);
    if (question == kWhy) {
      const std::string reason = reasonOf(waitForDrawer(channel), limits_);
      send(channel.socket, reason.data(), reason.size(), MSG_NOSIGNAL);
    }
    return true;
  }

  // Starts a new drawing process for the channel and sends the owner its end of the socket to
  // it. The last one, its end closed by the owner, has ended or ends on its own.
  void startDrawer(ServerChannel& channel) {
    waitForDrawer(channel);
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) {
      return sendDescriptor(channel.socket, failed());
    }
    // The owner's end is closed here once sent, the drawing process's once it has it.
    FileDescriptor owners(pair[0]), drawers(pair[1]);
    const pid_t server = getpid();
    const pid_t drawer = fork();
    if (drawer == 0) serveDrawings(drawers.get(), channel.memory, limits_, server);
    if (drawer < 0) return sendDescriptor(channel.socket, failed());
    channel.drawer = drawer;
    sendDescriptor(channel.socket, owners.get());
  }

  // Waits for the channel's drawing process, which has ended or is ending; its wait status.
  static int waitForDrawer(ServerChannel& channel) {
    int status = 0;
    if (channel.drawer <= 0) return status;
    while (waitpid(channel.drawer, &status, 0) < 0 && errno == EINTR) {
    }
    channel.drawer = -1;
    return status;
  }

  static Result<int> failed() {
    return Result<int>::failure(std::string("cannot start drawing: ") + std::strerror(errno));
  }

  std::vector<ServerChannel> channels_;
  SVGDrawingLimits limits_;
};

// Draws once in the server, so that what librsvg, glib and cairo set up on first use (types,
// caches, fonts) is there in every drawing forked from it.
void warmUp() {
  rasteriseSVG(
      "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 16 16'><linearGradient id='g'><stop "
      "offset='0' stop-color='#f80'/><stop offset='1' stop-color='#08f'/></linearGradient><path "
      "d='M2 2h12v12H2z' fill='url(#g)' opacity='.8'/></svg>",
      16);
}

[[noreturn]] void runServer(std::vector<ServerChannel> channels, const SVGDrawingLimits& limits,
                            pid_t owner) {
  prctl(PR_SET_NAME, "vitrel svg");
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != owner) _exit(0);
  warmUp();
  Server server(std::move(channels), limits);
  server.serve();
  _exit(0);
}

}  // namespace

void SVGServer::Unmap::operator()(std::byte* memory) const {
  munmap(memory, kSharedBytes);
}

SVGDrawingLimits svgDrawingLimits() {
  SVGDrawingLimits limits;
  if (const char* text = std::getenv("VITREL_SVG_SECONDS")) {
    unsigned seconds = 0;
    const char* end = text + std::strlen(text);
    if (std::from_chars(text, end, seconds).ptr == end && seconds > 0) limits.seconds = seconds;
  }
  return limits;
}

SVGServer::SVGServer(unsigned channels, SVGDrawingLimits limits) {
  std::vector<ServerChannel> serverChannels;
  // The server's ends, closed here once it holds them.
  std::vector<FileDescriptor> serverSockets;
  for (unsigned k = 0; k < channels; ++k) {
    void* shared = mmap(nullptr, kSharedBytes, PROT_READ | PROT_WRITE,
                        MAP_SHARED | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    int pair[2];
    if (shared == MAP_FAILED || socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) {
      startFailure_ = std::string("cannot start drawing SVG images: ") + std::strerror(errno);
      if (shared != MAP_FAILED) munmap(shared, kSharedBytes);
      channels_.clear();
      return;
    }
    serverSockets.emplace_back(pair[1]);
    serverChannels.emplace_back(pair[1], static_cast<std::byte*>(shared));
    channels_.push_back(
        {FileDescriptor(pair[0]), SharedMemory(static_cast<std::byte*>(shared)), FileDescriptor()});
    free_.push_back(k);
  }
  const pid_t owner = getpid();
  pid_ = fork();
  if (pid_ == 0) {
    for (Channel& channel : channels_)
      channel.socket.reset();
    runServer(std::move(serverChannels), limits, owner);
  }
  if (pid_ < 0) {
    startFailure_ = std::string("cannot start drawing SVG images: ") + std::strerror(errno);
    channels_.clear();
  }
}

SVGServer::~SVGServer() {
  // Closing the channels ends the server.
  channels_.clear();
  if (pid_ <= 0) return;
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
}

size_t SVGServer::takeChannel() {
  std::unique_lock lock(mutex_);
  freed_.wait(lock, [&] { return !free_.empty(); });
  const size_t channel = free_.back();
  free_.pop_back();
  return channel;
}

void SVGServer::giveBack(size_t channel) {
  {
    std::lock_guard lock(mutex_);
    free_.push_back(channel);
  }
  freed_.notify_one();
}

Result<Bitmap> SVGServer::draw(std::string_view bytes, int size) {
  if (channels_.empty()) return failure(startFailure_);
  if (bytes.size() > kMaxSVGFileBytes) {
    return failure("the SVG image is larger than " + std::to_string(kMaxSVGFileBytes >> 20) +
                   " MiB");
  }
  struct Lease {
    SVGServer& server;
    size_t channel;
    ~Lease() { server.giveBack(channel); }
  } lease{*this, takeChannel()};
  Channel& channel = channels_[lease.channel];
  if (!channel.drawer.valid()) {
    Result<FileDescriptor> drawer = ask(channel, kStart) ? receiveDescriptor(channel.socket.get())
                                                         : Result<FileDescriptor>::failure("");
    if (!drawer) return failure(drawer.error().empty() ? kServerEnded : drawer.error());
    channel.drawer = std::move(drawer).value();
  }
  std::memcpy(channel.memory.get(), bytes.data(), bytes.size());
  const Request request{static_cast<uint64_t>(size), bytes.size()};
  char reply = 0;
  ssize_t count = -1;
  if (send(channel.drawer.get(), &request, sizeof request, MSG_NOSIGNAL) == sizeof request) {
    while ((count = recv(channel.drawer.get(), &reply, 1, 0)) < 0 && errno == EINTR) {
    }
  }
  if (count == 1 && reply == '+') return readAnswer(channel.memory.get());
  // The drawing process ended: the server says why, and starts another for the next document.
  channel.drawer.reset();
  char reason[kMaxReply];
  count = ask(channel, kWhy) ? recv(channel.socket.get(), reason, sizeof reason, 0) : -1;
  if (count <= 0) return failure(kServerEnded);
  return failure(std::string(reason, static_cast<size_t>(count)));
}

bool SVGServer::ask(const Channel& channel, char question) {
  return send(channel.socket.get(), &question, 1, MSG_NOSIGNAL) == 1;
}
