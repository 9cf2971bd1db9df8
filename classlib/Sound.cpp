// Folder items, the bundle's Resources folder, and sounds played through
// SDL2_mixer.
//
// SDL2_mixer and the audio libraries behind it are loaded at the first
// OpenAsSound, not at start-up: no sound plays before the first move, and the
// window comes up faster and smaller without them. The audio device is opened
// then too and never closed, so a sound held in a static reference can be
// freed safely while the program ends. When the library or a device cannot be
// had, one warning says so and the game stays silent: OpenAsSound then gives a
// silent Sound for every file that exists (the file is not decoded), whose
// Play is only logged.
#include "classlib/Sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <filesystem>
#include <string>
#include <system_error>
#include <type_traits>

#include "classlib/src/Internal.h"

namespace classlib {

namespace fs = std::filesystem;

// --- Folder items -------------------------------------------------------------

FolderItem::FolderItem(std::string path) : path_(std::move(path)) {}

bool FolderItem::Exists() const {
  std::error_code error;
  return fs::exists(fs::path(path_), error);
}

bool FolderItem::Directory() const {
  std::error_code error;
  return fs::is_directory(fs::path(path_), error);
}

Ref<FolderItem> FolderItem::Child(const std::string& name) const {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
      name.find('\0') != std::string::npos) {
    return nullptr;
  }
  std::string path = path_;
  if (path.empty() || path.back() != '/') path += '/';
  return Ref<FolderItem>(std::make_shared<FolderItem>(path + name));
}

// --- The bundle's Resources folder ----------------------------------------------

namespace {

// Set by tests; never destroyed, as pictures may be opened while the program
// ends.
std::string& ResourcesOverride() {
  static auto* path = new std::string();
  return *path;
}

}  // namespace

namespace internal {

std::string BundleResourcesPath() {
  if (!ResourcesOverride().empty()) return ResourcesOverride();
  // The program lives in Tovarine.app/Contents/MacOS; its files lie in
  // Tovarine.app/Contents/Resources.
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (error || !program.has_parent_path()) return "";
  return (program.parent_path().parent_path() / "Resources").string();
}

std::string WhyUnreadable(const std::string& path) {
  auto lower = [](std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
  };
  std::error_code error;
  const fs::file_status status = fs::status(fs::path(path), error);
  if (status.type() == fs::file_type::not_found) return "missing";
  if (error) return "not readable: " + lower(error.message());
  if (status.type() == fs::file_type::directory) return "not readable: it is a folder, not a file";
  // A pipe or a device could block the reader for good.
  if (status.type() != fs::file_type::regular) return "not readable: it is not a regular file";
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "not readable: " + lower(std::strerror(errno));
  ::close(fd);
  return "";
}

void WarnOnce(const std::string& key, const std::string& line) {
  // Never destroyed: pictures may be asked for while the program ends.
  static auto* said = new std::set<std::string>();
  if (!said->insert(key).second) return;
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

}  // namespace internal

Ref<FolderItem> GetApplicationBundleResources() {
  const std::string resources = internal::BundleResourcesPath();
  if (resources.empty()) {
    internal::WarnOnce("resources", "warning: the program cannot find its own file, so it has no Resources "
                                    "folder; the game has no pictures and no sounds");
    return nullptr;
  }
  std::error_code error;
  if (!fs::is_directory(fs::path(resources), error)) {
    const std::string why = fs::exists(fs::path(resources), error) ? "is not a folder" : "is missing";
    internal::WarnOnce(resources + "\n" + why, "warning: the Resources folder " + resources + " " + why +
                                                   "; the game has no pictures and no sounds");
    return nullptr;
  }
  return Ref<FolderItem>(std::make_shared<FolderItem>(resources));
}

void SetApplicationBundleResourcesForTesting(const std::string& path) { ResourcesOverride() = path; }

// --- Sounds -----------------------------------------------------------------------

namespace {

// The entry points of SDL2 and SDL2_mixer the game uses, found in the library
// once it is loaded.
struct Mixer {
  decltype(&::SDL_SetHint) SetHint = nullptr;
  decltype(&::SDL_InitSubSystem) InitSubSystem = nullptr;
  decltype(&::SDL_GetError) GetError = nullptr;
  decltype(&::SDL_RWFromFile) RWFromFile = nullptr;
  decltype(&::Mix_OpenAudio) OpenAudio = nullptr;
  decltype(&::Mix_AllocateChannels) AllocateChannels = nullptr;
  decltype(&::Mix_LoadWAV_RW) LoadWAV_RW = nullptr;
  decltype(&::Mix_PlayChannelTimed) PlayChannelTimed = nullptr;
  decltype(&::Mix_FreeChunk) FreeChunk = nullptr;

