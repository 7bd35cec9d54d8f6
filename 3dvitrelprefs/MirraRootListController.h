#pragma once

#include "MirraBaseController.h"

// The root settings page: its rows come from "Root" with the hiding rules applied.
class MirraRootListController : public MirraBaseController {};

objc::Class* defineMirraRootListController(objc::Class* base);
