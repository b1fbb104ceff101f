// Fuzzes the typed reads of the stream layer over arbitrary bytes: the first bytes choose a
// sequence of operations, the rest is the stream's content.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/ramstream.h"
#include "core/stream_factory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  std::size_t ops = data[0] % 32;
  if (ops + 1 > size) return 0;
  const std::uint8_t* script = data + 1;
  std::vector<unsigned char> content(data + 1 + ops, data + size);
  Ref<TStream> s = OpenFile(
      TRamStream::Create(content.data(), static_cast<std::int64_t>(content.size()), true, false),
      true, false);
  if (!s) return 0;
  try {
    for (std::size_t i = 0; i < ops; ++i) {
      switch (script[i] % 10) {
        case 0:
          s->ReadByte();
          break;
        case 1:
          s->ReadShort();
          break;
        case 2:
          s->ReadInt();
          break;
        case 3:
          s->ReadLong();
          break;
        case 4:
          s->ReadFloat();
          break;
        case 5:
          s->ReadDouble();
          break;
        case 6:
          s->ReadLine();
          break;
        case 7:
          s->ReadString(script[i] / 10);
          break;
        case 8:
          s->Seek(static_cast<std::int64_t>(script[i]) - 128);
          break;
        case 9:
          s->SkipBytes(script[i] / 10);
          break;
      }
      if (s->Pos() < 0 || s->Pos() > s->Size()) __builtin_trap();
    }
  } catch (const TStreamException&) {
    // a failed read is a reported error, not a fault
  }
  CloseStream(s);
  return 0;
}
