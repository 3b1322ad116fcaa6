#include "ThumbnailCommand.h"

#include "AsciiText.h"
#include "Commands.h"
#include "FileFailure.h"
#include "PngCodec.h"
#include "Thumbnail.h"

namespace brixel::cli {

int Thumbnail(const std::vector<std::string>& args, std::ostream& err) {
  if (args.size() != 3) {
    err << "brixel-cli: thumbnail takes IN, OUT and SIZE\n";
    return kExitUsage;
  }
  const std::string& in = args[0];
  const std::string& out = args[1];
  const int size = WholeNumber(args[2]).value_or(0);
  if (size < 1 || size > kLargestThumbnail) {
    err << "brixel-cli: thumbnail: SIZE is a number from 1 to " << kLargestThumbnail << '\n';
    return kExitUsage;
  }
  // Everything is made in memory first; the file is written only when all of it succeeded.
  Bytes png;
  bool shown = true;
  const bool read = RunOnFile(in, "read", err, [&] {
    const std::vector<IconImage> images = ThumbnailImages(ReadWholeFile(in), size);
    if (images.empty()) {
      shown = false;
      return;
    }
    const RgbaPicture thumbnail = MakeThumbnail(images[ThumbnailImageIndex(images, size)], size);
    png = EncodePng(thumbnail.Width, thumbnail.Height, thumbnail.Rgba);
  });
  if (!read) return kExitFailure;
  if (!shown) {
    err << "brixel-cli: " << in << ": holds no image that can be shown\n";
    return kExitFailure;
  }
  return RunOnFile(out, "written", err, [&] { WriteFileReplacing(out, png); }) ? kExitOk
                                                                            : kExitFailure;
}

}  // namespace brixel::cli
