// stream_factory.h - opening streams by URL.
//
// A URL is a file path, or "protocol::path". Each protocol is served by a factory; the factories
// form a chain, newest first, and the first that answers wins. The memory-stream factory serves
// "incbin::name" for files embedded in the executable (incbin.h), read-only. Nothing here throws:
// what cannot be opened gives null.
//
//   Ref<TStream> s = ReadFile("data\\hiscore.dat");   // null when missing
//   if (s) { int best = ReadInt(s); CloseStream(s); }
#pragma once

#include <string>
#include <vector>

#include "core/stream.h"

class TStreamFactory : public TObject {
 public:
  // Links the new factory at the head of the program-wide chain.
  TStreamFactory();
  ~TStreamFactory() override;
  // `protocol` is in lower case; `path` is what followed "::".
  virtual Ref<TStream> CreateStream(const std::string& url, const std::string& protocol,
                                    const std::string& path, bool readable, bool writeable) = 0;

  TStreamFactory* _succ = nullptr;
};

class TRamStreamFactory : public TStreamFactory {
 public:
  Ref<TStream> CreateStream(const std::string& url, const std::string& protocol,
                            const std::string& path, bool readable, bool writeable) override;
};

Ref<TStream> StreamFromUrl(const std::string& url, bool readable, bool writeable);
// A stream given where a URL is expected is wrapped, so that closing the result closes it.
Ref<TStream> StreamFromUrl(const Ref<TStream>& url, bool readable, bool writeable);

// As StreamFromUrl, but a stream that cannot tell its position is read whole into memory first.
Ref<TStream> OpenFile(const std::string& url, bool readable = true, bool writeable = true);
Ref<TStream> OpenFile(const Ref<TStream>& url, bool readable = true, bool writeable = true);
inline Ref<TStream> ReadFile(const std::string& url) { return OpenFile(url, true, false); }
inline Ref<TStream> WriteFile(const std::string& url) { return OpenFile(url, false, true); }
inline Ref<TStream> ReadFile(const Ref<TStream>& url) { return OpenFile(url, true, false); }

inline void CloseStream(const Ref<TStream>& stream) { stream->Close(); }
inline std::int32_t ReadInt(const Ref<TStream>& stream) { return stream->ReadInt(); }
inline void WriteInt(const Ref<TStream>& stream, std::int32_t value) { stream->WriteInt(value); }

// Reads everything from the stream's position to its end.
std::vector<unsigned char> ReadAllBytes(TStream& stream);

// 0 when nothing is at `path`, 1 for a file, 2 for a directory. "\" separates folders too.
int FileType(const std::string& path);
