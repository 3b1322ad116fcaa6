#pragma once

#include <QDialog>
#include <cstdint>

#include "CommonDialogBackend.h"
#include "Version.h"

namespace brixel {

// Whether a dialog's exec() ended with its OK button: the answer every common dialog starts from.
inline bool Accepted(int code) { return code == QDialog::Accepted; }

// Qt's print and page-setup dialogs live in a module of their own, loaded the first time one
// of them is shown: the editor seldom prints, and Qt's print support would cost every start
// its loading and linking.
struct PrintDialogFunctions {
  DialogResult (*print)(QWidget* owner, PrintSettings& settings, PrinterProperties& printer);
  DialogResult (*pageSetup)(QWidget* owner, PageSetupSettings& settings);
};

inline constexpr const char* kPrintModuleFile = "brixel-print.so";
// What the module gives; its functions are looked up by this name. It gives them only to a
// program of its own version: one installed over the running program may lay out the settings
// otherwise.
inline constexpr const char* kPrintModuleEntry = "BrixelPrintDialogs";
inline constexpr std::uint64_t kPrintModuleVersion =
    std::uint64_t{kVersionMajor} << 32 | std::uint64_t{kVersionMinor} << 16 | std::uint64_t{kVersionRevision};
using PrintModuleEntry = const PrintDialogFunctions* (*)(std::uint64_t version);

// The module's dialogs, from beside this program or where an installation puts it
// (../lib/brixel/plugins from the program's folder); nullptr when neither loads or when the
// module is of another version.
const PrintDialogFunctions* LoadPrintDialogs();

}  // namespace brixel
