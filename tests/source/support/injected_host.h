#pragma once

#include <filesystem>
#include <string>

#include "platform/foundation/ns_dictionary.h"
#include "platform/springboard/host.h"

// What `vitrel springboard` does, for tests: a simulated home-screen process with its own
// device folder, into which the library is loaded. One library load per test program, since
// the library's initialisers run once per process.
namespace injected_host {

// A fresh device folder for this process, made the process's device.
std::filesystem::path enterFreshDevice();

// Where the library reads its settings on that device.
std::filesystem::path settingsFile();
// Writes the settings file atomically, as the settings bundle does; fails the test on error.
void writeSettings(const NSDictionary* settings);

// Posts the library's reload notification `posts` times and turns the main loop until the test
// variant has logged its settings after the reload (or ten seconds pass). Returns how many
// reloads ran.
size_t reloadSettings(int posts = 1);

// Loads the library (dlopen, immediate binding); fails the test with the loader's message if
// it cannot.
void* loadLibrary(const std::string& path);

// Resolves a symbol the library exports; fails the test if it has none.
void* symbol(void* library, const char* name);

}  // namespace injected_host
