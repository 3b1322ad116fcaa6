#include "XcursorFile.h"

#include <X11/Xcursor/Xcursor.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "AsciiText.h"
#include "Colour.h"
#include "ErrorReport.h"

namespace brixel {
namespace {

// An XcursorFile that writes to memory, so that the file can go through the safe replace.
struct MemoryFile {
  Bytes bytes;
  std::size_t position = 0;
};

int WriteToMemory(XcursorFile* file, unsigned char* buffer, int length) {
  auto* memory = static_cast<MemoryFile*>(file->closure);
  const std::size_t end = memory->position + static_cast<std::size_t>(length);
  if (memory->bytes.size() < end) memory->bytes.resize(end);
  std::memcpy(memory->bytes.data() + memory->position, buffer, static_cast<std::size_t>(length));
  memory->position = end;
  return length;
}

int SeekInMemory(XcursorFile* file, long offset, int whence) {
  auto* memory = static_cast<MemoryFile*>(file->closure);
  const long base = whence == SEEK_CUR ? static_cast<long>(memory->position)
                    : whence == SEEK_END ? static_cast<long>(memory->bytes.size())
                                         : 0;
  if (base + offset < 0) return -1;
  memory->position = static_cast<std::size_t>(base + offset);
  return static_cast<int>(memory->position);
}

int NoRead(XcursorFile*, unsigned char*, int) { return -1; }

// libXcursor is loaded when the first Xcursor file is written: linked, it and the X libraries
// it needs would be loaded at every start of the programs, most of which write none.
struct XcursorLibrary {
  decltype(&XcursorImagesCreate) ImagesCreate = nullptr;
  decltype(&XcursorImagesDestroy) ImagesDestroy = nullptr;
  decltype(&XcursorImageCreate) ImageCreate = nullptr;
  decltype(&XcursorCommentsCreate) CommentsCreate = nullptr;
  decltype(&XcursorCommentsDestroy) CommentsDestroy = nullptr;
  decltype(&XcursorXcFileSave) XcFileSave = nullptr;
};

template <class Function>
void Resolve(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  if (!function) {
    throw BackEndError(static_cast<int>(ErrorCode::FileNotFound),
                       std::string("libXcursor.so.1 has no ") + name);
  }
}

const XcursorLibrary& Xcursor() {
  static const XcursorLibrary library = [] {
    // Never unloaded: it stays for the rest of the run.
    void* handle = dlopen("libXcursor.so.1", RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
      const char* why = dlerror();
      throw BackEndError(static_cast<int>(ErrorCode::FileNotFound),
                         std::string("Xcursor files need libXcursor.so.1: ") + (why ? why : ""));
    }
    XcursorLibrary found;
    Resolve(handle, "XcursorImagesCreate", found.ImagesCreate);
    Resolve(handle, "XcursorImagesDestroy", found.ImagesDestroy);
    Resolve(handle, "XcursorImageCreate", found.ImageCreate);
    Resolve(handle, "XcursorCommentsCreate", found.CommentsCreate);
    Resolve(handle, "XcursorCommentsDestroy", found.CommentsDestroy);
    Resolve(handle, "XcursorXcFileSave", found.XcFileSave);
    return found;
  }();
  return library;
}

struct ImagesDeleter {
  void operator()(XcursorImages* images) const { Xcursor().ImagesDestroy(images); }
};
struct CommentsDeleter {
  void operator()(XcursorComments* comments) const { Xcursor().CommentsDestroy(comments); }
};

std::uint32_t Milliseconds(std::int32_t jiffies) {
  return jiffies <= 0 ? 0 : static_cast<std::uint32_t>((std::int64_t{jiffies} * 1000 + 30) / 60);
}

}  // namespace

std::uint32_t XcursorArgb(const IconImage& image, int x, int y) {
  if (image.Mask.At(x, y) != MaskOpaque) return 0;
  const std::uint32_t alpha = image.CarriesAlpha() ? static_cast<std::uint32_t>(image.Alpha.At(x, y)) & 0xFF : 255;
  const auto colour = static_cast<std::uint32_t>(image.Pixels.At(x, y));
  auto premultiplied = [&](int shift) { return ((colour >> shift) & 0xFF) * alpha / 255; };
  return alpha << 24 | premultiplied(0) << 16 | premultiplied(8) << 8 | premultiplied(16);
}

Bytes BuildXcursorFile(const std::vector<IconImage>& images, const AniInfo* animation) {
  if (images.empty()) Raise(ErrorCode::InvalidArgument);
  std::vector<std::size_t> sizes{images.size()};
  std::vector<AniStep> steps{{0, 0}};
  if (animation) {
    sizes = AniFrameSizes(*animation, images.size());
    steps = AniSteps(*animation, images.size());
  }
  std::vector<std::size_t> firsts{0};
  for (std::size_t size : sizes) firsts.push_back(firsts.back() + size);

  std::size_t count = 0;
  for (const AniStep& step : steps) count += sizes[static_cast<std::size_t>(step.Frame)];
  if (count > INT32_MAX) Raise(ErrorCode::Overflow);
  const std::unique_ptr<XcursorImages, ImagesDeleter> all(Xcursor().ImagesCreate(static_cast<int>(count)));
  if (!all) Raise(ErrorCode::OutOfMemory);
  for (const AniStep& step : steps) {
    const auto frame = static_cast<std::size_t>(step.Frame);
    for (std::size_t i = firsts[frame]; i < firsts[frame + 1]; ++i) {
      const IconImage& image = images[i];
      XcursorImage* shown = Xcursor().ImageCreate(image.Width, image.Height());
      if (!shown) Raise(ErrorCode::OutOfMemory);
      all->images[all->nimage++] = shown;  // owned by all from here on
      shown->size = static_cast<XcursorDim>(image.Width);
      // Xcursor refuses a hot spot outside the image; icon frames carry none of their own.
      shown->xhot = static_cast<XcursorDim>(std::clamp<int>(image.xHotSpot, 0, image.Width - 1));
      shown->yhot = static_cast<XcursorDim>(std::clamp<int>(image.yHotSpot, 0, image.Height() - 1));
      shown->delay = animation ? Milliseconds(step.Rate) : 0;
      for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width; ++x) shown->pixels[y * image.Width + x] = XcursorArgb(image, x, y);
      }
    }
  }
  const std::unique_ptr<XcursorComments, CommentsDeleter> comments(Xcursor().CommentsCreate(0));
  MemoryFile memory;
  XcursorFile file{&memory, NoRead, WriteToMemory, SeekInMemory};
  if (!comments || !Xcursor().XcFileSave(&file, comments.get(), all.get())) Raise(ErrorCode::OutOfMemory);
  return memory.bytes;
}

bool IsXcursorPath(const std::string& path) {
  constexpr std::string_view kExtension = ".XCURSOR";
  return path.size() > kExtension.size() && AsciiUpper(path.substr(path.size() - kExtension.size())) == kExtension;
}

}  // namespace brixel
