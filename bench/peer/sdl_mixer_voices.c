/* sdl_mixer_voices.c - the peer figure for bench_mixer's BM_256Voices: SDL_mixer mixing N looping
 * 16-bit stereo chunks at their own rate (no resampling) into 44100 Hz 16-bit stereo, through
 * SDL's disk audio driver writing to /dev/null as fast as it can (no pacing delay).
 *
 *   sdl_mixer_voices [--voices N] [--seconds S]      (defaults: 256 voices, 2 seconds)
 *
 * Prints one line: voices, output frames mixed, CPU seconds of the whole process and million
 * voice-frames per CPU second (voices x frames / CPU seconds), the unit bench_mixer reports.
 * Only SDL_mixer's and SDL's public API; needs libsdl2-mixer-dev (scripts/install-deps.sh
 * peer). scripts/mixer-peer-bench.sh builds and runs it. */
#include <SDL.h>
#include <SDL_mixer.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

enum { kRate = 44100, kBlockFrames = 512, kChunkFrames = 44100 };

/* Output frames mixed so far: written by SDL's audio thread, read by the main thread. */
static atomic_llong frames_mixed;

static void CountFrames(void* unused, Uint8* stream, int bytes) {
  (void)unused;
  (void)stream;
  atomic_fetch_add(&frames_mixed, bytes / 4);
}

static double CpuSeconds(void) {
  struct timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
  int voices = 256;
  double seconds = 2.0;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--voices") == 0 && i + 1 < argc) {
      voices = atoi(argv[++i]);
    } else if (strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = atof(argv[++i]);
    } else {
      fprintf(stderr, "usage: sdl_mixer_voices [--voices N] [--seconds S]\n");
      return 2;
    }
  }
  if (voices < 1 || seconds <= 0) {
    fprintf(stderr, "sdl_mixer_voices: voices and seconds must be positive\n");
    return 2;
  }

  SDL_setenv("SDL_AUDIODRIVER", "disk", 1);
  SDL_setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  SDL_setenv("SDL_DISKAUDIODELAY", "0", 1);
  if (SDL_Init(SDL_INIT_AUDIO) != 0) {
    fprintf(stderr, "sdl_mixer_voices: SDL_Init: %s\n", SDL_GetError());
    return 1;
  }
  if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kBlockFrames) != 0) {
    fprintf(stderr, "sdl_mixer_voices: Mix_OpenAudio: %s\n", Mix_GetError());
    SDL_Quit();
    return 1;
  }
  int rate = 0, channels = 0;
  Uint16 format = 0;
  Mix_QuerySpec(&rate, &format, &channels);
  if (rate != kRate || format != AUDIO_S16SYS || channels != 2) {
    fprintf(stderr, "sdl_mixer_voices: the device opened as %d Hz, format %#x, %d channels\n", rate,
            format, channels);
    Mix_CloseAudio();
    SDL_Quit();
    return 1;
  }

  /* One second of 16-bit stereo data, the same byte pattern as bench_mixer's. */
  const size_t bytes = (size_t)kChunkFrames * 4;
  Uint8* pcm = malloc(bytes);
  if (!pcm) return 1;
  for (size_t i = 0; i < bytes; ++i) pcm[i] = (Uint8)(i * 31);
  Mix_Chunk* chunk = Mix_QuickLoad_RAW(pcm, (Uint32)bytes);
  if (!chunk) {
    fprintf(stderr, "sdl_mixer_voices: Mix_QuickLoad_RAW: %s\n", Mix_GetError());
    return 1;
  }

  Mix_AllocateChannels(voices);
  Mix_SetPostMix(CountFrames, NULL);
  Mix_Pause(-1);
  for (int i = 0; i < voices; ++i) {
    if (Mix_PlayChannel(i, chunk, -1) != i) {
      fprintf(stderr, "sdl_mixer_voices: Mix_PlayChannel(%d): %s\n", i, Mix_GetError());
      return 1;
    }
  }
  Mix_Volume(-1, MIX_MAX_VOLUME / 4); /* bench_mixer's voices play at 0.25 */
  Mix_Resume(-1);

  SDL_Delay(300); /* past the start */
  const long long frames0 = atomic_load(&frames_mixed);
  const double cpu0 = CpuSeconds();
  SDL_Delay((Uint32)(seconds * 1000));
  const long long frames1 = atomic_load(&frames_mixed);
  const double cpu1 = CpuSeconds();
  const int playing = Mix_Playing(-1);

  Mix_HaltChannel(-1);
  Mix_CloseAudio();
  Mix_FreeChunk(chunk);
  free(pcm);
  SDL_Quit();

  if (playing != voices) {
    fprintf(stderr, "sdl_mixer_voices: only %d of %d voices were playing\n", playing, voices);
    return 1;
  }
  const double frames = (double)(frames1 - frames0), cpu = cpu1 - cpu0;
  if (frames <= 0 || cpu <= 0) {
    fprintf(stderr, "sdl_mixer_voices: nothing was mixed\n");
    return 1;
  }
  printf("voices %d frames %.0f cpu_seconds %.3f voice_frames_per_s %.1fM\n", voices, frames, cpu,
         voices * frames / cpu / 1e6);
  return 0;
}
