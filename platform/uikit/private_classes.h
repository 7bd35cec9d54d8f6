#pragma once

#include <functional>
#include <string_view>

// UIKit's private classes, which differ between system versions: the host defines the ones
// its system has (`systemHas` answers for each name) before anything is loaded into it.
// Once per process.
void definePrivateUIKitClasses(const std::function<bool(std::string_view name)>& systemHas);
