#pragma once

#include <string>

#include "apps/vitrel/color_json.h"
#include "platform/foundation/result.h"

// What the web client asks of the home screen, as JSON, turned into a command line of the
// springboard's control socket (apps/vitrel/control_socket.h):
//
//   {"action": "hold", "x": N, "y": N}     a long-press at a point (points, origin top left)
//   {"action": "tap", "x": N, "y": N}
//   {"action": "lock"}, {"action": "unlock"}
//   {"action": "style", "style": "light"|"dark"}
//   {"action": "system", "version": 15|16|17}
//
// Fails, saying why, for what is not an object, an unknown action, or a missing or mistyped
// argument.
Result<std::string> springboardCommand(const Json& request);

// An HTTP answer for the web client.
struct ScreenAnswer {
  int status = 200;
  Json body;
};

// The springboard's answer line as the client's answer: "ok …" is {"done": true},
// "nothing: M" {"done": false, "message": M} (the touch met nothing), "error: M" a 409 with M;
// anything else a 502.
ScreenAnswer screenAnswer(const std::string& line);
