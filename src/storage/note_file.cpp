// Which file is the memo, and creating, reading and writing it.
#include "storage/note_file.h"

#include "platform/file_system.h"
#include "platform/utf_convert.h"
#include "settings/paths.h"
#include "storage/note_codec.h"

namespace quillpane {
namespace {

constexpr std::u16string_view kDefaultNoteName = u"Note.txt";

// Simple lower-case mapping of ASCII, Latin-1 and Latin Extended-A. The
// dotted and dotless i (U+0130, U+0131) and the long s are left alone: they
// have no one-to-one partner.
char16_t FoldCase(char16_t c) {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
    if (c < 0x100 || c > 0x17E) return c;
    if (c == 0x178) return 0xFF;
    const bool evenUpper = (c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1)) return static_cast<char16_t>(c + 1);
    return c;
}

// A folder where the memo should be counts as missing.
bool Exists(std::u16string_view path) {
    const auto attributes = platform::GetAttributes(path);
    return attributes && !attributes->isDirectory;
}

// Opens as a file whatever its attributes said; reads nothing.
bool IsReadableFile(std::u16string_view path) {
    const platform::ReadStatus status = platform::ReadWholeFile(path, 0).status;
    return status == platform::ReadStatus::Ok || status == platform::ReadStatus::TooLarge;
}

}  // namespace

bool PathEqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

ResolvedNote ResolveNoteFile(std::u16string_view configuredFile, std::u16string_view dataFolder,
                             std::u16string_view welcomeText) {
    const std::u16string programFolder = ProgramFolderOf(dataFolder);
    const std::u16string defaultPath = programFolder + std::u16string(kDefaultNoteName);
    const auto createProgramFolders = [&] {
        CreatePathFolders(VendorFolderOf(dataFolder));
        CreatePathFolders(programFolder);
    };

    std::u16string chosen(configuredFile);
    if (chosen.empty()) {
        createProgramFolders();
        chosen = defaultPath;
    } else if (const std::size_t nameStart = FileNameStart(chosen); nameStart > 0 && !IsReadableFile(chosen)) {
        // The configured folder must already exist; the program never makes it.
        const auto folder = platform::GetAttributes(std::u16string_view(chosen).substr(0, nameStart));
        if (!folder || !folder->isDirectory) {
            createProgramFolders();
            chosen = defaultPath;
        }
    }

    if (Exists(chosen)) return {chosen, false};
    const bool isDefault = PathEqualsIgnoreCase(chosen, defaultPath);
    std::optional<std::u16string_view> welcome;
    if (isDefault) welcome = welcomeText;
    if (CreateNoteFile(chosen, welcome)) return {chosen, isDefault};
    // The file was there after all (its attributes could not be read): never
    // trade the user's memo for another one.
    if (IsReadableFile(chosen)) return {chosen, false};
    if (chosen == defaultPath) return {defaultPath, false};

    // A configured file that cannot be created: use the default one. Its
    // folders are made here too, since the configured path skipped that.
    createProgramFolders();
    if (Exists(defaultPath)) return {defaultPath, false};
    const bool created = CreateNoteFile(defaultPath, welcomeText);
    return {defaultPath, created};
}

bool CreateNoteFile(std::u16string_view path, std::optional<std::u16string_view> welcomeText) {
    std::string bytes = "\xEF\xBB\xBF";
    if (welcomeText) bytes += Utf16ToUtf8(*welcomeText);
    return platform::CreateNewFile(path, bytes);
}

NoteReadResult ReadNoteFile(std::u16string_view path, bool decode) {
    NoteReadResult result;
    platform::ReadResult read = platform::ReadWholeFile(path, kMaxNoteBytes);
    // Of the opened file, before the read: a change that lands during or after
    // the read still differs from it and is picked up later.
    result.writeTime = read.lastWriteTime;
    switch (read.status) {
    case platform::ReadStatus::Ok:
        break;
    case platform::ReadStatus::TooLarge:
        result.status = NoteReadStatus::TooLarge;
        return result;
    case platform::ReadStatus::NotFound:
    case platform::ReadStatus::OpenFailed:
    case platform::ReadStatus::ReadFailed:
        result.status = NoteReadStatus::Unreadable;
        return result;
    }
    const std::size_t bom = read.bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    const std::optional<std::size_t> units = CrLfUtf8Length(std::string_view(read.bytes).substr(bom));
    if (units && *units > 0) {
        result.units = *units;
        result.utf8 = std::move(read.bytes);
        result.utf8.erase(0, bom);
        if (decode) result.text = Utf8ToUtf16Lenient(result.utf8);
        result.foreignBytes = bom == 0;
    } else {
        result.text = DecodeNoteText(read.bytes);
        result.foreignBytes = !read.bytes.empty() && read.bytes != "\xEF\xBB\xBF";
    }
    result.status = NoteReadStatus::Ok;
    return result;
}

bool WriteNoteFile(std::u16string_view path, std::u16string_view text) {
    return platform::WriteFileAtomic(path, EncodeNoteBytes(text), true);
}

}  // namespace quillpane
