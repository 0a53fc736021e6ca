// The window services as the main window provides them. Every call acts on the one
// MainDialog; before it exists (or after it is gone) the list and labels have nowhere to go
// and their calls do nothing, while a file error is still shown.

#include "core/window_services.h"

#include <QMessageBox>

#include "ui/main_dialog.h"

namespace quorvel {

namespace {

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void ShowFileError(const std::string& text) {
    // Over the main window, so window managers keep it in front of it.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("File Error"), Utf8(text),
                    QMessageBox::Ok, MainDialog::Instance());
    box.setObjectName(QStringLiteral("fileError"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void RequestRepaint() {
    if (MainDialog* window = MainDialog::Instance()) {
        window->RequestRepaint();
    }
}

std::int32_t GetSelectedLine() {
    MainDialog* window = MainDialog::Instance();
    return window != nullptr ? window->SelectedLine() : -1;
}

void ClearLines() {
    if (MainDialog* window = MainDialog::Instance()) {
        window->ClearLines();
    }
}

void AppendLine(const std::string& text) {
    if (MainDialog* window = MainDialog::Instance()) {
        window->AppendLine(Utf8(text));
    }
}

void DeleteLine(std::int32_t index) {
    if (MainDialog* window = MainDialog::Instance()) {
        window->DeleteLine(index);
    }
}

void SelectLine(std::int32_t index) {
    if (MainDialog* window = MainDialog::Instance()) {
        window->SelectLine(index);
    }
}

void SetCountLabel(const std::string& text) {
    if (MainDialog* window = MainDialog::Instance()) {
        window->SetCountLabel(Utf8(text));
    }
}

void SetImageLabel(const std::string& text) {
    if (MainDialog* window = MainDialog::Instance()) {
        window->SetImageLabel(Utf8(text));
    }
}

void RefreshChoice() {
    if (MainDialog* window = MainDialog::Instance()) {
        window->RefreshChoice();
    }
}

}  // namespace quorvel
