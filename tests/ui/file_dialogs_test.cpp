// What the file dialogs offer, and the real dialogs driven as a user would.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/ui/modal_answerer.h"
#include "tests/ui/window_fixture.h"
#include "ui/file_choice.h"
#include "ui/qt_file_dialogs.h"

namespace quorvel::testing {
namespace {

TEST(FileChoice, OffersTheKindsFilterThenAllFiles) {
    EXPECT_EQ(InitialFileName(FileKind::Bitmap), QStringLiteral("*.bmp"));
    EXPECT_EQ(InitialFileName(FileKind::Sprite), QStringLiteral("*.spr"));
    EXPECT_EQ(FilterDescriptions(FileKind::Bitmap),
              (QStringList{"Windows Bitmap (*.BMP)", "All files (*.*)"}));
    EXPECT_EQ(FilterDescriptions(FileKind::Sprite),
              (QStringList{"Creatures Sprite (*.SPR)", "All files (*.*)"}));
}

// The pattern Qt filters by: the last parenthesised part of a filter.
QRegularExpression FilterPattern(const QString& filter) {
    const QString pattern = filter.mid(filter.lastIndexOf(u'(') + 1).chopped(1);
    return QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern));
}

TEST(FileChoice, FiltersMatchExtensionsInAnyCase) {
    const QStringList bitmap = NameFilters(FileKind::Bitmap);
    const QStringList sprite = NameFilters(FileKind::Sprite);
    ASSERT_EQ(bitmap.size(), 2);
    ASSERT_EQ(sprite.size(), 2);
    for (const char* name : {"a.bmp", "B.BMP", "c.Bmp"}) {
        EXPECT_TRUE(FilterPattern(bitmap[0]).match(name).hasMatch()) << name;
    }
    for (const char* name : {"a.bmp.txt", "abmp", "a.spr"}) {
        EXPECT_FALSE(FilterPattern(bitmap[0]).match(name).hasMatch()) << name;
    }
    EXPECT_TRUE(FilterPattern(sprite[0]).match("Norn.SPR").hasMatch());
    // "All files" means every file, also one without a dot.
    EXPECT_TRUE(FilterPattern(bitmap[1]).match("README").hasMatch());
}

TEST(FileChoice, DroppedFilesAreKnownByExtension) {
    EXPECT_EQ(KindOfFileName("/x/a.bmp"), FileKind::Bitmap);
    EXPECT_EQ(KindOfFileName("A.BMP"), FileKind::Bitmap);
    EXPECT_EQ(KindOfFileName("s.Spr"), FileKind::Sprite);
    EXPECT_EQ(KindOfFileName("a.png"), std::nullopt);
    EXPECT_EQ(KindOfFileName("bmp"), std::nullopt);
    EXPECT_EQ(KindOfFileName("a.bmp.txt"), std::nullopt);
}

TEST(FileChoice, SavesRefuseReadOnlyFilesAndFolders) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString writable = folder.filePath("w.bmp");
    const QString readOnly = folder.filePath("r.bmp");
    WriteFile(writable, {1});
    WriteFile(readOnly, {1});
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_TRUE(QDir(folder.path()).mkdir("locked"));
    const QString locked = folder.filePath("locked");
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);

    EXPECT_TRUE(SaveTargetRefusal(writable).isEmpty());
    EXPECT_TRUE(SaveTargetRefusal(folder.filePath("new.bmp")).isEmpty());
    EXPECT_TRUE(SaveTargetRefusal(readOnly).contains("r.bmp"));
    EXPECT_FALSE(SaveTargetRefusal(locked + "/new.bmp").isEmpty());

    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

class RealFileDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        startFolder_ = QDir::currentPath();
        QDir::setCurrent(folder_.path());
    }
    void TearDown() override {
        QDir::setCurrent(startFolder_);
        EXPECT_TRUE(answerer_.allAnswersUsed());
    }
    // An answer that picks `path` in the file dialog.
    static ModalAnswerer::Answer Select(const QString& path) {
        return [path](QWidget* window) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            // Typed into the name box, as a user would.
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            static_cast<QDialog*>(dialog)->accept();  // as the Open or Save button does
        };
    }
    QStringList SeenClasses() const {
        QStringList classes;
        for (const SeenWindow& seen : answerer_.seen()) {
            classes.push_back(seen.className);
        }
        return classes;
    }

    QTemporaryDir folder_;
    QString startFolder_;
    ModalAnswerer answerer_;
    QtFileDialogs dialogs_{nullptr};
};

TEST_F(RealFileDialogs, OpenInTheWorkingFolderWithTheKindsNameAndFilters) {
    answerer_.Then([this](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(QFileInfo(dialog->directory().path()).canonicalFilePath(),
                  QFileInfo(folder_.path()).canonicalFilePath());
        EXPECT_EQ(dialog->findChild<QLineEdit*>("fileNameEdit")->text(), QStringLiteral("*.spr"));
        const auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        QStringList shown;
        for (int i = 0; i < types->count(); ++i) {
            shown.push_back(types->itemText(i));
        }
        EXPECT_EQ(shown, FilterDescriptions(FileKind::Sprite));
        EXPECT_TRUE(dialog->defaultSuffix().isEmpty());
        Dismiss(dialog);
    });
    EXPECT_TRUE(dialogs_.Choose({FileKind::Sprite, FileAction::Open}).isEmpty());
}

TEST_F(RealFileDialogs, OpenTakesAReadOnlyFile) {
    const QString path = folder_.filePath("kept.bmp");
    WriteFile(path, {1});
    QFile::setPermissions(path, QFile::ReadOwner);
    answerer_.Then(Select(path));
    EXPECT_EQ(dialogs_.Choose({FileKind::Bitmap, FileAction::Open}), path);
}

TEST_F(RealFileDialogs, SaveRefusesAReadOnlyFileAndAsksAgain) {
    const QString readOnly = folder_.filePath("kept.bmp");
    WriteFile(readOnly, {1});
    QFile::setPermissions(readOnly, QFile::ReadOwner);
    const QString fresh = folder_.filePath("fresh.bmp");
    answerer_.Then(Select(readOnly));
    answerer_.Then(Dismiss);  // the refusal
    answerer_.Then(Select(fresh));

    EXPECT_EQ(dialogs_.Choose({FileKind::Bitmap, FileAction::Save}), fresh);
    EXPECT_EQ(SeenClasses(), (QStringList{"QFileDialog", "QMessageBox", "QFileDialog"}));
    EXPECT_EQ(ReadFile(readOnly), std::vector<std::uint8_t>{1});
}

TEST_F(RealFileDialogs, SaveAsksBeforeReplacingAFile) {
    const QString existing = folder_.filePath("old.spr");
    WriteFile(existing, {1});
    answerer_.Then(Select(existing));
    answerer_.Then([](QWidget* box) { ClickButton(box, QStringLiteral("No")); });
    answerer_.Then(Select(existing));
    answerer_.Then([](QWidget* box) { ClickButton(box, QStringLiteral("Yes")); });

    EXPECT_EQ(dialogs_.Choose({FileKind::Sprite, FileAction::Save}), existing);
    EXPECT_EQ(SeenClasses(),
              (QStringList{"QFileDialog", "QMessageBox", "QFileDialog", "QMessageBox"}));
    EXPECT_TRUE(answerer_.seen()[1].text.contains("old.spr"));
}

TEST_F(RealFileDialogs, CancelGivesAnEmptyName) {
    answerer_.Then(Dismiss);
    EXPECT_TRUE(dialogs_.Choose({FileKind::Bitmap, FileAction::Save}).isEmpty());
}

}  // namespace
}  // namespace quorvel::testing
