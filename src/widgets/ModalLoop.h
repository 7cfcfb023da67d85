#pragma once

class QDialog;
class QWidget;

namespace widgets {

// Shows the dialog application-modal and waits until it finishes (accept,
// reject, Escape, the close box). Unlike QDialog::exec, hiding the dialog
// meanwhile does not end the wait: a dialog that hides itself while it
// opens another window comes back and stays modal. Returns the result.
int RunModalLoop(QDialog& dialog);

// Hides the owner while the dialog runs modally and shows it again after,
// also when the run ends by an exception. Returns the dialog's result.
int ShowModalOver(QWidget* owner, QDialog& dialog);

}  // namespace widgets
