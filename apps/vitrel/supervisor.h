#pragma once

#include <string>
#include <vector>

// Runs a program as the device runs its home screen: started again whenever it ends, by a
// crash or a respring (`killall SpringBoard`), until this process is asked to stop (SIGINT,
// SIGTERM), which stops the program too. A program that ends within a second of starting is
// started again only after a second, so a crash loop does not spin. Returns the exit status
// for this process.
int supervise(const std::vector<std::string>& command);
