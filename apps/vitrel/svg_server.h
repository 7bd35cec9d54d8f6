#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/internal/file_descriptor.h"
#include "platform/foundation/result.h"
#include "platform/graphics/bitmap.h"

// What drawing one SVG may take. 10 s of wall-clock time (and as much processor time) is
// hundreds of times what an icon needs, even on a loaded machine. 1 GiB of memory beyond what
// the drawing process holds when a drawing starts takes the largest bitmap (64 MiB) many times,
// with librsvg's intermediate surfaces. The cap is on the data size (RLIMIT_DATA): librsvg
// meets an allocation it refuses mostly by leaving out what needed it (an embedded picture of
// 20000 × 20000 pixels is not drawn), else by aborting, which fails that file; under
// AddressSanitizer, whose allocator ends the process instead of failing, every such drawing
// fails.
struct SVGDrawingLimits {
  unsigned seconds = 10;
  uint64_t memoryBytes = uint64_t{1} << 30;
};

// The limits `vitrel colors` draws with: the defaults, but the environment variable
// VITREL_SVG_SECONDS (a whole number of seconds, at least 1) replaces the time, so that a test
// of a drawing that would take minutes waits a second, not ten.
SVGDrawingLimits svgDrawingLimits();

// Draws SVG documents as rasteriseSVG does, in other processes under limits, since nothing
// stops librsvg mid-drawing: a filter's parameters can make it draw for minutes.
//
// The constructor forks a server process, which must happen while this process has a single
// thread (before any worker starts): a process forked while another thread holds a lock (the
// allocator's, say) inherits it held forever. The server stays single-threaded, so it can fork
// safely whenever asked; it loads and warms up librsvg once, and the drawing processes it forks
// start warm. Each channel (one per drawing at once) has a drawing process of its own, which
// draws document after document, each within the limits; one that passes a limit is ended, and
// the server starts another for the channel's next document. A fork per document would be
// simpler, but costs 10 to 20 ms a document here (the pages every drawing touches are copied
// anew), ten times the drawing. The server ends with this object, or with the thread that made
// it (PR_SET_PDEATHSIG), and the drawing processes with the server; none is left running.
//
// A channel is a socket pair to the server, which answers with the socket to the channel's
// drawing process, and shared memory holding the document's bytes, then the drawn pixels.
class SVGServer {
 public:
  SVGServer(unsigned channels, SVGDrawingLimits limits);
  // Stops the server and waits for it.
  ~SVGServer();
  SVGServer(const SVGServer&) = delete;
  SVGServer& operator=(const SVGServer&) = delete;

  // The document drawn to fit size × size pixels, as rasteriseSVG, with its failures, or why
  // the drawing was stopped ("drawing took longer than 10 s; stopped") or failed. Safe to call
  // from several threads; more callers than channels wait for one. Costs a round trip to the
  // drawing process and a copy of the document and of the pixels (about 0.1 ms for an icon),
  // and a fork when the channel's drawing process is started.
  Result<Bitmap> draw(std::string_view bytes, int size);

 private:
  using FileDescriptor = foundation_internal::FileDescriptor;
  struct Unmap {
    void operator()(std::byte* memory) const;
  };
  using SharedMemory = std::unique_ptr<std::byte, Unmap>;
  // A socket to the server, shared memory holding the document's bytes, then the drawn pixels,
  // and a socket to the drawing process serving the channel, once the server started one.
  struct Channel {
    FileDescriptor socket;
    SharedMemory memory;
    FileDescriptor drawer;
  };
  size_t takeChannel();
  void giveBack(size_t channel);
  // Sends the server a question about the channel's drawing process; false when it has ended.
  static bool ask(const Channel& channel, char question);

  std::vector<Channel> channels_;
  std::mutex mutex_;
  std::condition_variable freed_;
  std::vector<size_t> free_;
  pid_t pid_ = -1;
  // Why the server could not be started, when it could not.
  std::string startFailure_;
};
