// The one UTF-8 decoder: strict or lenient like the Windows conversion, and
// optionally turning every line end into CR LF in the same pass.
#pragma once

#include <string>
#include <string_view>

namespace quillpane {

enum class Utf8Errors {
    Fail,     // like MB_ERR_INVALID_CHARS: ill-formed input is refused
    Replace,  // each maximal ill-formed subpart becomes one U+FFFD
};

enum class LineEnds { Keep, CrLf };

// Decodes into out (replacing its contents). False only with Utf8Errors::Fail
// on ill-formed input.
[[nodiscard]] bool DecodeUtf8(std::string_view bytes, std::u16string& out, Utf8Errors errors, LineEnds lineEnds);

}  // namespace quillpane
