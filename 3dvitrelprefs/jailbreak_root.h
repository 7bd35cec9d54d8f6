#pragma once

// The root-path functions this bundle is built with (the same sources as the library's), of
// which it uses one: where a path of the classic layout lies on this device.

inline constexpr unsigned kRootPathBufferSize = 1024;

extern "C" char* libroot_dyn_jbrootpath(const char* path, char* resolvedPath);
