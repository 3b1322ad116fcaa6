#include "ThumbnailCommand.h"

#include <charconv>
#include <new>

#include "Commands.h"
#include "PngCodec.h"
#include "Thumbnail.h"
#include "TrapErrors.h"

namespace brixel::cli {
namespace {

bool ParseSize(const std::string& text, int& size) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, size);
  return error == std::errc() && stop == end && size >= 1 && size <= kLargestThumbnail;
}

}  // namespace

int Thumbnail(const std::vector<std::string>& args, std::ostream& err) {
  if (args.size() != 3) {
    err << "brixel-cli: thumbnail takes IN, OUT and SIZE\n";
    return kExitUsage;
  }
  const std::string& in = args[0];
  const std::string& out = args[1];
  int size = 0;
  if (!ParseSize(args[2], size)) {
    err << "brixel-cli: thumbnail: SIZE is a number from 1 to " << kLargestThumbnail << '\n';
    return kExitUsage;
  }
  // Everything is made in memory first; the file is written only when all of it succeeded.
  const std::string* failing = &in;
  try {
    const std::vector<IconImage> images = ShownImages(ReadWholeFile(in));
    if (images.empty()) {
      err << "brixel-cli: " << in << ": holds no image that can be shown\n";
      return kExitFailure;
    }
    const RgbaPicture thumbnail = MakeThumbnail(images[ThumbnailImageIndex(images, size)], size);
    const Bytes png = EncodePng(thumbnail.Width, thumbnail.Height, thumbnail.Rgba);
    failing = &out;
    WriteFileReplacing(out, png);
  } catch (const BackEndError& e) {
    err << "brixel-cli: " << *failing << ": " << e.Description() << '\n';
    return kExitFailure;
  } catch (const ReportedFailure&) {
    err << "brixel-cli: " << *failing << ": cannot be read\n";
    return kExitFailure;
  } catch (const std::bad_alloc&) {
    err << "brixel-cli: " << *failing << ": not enough memory\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace brixel::cli
