#pragma once

#include <functional>
#include <string_view>

// Each SpringBoard file defines its classes, skipping those the simulated system lacks;
// host.cpp calls these once, superclasses first.
namespace springboard_classes {
using SystemHas = std::function<bool(std::string_view name)>;
void defineIconModelClasses(const SystemHas& systemHas);
void defineIconViewClasses(const SystemHas& systemHas);
// Icon lists and the dock, then open folders (whose icon list is an icon list's kind).
void defineDockClasses(const SystemHas& systemHas);
void defineFolderClasses(const SystemHas& systemHas);
void defineControllerClasses(const SystemHas& systemHas);
void defineMaterialClasses(const SystemHas& systemHas);
void defineNotificationClasses(const SystemHas& systemHas);
void defineNotificationListClasses(const SystemHas& systemHas);
}  // namespace springboard_classes
