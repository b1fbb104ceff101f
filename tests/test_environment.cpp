// test_environment.cpp - linked into every test executable: the tests run headless.
//
// SDL draws into Mesa's offscreen OpenGL and plays into its dummy audio device, so no test needs
// a display or a sound card. The variables are set before main, before anything starts SDL; one
// already set in the environment is kept.
#include <cstdlib>

#if defined(__SANITIZE_THREAD__)
#define ZX_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZX_THREAD_SANITIZER 1
#endif
#endif

#if defined(__SANITIZE_ADDRESS__)
#define ZX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZX_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

#ifdef ZX_ADDRESS_SANITIZER
// Mesa's software OpenGL compiles its shaders with LLVM, which frees with free() what its own
// operator new gave; the sanitizer's check for that mismatch is off, for the tests and for the
// game programs they start, since the report is never about our code.
constexpr const char* kAddressSanitizerOptions = "alloc_dealloc_mismatch=0";
#endif

struct HeadlessEnvironment {
  HeadlessEnvironment() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
#ifdef ZX_THREAD_SANITIZER
    // Mesa's software OpenGL is not instrumented: rasterising on the calling thread keeps the
    // sanitizer's reports to our own code.
    setenv("LP_NUM_THREADS", "0", 0);
#endif
#ifdef ZX_ADDRESS_SANITIZER
    setenv("ASAN_OPTIONS", kAddressSanitizerOptions, 0);
    // The leak check at exit stops every thread with ptrace; Mesa's rasteriser threads, still
    // winding down then, now and again crash its tracer. Rasterising on the calling thread
    // leaves it only our own threads to stop.
    setenv("LP_NUM_THREADS", "0", 0);
#endif
  }
} headless_environment;

}  // namespace

#ifdef ZX_ADDRESS_SANITIZER
extern "C" const char* __asan_default_options() { return kAddressSanitizerOptions; }
#endif

#ifdef ZX_THREAD_SANITIZER
// Mesa's software OpenGL, its LLVM shader compiler and its EGL loader are not instrumented: their
// threads synchronise in ways the sanitizer cannot see, and their own lock order is theirs.
extern "C" const char* __tsan_default_suppressions() {
  return "called_from_lib:swrast_dri.so\n"
         "called_from_lib:libLLVM\n"
         "called_from_lib:libEGL_mesa\n"
         "race:swrast_dri.so\n"
         "deadlock:swrast_dri.so\n"
         "deadlock:libLLVM\n"
         "deadlock:libEGL_mesa\n";
}
#endif
