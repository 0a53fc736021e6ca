#pragma once
// The few points where the core and the sprite code touch the user interface. They are
// declared here and defined once per front end: by the window, by the command-line tool
// (messages to standard error, the rest kept in memory), and by a recorder in the tests.
// Each executable links exactly one of these realisations.
//
// Texts are UTF-8.

#include <cstdint>
#include <string>

namespace quorvel {

// A modal error box captioned "File Error"; returns once the user has dismissed it.
void ShowFileError(const std::string& text);

// Marks the preview for repainting; the paint happens later, from the event loop.
void RequestRepaint();

// The sprite list: text lines in insertion order, at most one selected.
std::int32_t GetSelectedLine();  // -1 when no line is selected
void ClearLines();               // also clears the selection
void AppendLine(const std::string& text);
void DeleteLine(std::int32_t index);  // an index past the end is ignored
// Gives an existing line a new text; the selection stays where it is.
void ReplaceLine(std::int32_t index, const std::string& text);
void SelectLine(std::int32_t index);  // callers pass only indexes of existing lines

void SetCountLabel(const std::string& text);
void SetImageLabel(const std::string& text);

// Puts the window's ConversionMode back into its radio group, undoing any choice made there
// since the mode was last read.
void RefreshChoice();

}  // namespace quorvel
