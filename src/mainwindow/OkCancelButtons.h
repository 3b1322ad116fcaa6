#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace brixel {

// The OK (CmdOK, the default button) and Cancel (CmdCancel) buttons of a dialog: OK runs
// confirm, Cancel rejects the dialog.
template <class Dialog>
QDialogButtonBox* OkCancelButtons(Dialog* dialog, void (Dialog::*confirm)()) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok->setObjectName("CmdOK");
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
  cancel->setObjectName("CmdCancel");
  QObject::connect(ok, &QPushButton::clicked, dialog, confirm);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace brixel
