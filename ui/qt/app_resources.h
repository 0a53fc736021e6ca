#pragma once
// The pictures and texts the window carries inside the executable.

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace quorvel {

// Registers the embedded files; safe to call more than once. The windows call it themselves.
void InitResources();

QIcon ApplicationIcon();  // 16 × 16 and 32 × 32
QPixmap IconPixmap();     // the 32 × 32 image, for the About box
QPixmap AboutPicture();   // 240 × 128, drawn in the game palette
QString HelpText();       // the help page, as HTML

}  // namespace quorvel
