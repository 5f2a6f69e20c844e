#include "libav.h"

#include <dlfcn.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "engine.h"

namespace helpers {
namespace {

#define TRANSCODA_TEXT(x) #x
#define TRANSCODA_SONAME(library, major) "lib" #library ".so." TRANSCODA_TEXT(major)

struct Loaded {
    LibavFunctions functions;
    std::string error;  // empty once every function is there
    bool done = false;
};

Loaded& State() {
    static Loaded loaded;
    return loaded;
}

// Joins a preload still under way when the tool ends.
struct Preloader {
    std::thread thread;
    ~Preloader() {
        if (thread.joinable()) thread.join();
    }
};

Preloader& Background() {
    static Preloader preloader;
    return preloader;
}

void Load(Loaded& state) {
    void* avutil = dlopen(TRANSCODA_SONAME(avutil, LIBAVUTIL_VERSION_MAJOR), RTLD_LAZY | RTLD_LOCAL);
    void* avcodec = dlopen(TRANSCODA_SONAME(avcodec, LIBAVCODEC_VERSION_MAJOR), RTLD_LAZY | RTLD_LOCAL);
    void* avformat = dlopen(TRANSCODA_SONAME(avformat, LIBAVFORMAT_VERSION_MAJOR), RTLD_LAZY | RTLD_LOCAL);
    state.done = true;
    if (avutil == nullptr || avcodec == nullptr || avformat == nullptr) {
        const char* why = dlerror();
        state.error = why != nullptr ? why : "the engine's libraries are missing";
        return;
    }
    LibavFunctions& f = state.functions;
#define TRANSCODA_LIBAV_FIND(library, name)                                          \
    f.name = reinterpret_cast<decltype(f.name)>(dlsym(library, #name));              \
    if (f.name == nullptr && state.error.empty()) state.error = "no " #name " in lib" #library;
    TRANSCODA_LIBAV_FUNCTIONS(TRANSCODA_LIBAV_FIND)
#undef TRANSCODA_LIBAV_FIND
}

}  // namespace

void PreloadLibav() {
    // The loaded state is made first so that it outlives the loading thread, which the
    // preloader joins when the tool exits.
    Loaded& state = State();
    Preloader& background = Background();
    if (state.done || background.thread.joinable()) return;
    try {
        background.thread = std::thread([] { Load(State()); });
    } catch (...) {
        // No thread to spare: the libraries are loaded when first needed.
    }
}

bool LibavAvailable() {
    Loaded& state = State();
    Preloader& background = Background();
    if (background.thread.joinable()) background.thread.join();
    if (!state.done) Load(state);
    return state.error.empty();
}

const LibavFunctions& Libav() {
    Loaded& state = State();
    LibavAvailable();
    if (!state.error.empty()) {
        WriteAll(2, "cannot load the engine's libraries: " + state.error + "\n");
        _exit(127);
    }
    return state.functions;
}

}  // namespace helpers
