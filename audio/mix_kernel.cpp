// mix_kernel.cpp - the table of kernel sets, widest first, and the question which of them this
// processor runs. The answer comes from the processor itself (cpuid), once.
#include "audio/mix_kernel.h"

namespace {

bool Always() { return true; }

#ifdef ZX_MIX_X86
bool HasAvx2() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}
#endif

struct KernelEntry {
  const MixLoops* loops;
  bool (*available)();
};

const KernelEntry kKernels[] = {
#ifdef ZX_MIX_X86
    {&kAvx2MixLoops, HasAvx2},
    {&kSse2MixLoops, Always},
#endif
    {&kScalarMixLoops, Always},
};

const KernelEntry* Find(MixKernel kernel) {
  for (const KernelEntry& e : kKernels) {
    if (e.loops->kernel == kernel) return &e;
  }
  return nullptr;
}

}  // namespace

bool MixKernelAvailable(MixKernel kernel) {
  const KernelEntry* e = Find(kernel);
  return e && e->available();
}

MixKernel BestMixKernel() {
  for (const KernelEntry& e : kKernels) {
    if (e.available()) return e.loops->kernel;
  }
  return MixKernel::kScalar;
}

const MixLoops& MixLoopsFor(MixKernel kernel) {
  const KernelEntry* e = Find(kernel);
  return e && e->available() ? *e->loops : kScalarMixLoops;
}

const char* MixKernelName(MixKernel kernel) {
  switch (kernel) {
    case MixKernel::kScalar:
      return "scalar";
    case MixKernel::kSse2:
      return "sse2";
    case MixKernel::kAvx2:
      return "avx2";
  }
  return "unknown";
}
