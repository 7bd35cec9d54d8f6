#include "apps/vitrel/prefs_command.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "apps/vitrel/installation.h"
#include "apps/vitrel/json_text.h"
#include "apps/vitrel/page_offers.h"
#include "apps/vitrel/settings_file.h"
#include "platform/foundation/device.h"
#include "platform/foundation/ns_number.h"
#include "source/settings/settings_keys.h"

namespace {

using settings_file::ValueType;

struct SetOptions {
  std::string key;
  std::string value;
  std::string type;
  bool force = false;
};

Ref<NSMutableDictionary> readOrFail() {
  auto settings = settings_file::read();
  if (!settings) throw CLI::RuntimeError(settings_file::unreadable(settings.error()), 1);
  return std::move(settings).value();
}

void succeedOrFail(const Result<void>& written) {
  if (!written) throw CLI::RuntimeError(written.error(), 1);
}

// The pages as the device's Settings shows them: the bundle installed on it, else the one
// `vitrel settings` would install.
std::filesystem::path pagesFolder() {
  const std::filesystem::path installed =
      *device::directory() / "var/jb/Library/PreferenceBundles/3dvitrelprefs.bundle";
  std::error_code error;
  return std::filesystem::exists(installed / "Root.plist", error) ? installed
                                                                  : bundleResourcesFolder();
}

// A value the pages could not show is refused where they offer a fixed set of values (the
// library would read it, but a segmented control would show no selection); a number outside
// a slider's range only gets a warning, since the library reads any number.
void checkOffered(const std::string& key, const std::string& text, const NSObject* value) {
  Result<PageOffers> offers = PageOffers::read(pagesFolder());
  if (!offers) {
    std::cerr << "warning: the value is not checked against the settings pages: " << offers.error()
              << '\n';
    return;
  }
  for (const PageOffer& offer : offers.value().offersFor(key)) {
    std::optional<std::string> refusal = offer.refusal(value);
    if (!refusal) continue;
    if (offer.kind == PageOffer::Kind::choices) {
      throw CLI::ValidationError("VALUE", "\"" + text + "\" is not offered for " + key + ": " +
                                              *refusal + "; --force stores it anyway");
    }
    if (offer.kind == PageOffer::Kind::range) {
      std::cerr << "warning: " << key << ": " << *refusal << '\n';
    }
  }
}

void set(const DeviceOptions& device, const SetOptions& options) {
  enterDevice(device);
  if (auto refusal = settings_file::unstorableText(options.key)) {
    if (!options.force) {
      throw CLI::ValidationError(
          "KEY", "the key cannot be stored: " + *refusal + "; --force stores it anyway");
    }
    std::cerr << "warning: the key cannot be stored safely: " << *refusal
              << "; stored anyway, strict property-list readers may refuse the file\n";
  }
  std::optional<ValueType> known = settings_file::knownType(options.key);
  ValueType type = known.value_or(settings_file::inferType(options.value));
  if (!options.type.empty()) {
    type = *settings_file::typeNamed(options.type);
    if (known && *known != type) {
      std::cerr << "warning: the library reads " << options.key << " as a "
                << settings_file::nameOf(*known) << '\n';
    }
  }
  if (!known) std::cerr << "warning: " << options.key << " is not a key the library reads\n";
  auto value = settings_file::parseValue(options.value, type);
  // Forced text is stored as given: the user asked for these bytes, and the readers here cope.
  if (!value && options.force && type == ValueType::string) {
    std::cerr << "warning: " << value.error()
              << "; stored anyway, strict property-list readers may refuse the file\n";
    value = Ref<NSObject>(NSString::from(options.value));
  }
  if (!value) throw CLI::ValidationError("VALUE", value.error());
  if (!options.force) checkOffered(options.key, options.value, value.value().get());
  succeedOrFail(settings_file::edit(
      [&](NSMutableDictionary& settings) { settings.setObject(options.key, value.value()); }));
  std::cout << options.key << " = " << settings_file::format(value.value().get()) << " ("
            << settings_file::nameOf(type) << ")\n";
}

void get(const DeviceOptions& device, const std::string& key) {
  enterDevice(device);
  Ref<NSObject> value = readOrFail()->objectForKey(key);
  if (!value) throw CLI::RuntimeError(key + " is not set", 1);
  std::cout << settings_file::format(value.get()) << '\n';
}

std::string typeName(const std::string& key, const NSObject* value) {
  auto type = value ? settings_file::typeOf(value) : settings_file::knownType(key);
  return type ? std::string(settings_file::nameOf(*type)) : "other";
}

nlohmann::json jsonValue(const NSObject* value) {
  if (!value) return nullptr;
  if (auto* number = dynamic_cast<const NSNumber*>(value)) {
    if (number->isBoolean()) return number->boolValue();
    return number->doubleValue();
  }
  return describe(value);
}

void list(const DeviceOptions& device, bool json) {
  enterDevice(device);
  Ref<NSMutableDictionary> settings = readOrFail();
  // Every key the library reads, in its order, then any other key the file holds.
  std::vector<std::string> keys;
  for (const SettingField& entry : kSettingFields)
    keys.emplace_back(entry.key);
  for (const auto& [key, value] : settings->entries()) {
    if (!settings_file::knownType(key)) keys.push_back(key);
  }
  nlohmann::ordered_json document = nlohmann::ordered_json::object();
  for (const auto& key : keys) {
    Ref<NSObject> value = settings->objectForKey(key);
    if (json) {
      document[key] = {{"type", typeName(key, value.get())}, {"value", jsonValue(value.get())}};
    } else {
      std::cout << key << " (" << typeName(key, value.get())
                << "): " << (value ? settings_file::format(value.get()) : "not set") << '\n';
    }
  }
  if (json) std::cout << jsonText(document, 2) << '\n';
}

void reset(const DeviceOptions& device) {
  enterDevice(device);
  succeedOrFail(settings_file::write(NSDictionary::from({}).get()));
  std::cout << "settings cleared\n";
}

}  // namespace

