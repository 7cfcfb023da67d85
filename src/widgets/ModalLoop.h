#pragma once

class QDialog;

namespace widgets {

// Shows the dialog application-modal and waits until it finishes (accept,
// reject, Escape, the close box). Unlike QDialog::exec, hiding the dialog
// meanwhile does not end the wait: a dialog that hides itself while it
// opens another window comes back and stays modal. Returns the result.
int RunModalLoop(QDialog& dialog);

}  // namespace widgets
