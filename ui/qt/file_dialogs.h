#pragma once
// The open and save dialogs behind the file commands. The window asks through this interface
// so that tests can answer in the dialogs' place.

#include <QStringList>

#include "ui/qt/file_choice.h"

namespace quorvel {

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;

    // Shows the dialog `choice` describes, opening in the working folder with the kind's
    // initial name. Returns the chosen files' full paths (one unless `choice.many`), or none
    // when the user cancelled. A save dialog has already refused read-only targets and
    // confirmed replacing an existing file.
    virtual QStringList Choose(const FileChoice& choice) = 0;
};

}  // namespace quorvel
