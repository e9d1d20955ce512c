#pragma once

#include <string>

#include "app/file_chooser.h"
#include "app/message_boxes.h"

namespace anitrope {

enum class OpenOrigin;

// The text after the last '.' of the file name, as written; empty without one.
std::string ExtensionOf(const std::string& path);
std::string Upper(std::string text);

// Extensions the command line and dropped files accept, in any case.
bool IsAcceptedExtension(const std::string& extension);
// What the GIF loader reads: ".gif" and anything that is none of the other formats.
bool IsGifExtension(const std::string& extension);

// The refusal of an extension nobody reads, worded for where the file came from.
MessageRequest InvalidFormatMessage(const std::string& extension, OpenOrigin origin);
// The refusal of a picture format whose importer is not in the editor yet.
MessageRequest NotYetReadableMessage(const std::string& extension, OpenOrigin origin);

// Seeds a file dialog with the directory and name of `path`, unless it is empty or "N/A".
void ProposePath(const std::string& path, FileDialogRequest& request);

// "Load Image" with every filter, seeded from the current file unless it is "N/A".
FileDialogRequest OpenDialogRequest(const std::string& currentFile);

// "IDD_RESIZEDLG": answer 0 resizes, 1 cancels loading.
MessageRequest ResizeQuestion();

}  // namespace anitrope
