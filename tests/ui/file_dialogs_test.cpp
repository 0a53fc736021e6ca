// The Qt file dialogs behind the commands, driven as a user would drive them.

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>

#include "tests/ui/window_fixture.h"
#include "ui/qt_file_dialogs.h"

namespace quorvel::testing {
namespace {

class FileDialogsTest : public WindowTest {
  protected:
    // Types `path` into the dialog's name box and accepts, as the Open or Save button does.
    static ModalAnswerer::Answer Select(const QString& path) {
        return [path](QWidget* window) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        };
    }
    QtFileDialogs qtDialogs_{nullptr};
};

TEST_F(FileDialogsTest, OpenTakesAReadOnlyFileAndCancelGivesNoName) {
    answerer_.Then(Dismiss);
    EXPECT_TRUE(qtDialogs_.Choose({FileKind::Bitmap, FileAction::Open}).isEmpty());
    WriteFile(PathOf("kept.bmp"), {1});
    QFile::setPermissions(PathOf("kept.bmp"), QFile::ReadOwner);
    answerer_.Then(Select(PathOf("kept.bmp")));
    EXPECT_EQ(qtDialogs_.Choose({FileKind::Bitmap, FileAction::Open}), PathOf("kept.bmp"));
}

TEST_F(FileDialogsTest, SaveRefusesReadOnlyTargetsAndConfirmsReplacing) {
    ASSERT_TRUE(QDir().mkdir(PathOf("locked")));
    QFile::setPermissions(PathOf("locked"), QFile::ReadOwner | QFile::ExeOwner);
    WriteFile(PathOf("kept.spr"), {1});
    QFile::setPermissions(PathOf("kept.spr"), QFile::ReadOwner);
    WriteFile(PathOf("old.spr"), {1});
    for (const QString& refused : {PathOf("locked/new.spr"), PathOf("kept.spr")}) {
        answerer_.Then(Select(refused));
        answerer_.Then(Dismiss);
    }
    answerer_.Then(Select(PathOf("old.spr")));
    answerer_.ThenPress(QMessageBox::No);
    answerer_.Then(Select(PathOf("old.spr")));
    answerer_.ThenPress(QMessageBox::Yes);

    EXPECT_EQ(qtDialogs_.Choose({FileKind::Sprite, FileAction::Save}), PathOf("old.spr"));
    ASSERT_EQ(answerer_.seen.size(), 8);  // four times the dialog and a message box
    EXPECT_TRUE(answerer_.seen[1].startsWith("Save As: new.spr cannot be saved in"));
    EXPECT_EQ(answerer_.seen[3], "Save As: kept.spr is read-only.\nChoose another name.");
    EXPECT_TRUE(answerer_.seen[5].startsWith("Confirm Save As: old.spr already exists."));
}

}  // namespace
}  // namespace quorvel::testing
