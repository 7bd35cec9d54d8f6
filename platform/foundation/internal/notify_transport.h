#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/internal/file_descriptor.h"

// How the processes of one device pass Darwin notification names to each other: each observing
// process binds a datagram socket in the device's notify folder, and a post sends the bare name
// to every socket there. Socket addresses are limited to 108 bytes, so a socket in a deeper
// folder is addressed through /proc/self/fd/<folder descriptor>/<file>.
namespace foundation_internal {

// Longer names are refused; one datagram always holds a whole name.
constexpr size_t kMaxNotificationNameLength = 1024;

struct NotifySocket {
  // Shared with the run-loop callback that reads it, so it stays open while a read runs.
  std::shared_ptr<const FileDescriptor> fd;
  std::filesystem::path path;
};

// Makes folder if needed and binds a new non-blocking socket in it, under a name no other
// process of the device uses or used (pid and start time). Logs and answers nothing on failure.
std::optional<NotifySocket> bindNotifySocket(const std::filesystem::path& folder);

// Reads the datagrams waiting on a socket from bindNotifySocket (a bounded number per call, so
// a flood cannot hold the loop) and hands every acceptable name to onName.
void receiveNotificationNames(int fd, const std::function<void(std::string name)>& onName);

// Sends name to every socket in folder except the file named `except`, spending at most a
// fraction of a second in all on peers whose queues are full (their copy is dropped, logged).
// Removes the socket files of processes that are gone. A missing folder means nobody observes.
void sendNotificationName(const std::filesystem::path& folder, std::string_view name,
                          const std::string& except);

}  // namespace foundation_internal
