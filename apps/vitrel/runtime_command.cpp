#include "apps/vitrel/runtime_command.h"

#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "apps/vitrel/forked_child.h"
#include "apps/vitrel/installation.h"
#include "apps/vitrel/json_text.h"
#include "apps/vitrel/runtime_listing.h"
#include "apps/vitrel/sample_device.h"
#include "apps/vitrel/settings_command.h"
#include "apps/vitrel/springboard_screen.h"
#include "apps/vitrel/system_version.h"
#include "platform/springboard/host.h"

namespace {

struct RuntimeOptions {
  bool bundle = false;
  std::string className;
  bool json = false;
};

// A home-screen host as `vitrel springboard` starts one on the device (its system, the library
// injected, the home screen built and laid out), that draws nothing and answers no one.
std::vector<ClassListing> homeScreenClasses(const DeviceOptions& device) {
  std::shared_ptr<const AppCatalogue> catalogue = openDevice(device);
  HostConfiguration host;
  host.osMajorVersion = system_version::read();
  setUpHost(host);
  injectLibrary("");
  SpringboardSetup setup;
  setup.osVersion = host.osMajorVersion;
  const SpringboardScreen screen(catalogue, setup);
  return listRuntimeClasses();
}

// A Settings host as `vitrel settings` opens one on the device, the bundle's root page open,
// serving no one.
std::vector<ClassListing> settingsClasses(const DeviceOptions& device) {
  openDevice(device);
  const std::shared_ptr<SettingsHost> host = openSettingsHost("", installSettingsBundle(""));
  return listRuntimeClasses();
}

// Runs the host in a child of this process, which ends once it has sent its classes: what the
// host's libraries do at load (hooks, observers, threads) stays there, and a host that dies
// while starting is reported rather than taking this program with it.
std::vector<ClassListing> classesOfHost(const std::function<std::vector<ClassListing>()>& host) {
  Result<ChildAnswer> answer = runInChild([&host] {
    Json classes = Json::array();
    try {
      for (const ClassListing& listing : host())
        classes.push_back(listingJson(listing));
    } catch (const std::exception& error) {
      return jsonText(Json{{"error", error.what()}});
    }
    return jsonText(Json{{"classes", classes}});
  });
  if (!answer) throw CLI::RuntimeError("cannot start the host: " + answer.error(), 1);
  if (!answer.value().failure.empty()) {
    throw CLI::RuntimeError("the host ended while starting: " + answer.value().failure, 1);
  }
  const Json parsed = Json::parse(answer.value().text, nullptr, false);
  if (parsed.contains("error")) throw CLI::RuntimeError(parsed["error"].get<std::string>(), 1);
  if (!parsed.contains("classes")) {
    throw CLI::RuntimeError("the host ended without listing its classes", 1);
  }
  std::vector<ClassListing> classes;
  for (const Json& json : parsed["classes"]) {
    Result<ClassListing> listing = listingFromJson(json);
    if (!listing) throw CLI::RuntimeError("the host's answer is " + listing.error(), 1);
    classes.push_back(std::move(listing).value());
  }
  return classes;
}

const ClassListing& chosenClass(const std::vector<ClassListing>& classes, const std::string& name,
                                const std::string& hostName) {
  for (const ClassListing& listing : classes) {
    if (listing.name == name) return listing;
  }
  std::string message = "no class " + name + " in the " + hostName;
  const std::vector<std::string> close = closeNames(name, classes);
  for (size_t i = 0; i < close.size(); ++i)
    message += (i == 0 ? "; did you mean " : i + 1 == close.size() ? " or " : ", ") + close[i];
  throw CLI::RuntimeError(message + (close.empty() ? "" : "?"), 1);
}

void run(const DeviceOptions& device, const RuntimeOptions& options) {
  // Here, so that a device that cannot be used is refused as every command refuses it.
  enterDevice(device);
  const std::string hostName = options.bundle ? "Settings host" : "home-screen host";
  const std::vector<ClassListing> classes = classesOfHost([&device, &options] {
    return options.bundle ? settingsClasses(device) : homeScreenClasses(device);
  });
  if (!options.className.empty()) {
    const ClassListing& listing = chosenClass(classes, options.className, hostName);
    std::cout << (options.json ? jsonText(listingJson(listing), 2) + "\n" : listingText(listing));
    return;
  }
  if (options.json) {
    Json list = Json::array();
    for (const ClassListing& listing : classes)
      list.push_back(listingJson(listing));
    std::cout << jsonText(
                     Json{{"host", options.bundle ? "settings" : "springboard"}, {"classes", list}},
                     2)
              << '\n';
    return;
  }
  for (size_t i = 0; i < classes.size(); ++i)
    std::cout << (i ? "\n" : "") << listingText(classes[i]);
}

}  // namespace

void addRuntimeCommand(CLI::App& app, const DeviceOptions& device) {
  auto options = std::make_shared<RuntimeOptions>();
  CLI::App* command = app.add_subcommand(
      "runtime",
      "List the classes of a device process's object runtime, as a class dump does: each with "
      "its superclass, properties (name and attributes, as declared), class (+) and instance "
      "(-) methods (selector and type encoding, by selector). The process is a home-screen "
      "host with the library injected (or, with --bundle, a Settings host with the settings "
      "bundle loaded), started on the device without drawing and ended once listed");
  command->add_flag("--bundle", options->bundle,
                    "A Settings host with the settings bundle instead of the home screen");
  command
      ->add_option("--class", options->className,
                   "Only this class (an unknown name fails, naming close ones)")
      ->type_name("NAME")
      ->check(CLI::Validator(
          [](const std::string& name) { return name.empty() ? "a class name is needed" : ""; },
          ""));
  command->add_flag("--json", options->json,
                    "JSON: {\"host\": \"springboard\"|\"settings\", \"classes\": [CLASS…]}, "
                    "sorted by name, where CLASS is {\"name\", \"superclass\" (null for a root "
                    "class), \"classMethods\" and \"instanceMethods\": [{\"selector\", "
                    "\"types\"}…], \"properties\": [{\"name\", \"attributes\"}…]}; with "
                    "--class, that CLASS alone");
  command->callback([&device, options] { run(device, *options); });
}
