// stream_factory.cpp - the factory chain, URL splitting and the file helpers.
#include "core/stream_factory.h"

#include <sys/stat.h>

#include <vector>

#include "core/cstream.h"
#include "core/incbin.h"
#include "core/ramstream.h"

namespace {

constinit TStreamFactory* chain = nullptr;

// The memory-stream factory exists as soon as the stream layer does.
TRamStreamFactory& RamFactory() {
  static TRamStreamFactory* factory = [] {
    auto* f = new TRamStreamFactory;
    f->Retain();  // lives for the whole program
    return f;
  }();
  return *factory;
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

Ref<TStream> InMemoryIfBlind(Ref<TStream> stream) {
  if (!stream || stream->Pos() != -1) return stream;
  try {
    std::vector<unsigned char> bytes = ReadAllBytes(*stream);
    stream->Close();
    return TRamStream::CreateOwning(std::move(bytes), true, false);
  } catch (const TRuntimeError&) {
    return nullptr;  // opening fails softly, even when the stream cannot be read
  }
}

}  // namespace

TStreamFactory::TStreamFactory() {
  _succ = chain;
  chain = this;
}

TStreamFactory::~TStreamFactory() {
  for (TStreamFactory** p = &chain; *p; p = &(*p)->_succ) {
    if (*p == this) {
      *p = _succ;
      break;
    }
  }
}

Ref<TStream> TRamStreamFactory::CreateStream(const std::string&, const std::string& protocol,
                                             const std::string& path, bool readable,
                                             bool writeable) {
  if (protocol != "incbin" || writeable) return nullptr;
  IncbinFile file = FindIncbin(path);
  if (!file.bytes) return nullptr;
  return TRamStream::Create(const_cast<unsigned char*>(file.bytes),
                            static_cast<std::int64_t>(file.size), readable, false);
}

Ref<TStream> StreamFromUrl(const Ref<TStream>& url, bool, bool) {
  if (!url) return nullptr;
  return New<TStreamWrapper>(url);
}

Ref<TStream> StreamFromUrl(const std::string& url, bool readable, bool writeable) {
  std::size_t sep = url.find("::");
  if (sep == std::string::npos) return TCStream::OpenFile(url, readable, writeable);
  RamFactory();
  std::string protocol = AsciiLower(url.substr(0, sep));
  std::string path = url.substr(sep + 2);
  for (TStreamFactory* f = chain; f; f = f->_succ) {
    if (Ref<TStream> s = f->CreateStream(url, protocol, path, readable, writeable)) return s;
  }
  return nullptr;
}

Ref<TStream> OpenFile(const std::string& url, bool readable, bool writeable) {
  return InMemoryIfBlind(StreamFromUrl(url, readable, writeable));
}

Ref<TStream> OpenFile(const Ref<TStream>& url, bool readable, bool writeable) {
  return InMemoryIfBlind(StreamFromUrl(url, readable, writeable));
}

std::vector<unsigned char> ReadAllBytes(TStream& stream) {
  std::vector<unsigned char> bytes;
  unsigned char chunk[16384];
  for (;;) {
    std::int64_t n = stream.Read(chunk, sizeof chunk);
    if (n <= 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  return bytes;
}

int FileType(const std::string& path) {
  struct stat info;
  if (::stat(PortablePath(path).c_str(), &info) != 0) return 0;
  if (S_ISREG(info.st_mode)) return 1;
  if (S_ISDIR(info.st_mode)) return 2;
  return 0;
}
