#include "ui/qt/sheet_grid_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "ui/qt/dialog_units.h"

namespace quorvel {

namespace {

QSpinBox* NumberField(QWidget* parent, const QString& name, const QRect& place) {
    auto* field = new QSpinBox(parent);
    field->setObjectName(name);
    field->setRange(1, static_cast<int>(kLargestSheetGrid));
    field->setValue(1);
    field->setGeometry(place);
    return field;
}

QPushButton* Button(QWidget* parent, const QString& text, const QString& name, const QRect& place) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

}  // namespace

SheetGridDialog::SheetGridDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("sheetGrid"));
    setWindowTitle(QStringLiteral("Sheet Grid"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    const BaseUnits base = BaseUnitsOf(font());
    setFixedSize(DialogSize(153, 46, base));

    // Left, top, width and height in dialog units.
    auto* columnsLabel = new QLabel(QStringLiteral("&Columns:"), this);
    columnsLabel->setGeometry(DialogRect(7, 9, 40, 8, base));
    columns_ = NumberField(this, QStringLiteral("columns"), DialogRect(50, 7, 40, 12, base));
    columnsLabel->setBuddy(columns_);
    auto* rowsLabel = new QLabel(QStringLiteral("&Rows:"), this);
    rowsLabel->setGeometry(DialogRect(7, 27, 40, 8, base));
    rows_ = NumberField(this, QStringLiteral("rows"), DialogRect(50, 25, 40, 12, base));
    rowsLabel->setBuddy(rows_);

    QPushButton* ok =
        Button(this, QStringLiteral("OK"), QStringLiteral("ok"), DialogRect(96, 7, 50, 14, base));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* cancel = Button(this, QStringLiteral("Cancel"), QStringLiteral("cancel"),
                                 DialogRect(96, 24, 50, 14, base));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

SheetGrid SheetGridDialog::grid() const {
    return {static_cast<std::uint32_t>(columns_->value()),
            static_cast<std::uint32_t>(rows_->value())};
}

std::optional<SheetGrid> AskSheetGrid(QWidget* parent) {
    SheetGridDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.grid();
}

}  // namespace quorvel
