// Share…: the memo file, or the selected text as a file, handed to the
// Windows share sheet.
#pragma once

#include <cstdint>
#include <string>

struct IUnknown;

namespace quillpane {

struct App;

struct ShareState {
    // The manager of the window last shared from, with its DataRequested handler.
    IUnknown* manager = nullptr;
    std::int64_t token = 0;
    bool handlerRegistered = false;
    // The selection's file of the last share; kept until the next one or exit,
    // since the target may read it after the sheet closed.
    std::u16string tempFile;
};

// The command. Quiet when the share sheet is not available.
void ShareMemo(App& app);
// At exit: the handler removed, the manager released, the file deleted.
void EndSharing(ShareState& share);

}  // namespace quillpane
