// Folder items of the application bundle and the sounds opened from them.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Types.h"

namespace classlib {

class Sound;

// A file or folder by path. It may name something that does not exist.
class FolderItem : public Object {
 public:
  explicit FolderItem(std::string path);
  const std::string& NativePath() const { return path_; }
  bool Exists() const;
  bool Directory() const;
  // The item of that name inside this folder, whether or not it exists;
  // nothing for a name that is empty or holds a path separator or "..".
  Ref<FolderItem> Child(const std::string& name) const;
  // The file opened as a sound, or nothing when it is missing or cannot be
  // decoded (one warning on stderr names the file).
  Ref<Sound> OpenAsSound() const;
  std::string ClassName() const override { return "FolderItem"; }

 private:
  std::string path_;
};

// The application bundle's Resources folder: "Resources" inside the folder
// that holds the program's folder. Nothing when it does not exist.
Ref<FolderItem> GetApplicationBundleResources();
// Points the bundle's Resources folder elsewhere (tests); empty restores it.
void SetApplicationBundleResourcesForTesting(const std::string& path);

class Sound : public Object {
 public:
  ~Sound() override;
  // Starts playing; nobody waits for it or stops it. When no audio device can
  // be opened the game stays silent (one warning on stderr).
  void Play();
  std::string ClassName() const override { return "Sound"; }

  // "Playing nothing" is silent: a sound that did not load never stops a move.
  static Sound* NilStandIn();

  // The file name the sound was opened from.
  const std::string& Name() const { return name_; }

  // The Plays of the run, in order: the sound's file name, or the empty text
  // for a Play on nothing. For tests. Only the latest plays are kept (at least
  // the last kPlayLogKept), so that a long session does not grow with it.
  static constexpr std::size_t kPlayLogKept = 1024;
  static const std::vector<std::string>& PlayLog();
  static void ClearPlayLog();

  struct Impl;
  Sound(std::string name, std::unique_ptr<Impl> impl);

 private:
  std::string name_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace classlib