  // Loads the library; false (with a reason) when it or an entry point is
  // missing. The library stays loaded for the rest of the run.
  bool Load(std::string& reason) {
    void* library = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
      reason = dlerror();
      return false;
    }
    bool found = true;
    auto find = [&](auto& entry, const char* name) {
      entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(dlsym(library, name));
      if (entry == nullptr) {
        found = false;
        reason = std::string("no ") + name + " in the sound library";
      }
    };
    find(SetHint, "SDL_SetHint");
    find(InitSubSystem, "SDL_InitSubSystem");
    find(GetError, "SDL_GetError");
    find(RWFromFile, "SDL_RWFromFile");
    find(OpenAudio, "Mix_OpenAudio");
    find(AllocateChannels, "Mix_AllocateChannels");
    find(LoadWAV_RW, "Mix_LoadWAV_RW");
    find(PlayChannelTimed, "Mix_PlayChannelTimed");
    find(FreeChunk, "Mix_FreeChunk");
    return found;
  }
};

Mixer mixer;

enum class AudioState { Untried, Open, Unavailable };
AudioState audioState = AudioState::Untried;

// Loads the sound library and opens the audio device once; afterwards says
// whether they are there.
bool AudioOpen() {
  if (audioState != AudioState::Untried) return audioState == AudioState::Open;
  audioState = AudioState::Unavailable;
  std::string reason;
  if (!mixer.Load(reason)) {
    std::fprintf(stderr, "warning: the sound library cannot be loaded (%s); the game stays silent\n",
                 reason.c_str());
    return false;
  }
  // Signals stay the toolkit's business.
  mixer.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (mixer.InitSubSystem(SDL_INIT_AUDIO) != 0 || mixer.OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    std::fprintf(stderr, "warning: no audio device can be opened (%s); the game stays silent\n",
                 mixer.GetError());
    return false;
  }
  // Enough channels that sounds started close together all play.
  mixer.AllocateChannels(16);
  audioState = AudioState::Open;
  return true;
}

}  // namespace

struct Sound::Impl {
  Mix_Chunk* chunk = nullptr;
  ~Impl() {
    // The device stays open for the whole run, so freeing is safe at any time,
    // also while the program ends; a channel still playing it is stopped.
    if (chunk != nullptr) mixer.FreeChunk(chunk);
  }
};

namespace {

std::vector<std::string>& Log() {
  static auto* log = new std::vector<std::string>();
  return *log;
}

}  // namespace

Ref<Sound> FolderItem::OpenAsSound() const {
  const std::string name = fs::path(path_).filename().string();
  const std::string unreadable = internal::WhyUnreadable(path_);
  if (!unreadable.empty()) {
    std::fprintf(stderr, "warning: sound file %s is %s; it stays silent\n", path_.c_str(), unreadable.c_str());
    return nullptr;
  }
  if (!AudioOpen()) return Ref<Sound>(std::make_shared<Sound>(name, nullptr));
  SDL_RWops* source = mixer.RWFromFile(path_.c_str(), "rb");
  if (source == nullptr) {
    std::fprintf(stderr, "warning: sound file %s is not readable (%s); it stays silent\n", path_.c_str(),
                 mixer.GetError());
    return nullptr;
  }
  Mix_Chunk* chunk = mixer.LoadWAV_RW(source, 1);
  if (chunk == nullptr) {
    std::fprintf(stderr, "warning: sound file %s is not a sound that can be decoded (%s); it stays silent\n",
                 path_.c_str(), mixer.GetError());
    return nullptr;
  }
  auto impl = std::make_unique<Sound::Impl>();
  impl->chunk = chunk;
  return Ref<Sound>(std::make_shared<Sound>(name, std::move(impl)));
}

Sound::Sound(std::string name, std::unique_ptr<Impl> impl) : name_(std::move(name)), impl_(std::move(impl)) {}

Sound::~Sound() = default;

void Sound::Play() {
  std::vector<std::string>& log = Log();
  // Older half dropped at once, so that keeping the log bounded stays cheap.
  if (log.size() >= 2 * kPlayLogKept) log.erase(log.begin(), log.end() - kPlayLogKept);
  log.push_back(name_);
  // With every channel busy the sound is left out; nobody waits for a channel.
  if (impl_ && impl_->chunk != nullptr) mixer.PlayChannelTimed(-1, impl_->chunk, 0, -1);
}

Sound* Sound::NilStandIn() {
  // Never destroyed: sounds may be played while the program ends.
  static auto* silent = new Sound(std::string(), nullptr);
  return silent;
}

const std::vector<std::string>& Sound::PlayLog() { return Log(); }

void Sound::ClearPlayLog() { Log().clear(); }

}  // namespace classlib
