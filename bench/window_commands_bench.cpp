// Each editing command of the Qt window, undo and redo included, on a room background's 464
// sprites of 144 × 150 (10 MB of pixels), with the real list widget and labels on Qt's
// off-screen platform. Each measured command is put back, unmeasured, before the next run.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <functional>

#include "core/bitmap_writer.h"
#include "core/indexed_image.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "ui/qt/main_dialog.h"

namespace quorvel {
namespace {

constexpr std::uint32_t kTiles = 464;
constexpr std::uint32_t kTileWidth = 144;
constexpr std::uint32_t kTileHeight = 150;

IndexedImage Tile(std::uint32_t seed) {
    IndexedImage tile{kTileWidth, kTileHeight, std::vector<std::uint8_t>(kTileWidth * kTileHeight)};
    for (std::size_t i = 0; i < tile.pixels.size(); ++i) {
        tile.pixels[i] = static_cast<std::uint8_t>(11 + (i * 7 + seed) % 231);
    }
    return tile;
}

// Answers every file dialog with the next of `answers`, each a path in the bench's folder.
class FixedDialogs : public FileDialogs {
  public:
    QStringList Choose(const FileChoice& /*choice*/) override { return answers; }
    QStringList answers;
};

// One window with the background set loaded and the middle sprite selected, for all runs.
class LoadedWindow {
  public:
    LoadedWindow() {
        SpriteSet set;
        for (std::uint32_t i = 0; i < kTiles; ++i) {
            IndexedImage tile = Tile(i);
            set.widths.push_back(tile.width);
            set.heights.push_back(tile.height);
            set.images.push_back(std::move(tile.pixels));
        }
        set.count = kTiles;
        Write("back.spr", EncodeSpriteFile(set).value());
        for (const char* name : {"a1.bmp", "a2.bmp", "a10.bmp"}) {
            Write(name, EncodeBitmap(Tile(7)).value());
        }
        dialogs_ = new FixedDialogs;
        window_ = std::make_unique<MainDialog>(std::unique_ptr<FileDialogs>(dialogs_));
        dialogs_->answers = {folder_.filePath("back.spr")};
        window_->commands().OnLoadSprites();
        dialogs_->answers = {folder_.filePath("a1.bmp"), folder_.filePath("a10.bmp"),
                             folder_.filePath("a2.bmp")};
        CurrentImage() = Tile(3);
    }
    MainDialog& window() { return *window_; }

  private:
    void Write(const char* name, const std::vector<std::uint8_t>& bytes) {
        QFile file(folder_.filePath(QString::fromLatin1(name)));
        file.open(QIODevice::WriteOnly);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    }

    QTemporaryDir folder_;
    FixedDialogs* dialogs_ = nullptr;  // owned by the window
    std::unique_ptr<MainDialog> window_;
};

LoadedWindow& Window() {
    static LoadedWindow window;
    return window;
}

using Command = void (WindowCommands::*)();

// Runs `command` with `line` selected, then, unmeasured, `putBack` to restore the set.
void RunCommand(benchmark::State& state, Command command, Command putBack, int line) {
    MainDialog& window = Window().window();
    WindowCommands& commands = window.commands();
    for (auto _ : state) {
        state.PauseTiming();
        window.SelectLine(line);
        state.ResumeTiming();
        (commands.*command)();
        state.PauseTiming();
        if (putBack != nullptr) {
            (commands.*putBack)();
        }
        state.ResumeTiming();
    }
    state.counters["sprites"] = static_cast<double>(CurrentSpriteSet().count);
}

using C = WindowCommands;
constexpr int kTop = 0;
constexpr int kMiddle = 232;

void BM_Add(benchmark::State& s) {
    RunCommand(s, &C::OnAddSprite, &C::OnUndo, kMiddle);
}
void BM_InsertAtTop(benchmark::State& s) {
    RunCommand(s, &C::OnInsertSprite, &C::OnUndo, kTop);
}
void BM_DeleteAtTop(benchmark::State& s) {
    RunCommand(s, &C::OnDeleteSprite, &C::OnUndo, kTop);
}
void BM_Replace(benchmark::State& s) {
    RunCommand(s, &C::OnReplaceSprite, &C::OnUndo, kMiddle);
}
void BM_MoveUp(benchmark::State& s) {
    RunCommand(s, &C::OnMoveSpriteUp, &C::OnUndo, kMiddle);
}
void BM_MoveDown(benchmark::State& s) {
    RunCommand(s, &C::OnMoveSpriteDown, &C::OnUndo, kMiddle);
}
void BM_AddPicturesAtTop(benchmark::State& s) {
    RunCommand(s, &C::OnAddPictures, &C::OnUndo, kTop);
}
void BM_UndoDeleteAtTop(benchmark::State& s) {
    Window().window().SelectLine(kTop);
    Window().window().commands().OnDeleteSprite();
    RunCommand(s, &C::OnUndo, &C::OnRedo, kTop);
    Window().window().commands().OnUndo();
}
void BM_RedoInsertAtTop(benchmark::State& s) {
    Window().window().SelectLine(kTop);
    Window().window().commands().OnInsertSprite();
    Window().window().commands().OnUndo();
    RunCommand(s, &C::OnRedo, &C::OnUndo, kTop);
}
void BM_CopyImage(benchmark::State& s) {
    RunCommand(s, &C::OnCopyImage, nullptr, kMiddle);
}
void BM_PasteImage(benchmark::State& s) {
    RunCommand(s, &C::OnPasteImage, nullptr, kMiddle);
}

BENCHMARK(BM_Add)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertAtTop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteAtTop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Replace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveUp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveDown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddPicturesAtTop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteAtTop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoInsertAtTop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteImage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
