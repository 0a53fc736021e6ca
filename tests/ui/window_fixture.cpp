#include "tests/ui/window_fixture.h"

#include <QFile>
#include <QTest>

#include "sprites/sprite_set.h"

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
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

std::vector<std::uint8_t> ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> GradientBitmap(std::uint32_t width, std::uint32_t height) {
    const std::uint32_t stride = (3 * width + 3) / 4 * 4;
    const std::uint32_t size = 54 + stride * height;
    std::vector<std::uint8_t> file(size, 0);
    const auto put32 = [&file](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    file[26] = 1;   // planes
    file[28] = 24;  // bits per pixel
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint8_t* pixel = &file[54 + y * stride + 3 * x];
            pixel[0] = static_cast<std::uint8_t>(40 + x * 3);   // blue
            pixel[1] = static_cast<std::uint8_t>(90 + y * 2);   // green
            pixel[2] = static_cast<std::uint8_t>(150 + x + y);  // red
        }
    }
    return file;
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
