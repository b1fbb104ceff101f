// sanitizer.h - whether the tests run under the thread sanitizer, where Mesa's software OpenGL
// (not instrumented, and many times slower) makes long games on OpenGL impractical: the parts of
// a test that play them on OpenGL are left to the other builds.
#pragma once

#if defined(__SANITIZE_THREAD__)
inline constexpr bool kThreadSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
inline constexpr bool kThreadSanitizer = true;
#else
inline constexpr bool kThreadSanitizer = false;
#endif
#else
inline constexpr bool kThreadSanitizer = false;
#endif
