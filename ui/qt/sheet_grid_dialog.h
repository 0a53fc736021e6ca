#pragma once
// "Sheet Grid": asks how many columns and rows of frames a sheet holds when nothing beside the
// picture or in its corner says so. Laid out in dialog units as the Windows window's template.

#include <QDialog>
#include <optional>

#include "ui/commands/window_port.h"

class QSpinBox;

namespace quorvel {

class SheetGridDialog : public QDialog {
    Q_OBJECT

  public:
    explicit SheetGridDialog(QWidget* parent);
    SheetGrid grid() const;

  private:
    QSpinBox* columns_ = nullptr;
    QSpinBox* rows_ = nullptr;
};

// Runs the dialog modally; the grid, or nothing when the user cancelled.
std::optional<SheetGrid> AskSheetGrid(QWidget* parent);

}  // namespace quorvel
