#pragma once

#include "CommonDialogBackend.h"

namespace brixel {

// Qt's print and page-setup dialogs live in a module of their own, loaded the first time one
// of them is shown: the editor seldom prints, and Qt's print support would cost every start
// its loading and linking.
struct PrintDialogFunctions {
  DialogResult (*print)(QWidget* owner, PrintSettings& settings, PrinterProperties& printer);
  DialogResult (*pageSetup)(QWidget* owner, PageSetupSettings& settings);
};

inline constexpr const char* kPrintModuleFile = "brixel-print.so";
// What the module gives; its functions are looked up by this name.
inline constexpr const char* kPrintModuleEntry = "BrixelPrintDialogs";
using PrintModuleEntry = const PrintDialogFunctions* (*)();

// The module's dialogs, from beside this program or where an installation puts it
// (../lib/brixel/plugins from the program's folder); nullptr when neither loads.
const PrintDialogFunctions* LoadPrintDialogs();

}  // namespace brixel
