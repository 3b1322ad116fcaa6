#include "PrintDialogs.h"

#include <QCoreApplication>
#include <QLibrary>

namespace brixel {

const PrintDialogFunctions* LoadPrintDialogs() {
  // Once: a module that would not load will not load the second time either.
  static const PrintDialogFunctions* const loaded = []() -> const PrintDialogFunctions* {
    const QString folder = QCoreApplication::applicationDirPath();
    const QString file = QString::fromLatin1(kPrintModuleFile);
    for (const QString& candidate : {folder + '/' + file, folder + "/../lib/brixel/plugins/" + file}) {
      QLibrary module(candidate);
      // Kept loaded to the end: its functions are handed out.
      if (!module.load()) continue;
      // One of another version (left beside the program by an older build) gives way to the next.
      const auto entry = reinterpret_cast<PrintModuleEntry>(module.resolve(kPrintModuleEntry));
      if (const PrintDialogFunctions* dialogs = entry ? entry(kPrintModuleVersion) : nullptr) return dialogs;
      module.unload();
    }
    return nullptr;
  }();
  return loaded;
}

}  // namespace brixel
