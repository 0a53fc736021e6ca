#include "ui/qt/qt_file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace quorvel {

namespace {

bool ConfirmReplace(QWidget* parent, const QFileInfo& target) {
    QMessageBox box(
        QMessageBox::Warning, QStringLiteral("Confirm Save As"),
        QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(target.fileName()),
        QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// Which of `filters` is chosen; the dialog names it without the patterns it hides.
qsizetype ChosenFilter(const QFileDialog& dialog, const QStringList& filters) {
    const QString shown = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < filters.size(); ++i) {
        if (filters[i] == shown || filters[i].startsWith(shown + u' ')) {
            return i;
        }
    }
    return -1;
}

}  // namespace

QStringList QtFileDialogs::Choose(const FileChoice& choice) {
    const bool opening = choice.action == FileAction::Open;
    QString folder = QDir::currentPath();
    QString name = InitialFileName(choice.kind);

    // A refused or unconfirmed save target brings the dialog back, at the same place.
    for (;;) {
        QFileDialog dialog(parent_);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        // Replacing is confirmed below, after the read-only check, so nobody is asked whether
        // to replace a file that then cannot be written.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setAcceptMode(opening ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(!opening      ? QFileDialog::AnyFile
                           : choice.many ? QFileDialog::ExistingFiles
                                         : QFileDialog::ExistingFile);
        dialog.setNameFilters(NameFilters(choice.kind));
        dialog.setDirectory(folder);
        dialog.selectFile(name);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return {};
        }
        if (opening) {
            return dialog.selectedFiles();
        }
        const QString path = WithChosenExtension(choice.kind, dialog.selectedFiles().constFirst(),
                                                 ChosenFilter(dialog, NameFilters(choice.kind)));
        const QFileInfo target(path);
        folder = target.absolutePath();
        name = target.fileName();
        if (const QString refusal = SaveTargetRefusal(path); !refusal.isEmpty()) {
            QMessageBox::warning(parent_, QStringLiteral("Save As"), refusal);
            continue;
        }
        if (target.exists() && !ConfirmReplace(parent_, target)) {
            continue;
        }
        return {path};
    }
}

}  // namespace quorvel
