#pragma once

#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_string.h"
#include "platform/graphics/ui_image.h"

// The model of one icon on the home screen: what it is named and shows. Its runtime methods
// answer what the icon stands for: `applicationBundleID` (nil unless an app) and `folder` (nil
// unless a folder icon).
class SBIcon : public NSObject {
 public:
  NSString* displayName() const { return displayName_.get(); }
  void setDisplayName(Ref<NSString> name) { displayName_ = std::move(name); }
  // The artwork the icon shows, nil for a folder (which shows its apps).
  UIImage* image() const { return image_.get(); }
  void setImage(Ref<UIImage> image) { image_ = std::move(image); }

 private:
  Ref<NSString> displayName_;
  Ref<UIImage> image_;
};

// An app's icon.
class SBApplicationIcon : public SBIcon {
 public:
  NSString* applicationBundleID() const { return bundleID_.get(); }
  void setApplicationBundleID(Ref<NSString> bundleID) { bundleID_ = std::move(bundleID); }

 private:
  Ref<NSString> bundleID_;
};

// A folder: a named, ordered list of icons.
class SBFolder : public NSObject {
 public:
  NSString* displayName() const { return displayName_.get(); }
  void setDisplayName(Ref<NSString> name) { displayName_ = std::move(name); }
  const std::vector<Ref<SBIcon>>& icons() const { return icons_; }
  void setIcons(std::vector<Ref<SBIcon>> icons) { icons_ = std::move(icons); }

 private:
  Ref<NSString> displayName_;
  std::vector<Ref<SBIcon>> icons_;
};

// The icon of a folder.
class SBFolderIcon : public SBIcon {
 public:
  SBFolder* folder() const { return folder_.get(); }
  void setFolder(Ref<SBFolder> folder) { folder_ = std::move(folder); }

 private:
  Ref<SBFolder> folder_;
};
