#pragma once

#include <string>

#include "platform/preferences/host/settings_host.h"

// What tells the page a user acted on from the page shown now, for actions sent from a tab
// that another tab has moved on. Main loop only.

// The key of the page shown: the navigation stack and what is presented over its top. Each
// controller is named by a number given when first met, so a page that takes the place (and
// the address) of a closed one still gets a new key.
std::string pageKey(const SettingsHost& host);

// Whether viewId names a view of the page on top (covered by an alert or a sheet or not).
bool pageShowsView(const SettingsHost& host, const std::string& viewId);
