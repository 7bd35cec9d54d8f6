#pragma once

#include <set>
#include <string>

// `SB`, `NC`, `MT`, `CA`… are the platform's own class prefixes, which hooks look up: see
// "Names that cannot change" in the README.

// The simulated home-screen process: what the system offers before anything is injected.
struct HostConfiguration {
  // The system's major version, as NSProcessInfo reports it.
  long osMajorVersion = 16;
  bool lockScreenVisible = false;
  // Private classes this system lacks (for example "_UIInterfaceActionVibrantSeparatorView").
  std::set<std::string, std::less<>> missingClasses;
};

// Defines the system's private classes (UIKit's and SpringBoard's, except the missing ones)
// and sets the system version and lock-screen state. Call once, before loading a library into
// the process; a second call changes nothing.
void setUpHost(const HostConfiguration& configuration);
