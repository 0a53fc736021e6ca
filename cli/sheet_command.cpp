// quorvel-cli sheet [--dither] [--keep-black] [LAYOUT] PICTURE OUTPUT.spr
// quorvel-cli sheet --stitch [--columns N] [--key] INPUT.spr PICTURE
//
// Does what the window's "Import Sheet..." (into a sprite file of its own) and "Export
// Sheet..." do, through the same functions, so messages and bytes are the same.

#include <iostream>
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/option_values.h"
#include "sheets/sheet_files.h"
#include "sheets/sheet_layout.h"

namespace quorvel::cli {

namespace {

int SheetUsage(const std::string& problem) {
    return UsageError(*FindCommand("sheet"), problem);
}

// A layout's optional margin or gap: a whole number from 0. Returns kExitSuccess or, after
// the usage, kExitUsage.
int ReadGap(const std::optional<std::string>& given, const char* name, std::uint32_t& gap) {
    if (!given) {
        return kExitSuccess;
    }
    const std::optional<std::uint32_t> value = ParseWholeNumber(*given, 0);
    if (!value) {
        return SheetUsage(std::string(name) + " takes a whole number from 0, not '" + *given + "'");
    }
    gap = *value;
    return kExitSuccess;
}

// The layout the command line gives, nothing when it gives none. Returns kExitSuccess or,
// after the usage, kExitUsage.
int ReadLayout(const Invocation& invocation, std::optional<SheetLayout>& layout) {
    const bool grid = invocation.grid || invocation.cell;
    if ((invocation.grid && invocation.cell) || (grid && invocation.key)) {
        return SheetUsage("give one of --grid, --cell and --key");
    }
    if (!grid && (invocation.border || invocation.spacing)) {
        return SheetUsage("--border and --spacing go with --grid or --cell");
    }
    if (invocation.key) {
        layout = SheetLayout{SheetLayoutKind::Key};
    }
    if (!grid) {
        return kExitSuccess;
    }
    const std::string& text = invocation.grid ? *invocation.grid : *invocation.cell;
    const auto size = ParseDimensions(text);
    if (!size) {
        return SheetUsage(std::string(invocation.grid ? "--grid takes COLUMNSxROWS"
                                                      : "--cell takes WIDTHxHEIGHT") +
                          ", whole numbers from 1, not '" + text + "'");
    }
    SheetLayout chosen{invocation.grid ? SheetLayoutKind::Grid : SheetLayoutKind::Cell};
    (invocation.grid ? chosen.columns : chosen.width) = size->first;
    (invocation.grid ? chosen.rows : chosen.height) = size->second;
    if (const int status = ReadGap(invocation.border, "--border", chosen.border);
        status != kExitSuccess) {
        return status;
    }
    if (const int status = ReadGap(invocation.spacing, "--spacing", chosen.spacing);
        status != kExitSuccess) {
        return status;
    }
    layout = chosen;
    return kExitSuccess;
}

int Cut(const Invocation& invocation) {
    if (invocation.columns) {
        return SheetUsage("--columns goes with --stitch");
    }
    std::optional<SheetLayout> layout;
    if (const int status = ReadLayout(invocation, layout); status != kExitSuccess) {
        return status;
    }
    return CutSheetFile(invocation.files[0], layout, invocation.mode, invocation.black,
                        invocation.files[1])
               ? kExitSuccess
               : kExitFailure;
}

int Stitch(const Invocation& invocation) {
    // A stitched picture is the file's indexes as they stand: nothing is reduced.
    if (invocation.mode != ConversionMode::Nearest ||
        invocation.black != BlackHandling::AsSearched) {
        return SheetUsage("--stitch takes neither --dither nor --keep-black");
    }
    if (invocation.grid || invocation.cell || invocation.border || invocation.spacing) {
        return SheetUsage("--grid, --cell, --border and --spacing are for cutting");
    }
    if (invocation.columns && invocation.key) {
        return SheetUsage("--columns does not go with --key");
    }
    std::optional<std::uint32_t> columns;
    if (invocation.columns) {
        columns = ParseWholeNumber(*invocation.columns, 1);
        if (!columns) {
            return SheetUsage("--columns takes a whole number from 1, not '" + *invocation.columns +
                              "'");
        }
    }
    const std::optional<std::uint32_t> leftOut =
        StitchSpriteFile(invocation.files[0], invocation.files[1], columns, invocation.key);
    if (!leftOut) {
        return kExitFailure;
    }
    if (*leftOut != 0) {
        std::cerr << "quorvel-cli sheet: " << *leftOut
                  << (*leftOut == 1 ? " sprite without pixels is" : " sprites without pixels are")
                  << " left out, as a key-colour sheet cannot show them; cutting the sheet "
                     "numbers the sprites after them differently.\n";
    }
    return kExitSuccess;
}

}  // namespace

int RunSheet(const Invocation& invocation) {
    return invocation.stitch ? Stitch(invocation) : Cut(invocation);
}

}  // namespace quorvel::cli
