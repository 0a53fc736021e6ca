// The window as a whole: its template, keyboard, window menu, About box, help and the
// file-error box.

#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include "core/window_services.h"
#include "tests/ui/window_fixture.h"
#include "ui/dialog_units.h"
#include "ui/preview_image.h"

namespace quorvel::testing {
namespace {

using MainWindow = WindowTest;
using WindowMenu = WindowTest;
using Keyboard = WindowTest;

TEST_F(MainWindow, HasTheCaptionAFixedSizeAndAMinimiseBox) {
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("quorvel 1.1"));
    const QSize size = DialogSize(287, 161, window_->baseUnits());
    EXPECT_EQ(window_->minimumSize(), size);
    EXPECT_EQ(window_->maximumSize(), size);
    EXPECT_TRUE(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window_->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window_->windowIcon().isNull());
}

TEST_F(MainWindow, ShowsTheTextsOfItsControls) {
    const std::pair<const char*, const char*> texts[] = {
        {"nearestColor", "Nearest Color"},
        {"diffusionDither", "Diffusion Dither"},
        {"spriteHeading", "SPR File"},
        {"countLabel", "0 images"},
        {"copySprite", "<-"},
        {"insertSprite", "Insert ->"},
        {"loadSprites", "Load"},
        {"saveSprites", "Save"},
        {"loadBitmap", "Load"},
        {"saveBitmap", "Save"},
        {"imageLabel", "(no image)"},
        {"deleteSprite", "Delete Sprite"},
        {"paletteHeading", "Palette options:"},
        {"addSprite", "Add ->"},
    };
    for (const auto& [name, text] : texts) {
        const QWidget* control = window_->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        const QVariant shown = control->property("text");
        EXPECT_EQ(shown.toString(), QString::fromUtf8(text)) << name;
    }
    EXPECT_FALSE(DitherChecked());
}

TEST_F(MainWindow, NoControlTouchesThePreviewAndAllLieInsideTheWindow) {
    const QRect preview = PreviewRect();
    for (const QWidget* control : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!control->isVisible()) {
            continue;
        }
        EXPECT_FALSE(control->geometry().intersects(preview))
            << control->objectName().toStdString();
        EXPECT_TRUE(window_->rect().contains(control->geometry()))
            << control->objectName().toStdString();
    }
}

TEST_F(Keyboard, FocusStartsOnTheListAndTabVisitsTheListAndButtonsInTemplateOrder) {
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("spriteList"));
    QStringList visited;
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(visited,
              (QStringList{"copySprite", "insertSprite", "loadSprites", "saveSprites", "loadBitmap",
                           "saveBitmap", "deleteSprite", "addSprite", "spriteList"}));
}

TEST_F(Keyboard, EscapeCloses) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(Keyboard, EnterClosesUnlessAButtonHasTheFocus) {
    CurrentImage() = PatternImage(4, 2);
    auto* add = window_->findChild<QPushButton*>("addSprite");
    add->setFocus();
    QTest::keyClick(add, Qt::Key_Return);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(Lines().size(), 1);

    auto* list = window_->findChild<QListWidget*>("spriteList");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(Keyboard, TheCloseCommandCloses) {
    EXPECT_TRUE(window_->close());
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(answerer_.seen().empty());  // nothing asked
}

// Checks the About box's contents, then closes it with its OK button.
void CheckAboutBox(QWidget* about) {
    const auto* version = about->findChild<QLabel*>("version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("quorvel Version 1.1"));
    EXPECT_EQ(about->findChild<QLabel*>("picture")->pixmap().size(), QSize(240, 128));
    EXPECT_EQ(about->findChild<QLabel*>("icon")->pixmap().size(), QSize(32, 32));
    ClickButton(about, QStringLiteral("OK"));
}

TEST_F(WindowMenu, RightClickOffersAboutAfterASeparator) {
    answerer_.Then(
        [](QWidget* menu) { ChooseMenuItem(menu, QStringLiteral("&About quorvel...")); });
    answerer_.Then(CheckAboutBox);
    // Through the window system, which turns a right click into a context-menu request.
    QTest::mouseClick(window_->windowHandle(), Qt::RightButton, {}, QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitFor([this] { return answerer_.seen().size() == 2; }));

    const QStringList items = answerer_.seen()[0].actions;
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items.mid(items.size() - 2), (QStringList{"-", "&About quorvel..."}));
    EXPECT_EQ(answerer_.seen()[1].title, QStringLiteral("About quorvel"));
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(WindowMenu, OpensFromTheKeyboard) {
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
        const std::size_t before = answerer_.seen().size();
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        ASSERT_TRUE(QTest::qWaitFor([&] { return answerer_.seen().size() == before + 1; }));
        EXPECT_EQ(answerer_.seen().back().className, QStringLiteral("QMenu"));
    }
}

TEST_F(Keyboard, F1OpensTheHelpPage) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    ASSERT_TRUE(QTest::qWaitFor([this] { return answerer_.seen().size() == 1; }));
    EXPECT_EQ(answerer_.seen()[0].title, QStringLiteral("quorvel Help"));
}

TEST_F(MainWindow, FileErrorsShowInAModalStopBox) {
    quorvel::ShowFileError("Unable to open \u00E9t\u00E9.bmp for read.");
    ASSERT_EQ(answerer_.seen().size(), 1u);
    const SeenWindow& box = answerer_.seen()[0];
    EXPECT_EQ(box.title, QStringLiteral("File Error"));
    EXPECT_EQ(box.text, QStringLiteral("Unable to open été.bmp for read."));
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
}

}  // namespace
}  // namespace quorvel::testing
