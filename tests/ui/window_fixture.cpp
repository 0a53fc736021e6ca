#include "tests/ui/window_fixture.h"

#include <QTest>

#include "sprites/sprite_set.h"
#include "tests/support/bitmap_builder.h"

namespace quorvel::testing {

QString ScriptedFileDialogs::Choose(const FileChoice& choice) {
    asked.push_back(choice);
    if (answers.empty()) {
        ADD_FAILURE() << "a file dialog opened that the test did not expect";
        return {};
    }
    QString path = answers.front();
    answers.pop_front();
    return path;
}

void WindowTest::SetUp() {
    ASSERT_TRUE(folder_.isValid());
    startFolder_ = QDir::currentPath();
    CurrentImage() = IndexedImage{};
    CurrentSpriteSet() = SpriteSet{};
    auto dialogs = std::make_unique<ScriptedFileDialogs>();
    dialogs_ = dialogs.get();
    window_ = std::make_unique<MainDialog>(std::move(dialogs));
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
}

void WindowTest::TearDown() {
    EXPECT_TRUE(dialogs_->answers.empty()) << "not every scripted file dialog opened";
    EXPECT_TRUE(answerer_.allAnswersUsed()) << "not every expected window opened";
    window_.reset();
    QDir::setCurrent(startFolder_);
}

void WindowTest::Click(const char* button) {
    auto* widget = window_->findChild<QPushButton*>(QString::fromUtf8(button));
    ASSERT_NE(widget, nullptr) << button;
    widget->click();
}

QStringList WindowTest::Lines() const {
    QStringList lines;
    const auto* list = window_->findChild<QListWidget*>(QStringLiteral("spriteList"));
    for (int i = 0; i < list->count(); ++i) {
        lines.push_back(list->item(i)->text());
    }
    return lines;
}

int WindowTest::Selected() const {
    return window_->SelectedLine();
}

QString WindowTest::ImageLabel() const {
    return window_->findChild<QLabel*>(QStringLiteral("imageLabel"))->text();
}

QString WindowTest::CountLabel() const {
    return window_->findChild<QLabel*>(QStringLiteral("countLabel"))->text();
}

bool WindowTest::DitherChecked() const {
    const bool dither =
        window_->findChild<QRadioButton*>(QStringLiteral("diffusionDither"))->isChecked();
    EXPECT_NE(dither,
              window_->findChild<QRadioButton*>(QStringLiteral("nearestColor"))->isChecked());
    return dither;
}

void WindowTest::CheckDither(bool dither) {
    window_
        ->findChild<QRadioButton*>(dither ? QStringLiteral("diffusionDither")
                                          : QStringLiteral("nearestColor"))
        ->click();
}

void WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    WriteTestFile(path.toStdString(), bytes);
}

std::vector<std::uint8_t> ReadFile(const QString& path) {
    return ReadTestFile(path.toStdString());
}

std::vector<std::uint8_t> GradientBitmap(std::uint32_t width, std::uint32_t height) {
    std::vector<std::vector<Bgr>> rows(height, std::vector<Bgr>(width));
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            rows[y][x] = {static_cast<std::uint8_t>(40 + x * 3),
                          static_cast<std::uint8_t>(90 + y * 2),
                          static_cast<std::uint8_t>(150 + x + y)};
        }
    }
    return BuildBitmap(TrueColourBitmap(rows));
}

IndexedImage PatternImage(std::uint32_t width, std::uint32_t height, std::uint8_t first) {
    IndexedImage image{width, height, {}};
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            image.pixels[y * width + x] =
                static_cast<std::uint8_t>(11 + (first - 11 + x + y) % 231);
        }
    }
    return image;
}

}  // namespace quorvel::testing
