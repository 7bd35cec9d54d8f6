#pragma once

#include <filesystem>
#include <string>

// Where this program's companions are: beside it in the build tree, or where
// `cmake --install` puts them (lib/vitrel, share/vitrel).
inline constexpr const char* kLibraryName = "libVitrel3DTouch.so";
inline constexpr const char* kBundleExecutableName = "lib3dvitrelprefs.so";
// The settings bundle's package, which installing the bundle records on the device.
inline constexpr const char* kBundlePackageName = "com.brackwood.quenby";
inline constexpr const char* kBundlePackageVersion = "1.0";

// The library to inject: the one chosen, else the one beside this program. Throws a
// CLI::RuntimeError naming where it looked when there is none.
std::filesystem::path findLibrary(const std::string& chosen);

// The settings bundle's shared object: the one chosen, else the one beside this program.
// Throws a CLI::RuntimeError naming where it looked when there is none.
std::filesystem::path findBundleExecutable(const std::string& chosen);

// Finds the library (as findLibrary does) and loads it into this process for good: its hooks
// stay installed until the process ends. Answers its path; throws a CLI::RuntimeError with the
// loader's reason when it cannot be loaded.
std::filesystem::path injectLibrary(const std::string& chosen);

// The sample device's catalogue and icons: installed in share/vitrel/samples, else the source
// tree's samples/ that this program was built from. Throws a CLI::RuntimeError when neither is
// there.
std::filesystem::path samplesFolder();

// The settings bundle's resources (its plists, images and texts): installed in
// share/vitrel/3dvitrelprefs.bundle, else the source tree's 3dvitrelprefs/Resources. Throws a
// CLI::RuntimeError when neither is there.
std::filesystem::path bundleResourcesFolder();

// The settings pages' web client: installed in share/vitrel/web, else the source tree's web/.
// Throws a CLI::RuntimeError when neither is there.
std::filesystem::path webFolder();

// The system font's files (Debian's fonts-inter), which the settings pages are set in, as the
// home screen's pictures are. The folder may be missing; the pages then fall back to DejaVu.
inline constexpr const char* kSystemFontFolder = "/usr/share/fonts/opentype/inter";
