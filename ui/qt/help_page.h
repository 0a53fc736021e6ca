#pragma once

class QWidget;

namespace quorvel {

// Shows how to use the tool in a modal window over `parent`; returns when it is closed.
void ShowHelpPage(QWidget* parent);

}  // namespace quorvel
