#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/result.h"

// Property lists: the platform's files of settings and resources, as XML or binary.
//
// Values map both ways as booleans (NSNumber, objCType "B"), integers (NSNumber "q", or "Q"
// above INT64_MAX), reals (NSNumber "d"), NSString, NSData, NSDate, NSArray and NSDictionary.
// Dates read from binary files keep their full precision; XML holds whole seconds only, between
// 1932-12-13 and 2069-01-19 (UTC), so written dates are rounded down to the second.
//
// Bounds: inputs over 16 MiB are refused as unreadable, and so is nesting deeper than 512
// containers or a binary file whose shared objects would expand to far more values than it has
// bytes (a few per byte, two million at most).
// Everything read is checked before it is trusted: bad input gives a failure, never a crash.

// The largest input the readers accept, in bytes.
inline constexpr size_t kPropertyListMaxBytes = size_t{16} << 20;
// The deepest nesting of arrays and dictionaries the readers and the writer accept.
inline constexpr int kPropertyListMaxDepth = 512;

// Parses XML or binary property-list bytes (the format is detected). Returns the root object;
// the failure says in plain words what is wrong with the bytes. Costs time and memory linear in
// the size of the input.
Result<Ref<NSObject>> parsePropertyList(std::string_view bytes);

// Reads and parses the file. The failure names the path and the reason (missing, a folder,
// permission, over the bound, not a property list).
Result<Ref<NSObject>> readPropertyList(const std::filesystem::path& path);

// The file's root if it is a dictionary; a missing file, unreadable bytes, a root of another
// type, or a file over the bound give a failure whose error() says which, with the path.
Result<Ref<NSDictionary>> readPropertyListDictionary(const std::filesystem::path& path);

// The platform's convenience: the dictionary, or nil on any failure (never throws, never
// crashes).
Ref<NSDictionary> dictionaryWithContentsOfFile(const std::filesystem::path& path);

// Serialises a property-list object tree as XML (the platform's XML plist format). Fails,
// naming the class or the value, for objects a property list cannot hold: other classes, nil
// roots, strings with NUL characters, dates outside the XML range, nesting over the bound
// (which includes collections that contain themselves).
Result<std::string> xmlPropertyList(const NSObject* root);

// Writes atomically: temporary file in the same folder, written fully, fsync'd, renamed over
// the target, then the folder fsync'd; a reader sees the old whole file or the new whole file,
// and a failure leaves the old file untouched and no temporary file behind. Temporary files
// left by writers that crashed (their process is gone) are removed by the next write to the
// same path. An existing file keeps its permission bits. Refuses trees whose XML would exceed
// kPropertyListMaxBytes, since they could not be read back. Returns a failure with a clear
// reason (e.g. folder missing, permission).
Result<void> writePropertyListAtomically(const NSObject* root, const std::filesystem::path& path);

// Whether two trees are equal as property lists: same kinds (a boolean never equals an integer,
// an integer never a real) and same values; NaN reals equal each other. Nil equals only nil.
bool propertyListsEqual(const NSObject* a, const NSObject* b);
