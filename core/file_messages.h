#pragma once
// The texts of the "File Error" box, composed in one place.

#include <string>

namespace quorvel {

std::string CannotOpenForRead(const std::string& fileName);   // "Unable to open NAME for read."
std::string CannotOpenForWrite(const std::string& fileName);  // "Unable to open NAME for write."
// "Unable to read NAME: REASON."
std::string CannotRead(const std::string& fileName, const std::string& reason);
std::string CannotWrite(const std::string& fileName);  // "Unable to write NAME."
// "Unable to write NAME: REASON."
std::string CannotWrite(const std::string& fileName, const std::string& reason);
// "Unable to use NAME: REASON.", for a file that reads well but cannot serve the purpose it
// was chosen for.
std::string CannotUse(const std::string& fileName, const std::string& reason);

}  // namespace quorvel
