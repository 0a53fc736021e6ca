// The main window as the window commands see it: its dialogs, choices, list, labels and the
// clipboard, in Qt's terms. Texts and paths come and go as UTF-8.

#include <QBuffer>
#include <QButtonGroup>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QRadioButton>

#include "ui/qt/main_dialog.h"
#include "ui/qt/preview_image.h"
#include "ui/qt/sheet_grid_dialog.h"

namespace quorvel {

namespace {

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

ChosenFile ChosenFileOf(const QString& path) {
    const QFileInfo file(path);
    return {file.absolutePath().toStdString(), file.fileName().toStdString()};
}

std::vector<std::uint8_t> BytesOf(const QByteArray& data) {
    return {data.begin(), data.end()};
}

}  // namespace

std::optional<ChosenFile> MainDialog::ChooseFile(FileKind kind, FileAction action) {
    const QStringList paths = fileDialogs_->Choose({kind, action});
    if (paths.isEmpty() || QFileInfo(paths.constFirst()).fileName().isEmpty()) {
        return std::nullopt;
    }
    return ChosenFileOf(paths.constFirst());
}

std::vector<ChosenFile> MainDialog::ChoosePictures() {
    std::vector<ChosenFile> files;
    for (const QString& path : fileDialogs_->Choose({FileKind::Picture, FileAction::Open, true})) {
        files.push_back(ChosenFileOf(path));
    }
    return files;
}

std::optional<SheetGrid> MainDialog::AskSheetGrid() {
    return quorvel::AskSheetGrid(this);
}

bool MainDialog::AskYesNo(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("quorvel"), Utf8(question),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("question"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void MainDialog::ShowFileError(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("File Error"), Utf8(text),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("fileError"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool MainDialog::EnterFolder(const std::string& folder) {
    return folder.empty() || QDir::setCurrent(Utf8(folder));
}

ConversionMode MainDialog::CheckedMode() const {
    return choice_->checkedId() == static_cast<int>(ConversionMode::Dither)
               ? ConversionMode::Dither
               : ConversionMode::Nearest;
}

void MainDialog::CheckMode(ConversionMode mode) {
    choice_->button(static_cast<int>(mode))->setChecked(true);
}

BlackHandling MainDialog::KeepBlackItem() const {
    return keepBlackAction_->isChecked() ? BlackHandling::KeepVisible : BlackHandling::AsSearched;
}

std::int32_t MainDialog::SelectedLine() const {
    const QModelIndexList selected = list_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

std::string MainDialog::LineText(std::int32_t index) const {
    const QListWidgetItem* item = list_->item(index);
    return item != nullptr ? item->text().toStdString() : std::string();
}

void MainDialog::ClearLines() {
    list_->clear();
}

void MainDialog::AppendLine(const std::string& text) {
    auto* item = new QListWidgetItem(Utf8(text));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    list_->addItem(item);
}

void MainDialog::DeleteLine(std::int32_t index) {
    if (index < 0 || index >= list_->count()) {
        return;
    }
    const bool wasSelected = list_->item(index)->isSelected();
    delete list_->takeItem(index);
    // Qt's list moves the selection to a neighbour of a removed selected line; a line's
    // selection goes with it.
    if (wasSelected) {
        list_->clearSelection();
    }
}

void MainDialog::ReplaceLine(std::int32_t index, const std::string& text) {
    if (QListWidgetItem* item = list_->item(index)) {
        item->setText(Utf8(text));
    }
}

void MainDialog::SelectLine(std::int32_t index) {
    if (index < 0 || index >= list_->count()) {
        list_->clearSelection();
        return;
    }
    list_->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

void MainDialog::SetCountLabel(const std::string& text) {
    countLabel_->setText(Utf8(text));
}

void MainDialog::SetImageLabel(const std::string& text) {
    imageLabel_->setText(Utf8(text));
}

void MainDialog::RequestRepaint() {
    update(PreviewRect());
}

// As an image, which Qt offers to other programs in every format they ask for.
void MainDialog::PutPictureOnClipboard(std::span<const std::uint8_t> bitmapFile) {
    QImage image;
    if (image.loadFromData(bitmapFile.data(), static_cast<int>(bitmapFile.size()), "BMP")) {
        QGuiApplication::clipboard()->setImage(image);
    }
}

// The clipboard's own PNG or bitmap file where it has one, so that a paletted picture keeps its
// indexes; otherwise whatever image Qt makes of it, as PNG, alpha included.
std::vector<std::uint8_t> MainDialog::PictureOnClipboard() {
    const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
    if (offered == nullptr) {
        return {};
    }
    for (const char* type : {"image/png", "image/bmp"}) {
        if (offered->hasFormat(QString::fromLatin1(type))) {
            return BytesOf(offered->data(QString::fromLatin1(type)));
        }
    }
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) {
        return {};
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return BytesOf(png);
}

}  // namespace quorvel
