/* disk_audio_unbuffered.c - an LD_PRELOAD shim for click-to-sound measurements: the file SDL's
 * disk audio driver opens (SDL_DISKAUDIOFILE) is made unbuffered, so that every buffer SDL hands
 * to its "card" reaches the file at that moment rather than when 4 KiB of stdio buffer fill up.
 * Needs a C compiler and libdl; measure-click-to-sound.sh builds it in its scratch folder. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static FILE* Unbuffered(FILE* file, const char* path) {
  const char* wanted = getenv("SDL_DISKAUDIOFILE");
  if (file && path && wanted && strcmp(path, wanted) == 0) setvbuf(file, NULL, _IONBF, 0);
  return file;
}

FILE* fopen(const char* path, const char* mode) {
  FILE* (*real)(const char*, const char*) =
      (FILE * (*)(const char*, const char*)) dlsym(RTLD_NEXT, "fopen");
  return Unbuffered(real(path, mode), path);
}

FILE* fopen64(const char* path, const char* mode) {
  FILE* (*real)(const char*, const char*) =
      (FILE * (*)(const char*, const char*)) dlsym(RTLD_NEXT, "fopen64");
  return Unbuffered(real(path, mode), path);
}
