#pragma once

#include <string>

#include "app/file_chooser.h"
#include "app/message_boxes.h"
#include "formats/picture_format.h"

namespace anitrope {

enum class OpenOrigin;

// Extensions the command line and dropped files accept, in any case.
bool IsAcceptedExtension(const std::string& extension);

// The refusal of an extension nobody reads, worded for where the file came from.
MessageRequest InvalidFormatMessage(const std::string& extension, OpenOrigin origin);

// Seeds a file dialog with the directory and name of `path`, unless it is empty or "N/A".
void ProposePath(const std::string& path, FileDialogRequest& request);

// "Load Image" with every filter, seeded from the current file unless it is "N/A".
FileDialogRequest OpenDialogRequest(const std::string& currentFile);

// "IDD_RESIZEDLG": answer 0 resizes, 1 cancels loading.
MessageRequest ResizeQuestion();

}  // namespace anitrope
