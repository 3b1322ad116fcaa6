#include "CommonDialogBackend.h"

#include "QtCommonDialogBackend.h"

namespace brixel {
namespace {

CommonDialogBackend* g_backend = nullptr;

}  // namespace

void InstallCommonDialogBackend(CommonDialogBackend* backend) { g_backend = backend; }

CommonDialogBackend& CurrentCommonDialogBackend() {
  static QtCommonDialogBackend qtDialogs;
  return g_backend ? *g_backend : qtDialogs;
}

}  // namespace brixel
