#include "FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>

namespace brixel {

FontConfigWarmUp::FontConfigWarmUp() : loader_([] { FcInit(); }) {}

FontConfigWarmUp::~FontConfigWarmUp() { Wait(); }

void FontConfigWarmUp::Wait() {
  if (loader_.joinable()) loader_.join();
}

}  // namespace brixel
