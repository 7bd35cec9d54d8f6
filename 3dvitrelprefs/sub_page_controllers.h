#pragma once

#include "platform/preferences/framework/ps_list_controller.h"

// The five sub-pages: each loads its own plist, unfiltered, and reads and writes the settings
// like the root page.
class SubPageController : public PSListController {};

void defineSubPageControllers();