void addPrefsCommand(CLI::App& app, const DeviceOptions& device) {
  CLI::App* prefs = app.add_subcommand("prefs", "Edit the device's Vitrel3DTouch settings");
  prefs->require_subcommand(1);

  auto setOptions = std::make_shared<SetOptions>();
  CLI::App* setCommand = prefs->add_subcommand(
      "set", "Store a value and tell the running home screen to reload its settings");
  setCommand->add_option("KEY", setOptions->key, "Setting key, e.g. cornerRadius")->required();
  setCommand->add_option("VALUE", setOptions->value, "The value: true/false, a number or text")
      ->required();
  setCommand
      ->add_option("--type", setOptions->type,
                   "bool, number or string (default: the type the library reads the key as, "
                   "else inferred from the value)")
      ->check(CLI::IsMember({"bool", "number", "string"}));
  setCommand->add_flag("--force", setOptions->force,
                       "Store a value the settings pages do not offer (the library reads any)");
  setCommand->callback([&device, setOptions] { set(device, *setOptions); });

  auto key = std::make_shared<std::string>();
  CLI::App* getCommand = prefs->add_subcommand("get", "Print a stored value");
  getCommand->add_option("KEY", *key, "Setting key")->required();
  getCommand->callback([&device, key] { get(device, *key); });

  auto json = std::make_shared<bool>(false);
  CLI::App* listCommand =
      prefs->add_subcommand("list", "Every key the library reads, with its type and value");
  listCommand->add_flag("--json", *json, "Print a JSON object instead");
  listCommand->callback([&device, json] { list(device, *json); });

  prefs->add_subcommand("reset", "Remove every stored value (the file stays, empty)")
      ->callback([&device] { reset(device); });
}
