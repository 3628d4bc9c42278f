// config.ini: decoding, parsing, the saved form read back, and the settings
// read from whatever the file holds.
#include "fuzz_input.h"

#include "platform/utf_convert.h"
#include "settings/config.h"
#include "settings/ini_file.h"

#include <climits>
#include <set>

namespace {

using namespace quillpane;

bool SameDocument(const IniFile& a, const IniFile& b) {
    return a.sections == b.sections && a.keyOrder == b.keyOrder && a.values == b.values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kIniMaxBytes) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    IniFile document;
    ParseIniText(DecodeIniBytes(bytes), document);
    FUZZ_CHECK(document.sections.size() == document.keyOrder.size());
    FUZZ_CHECK(document.sections.size() == document.values.size());
    FUZZ_CHECK(std::set<std::u16string>(document.sections.begin(), document.sections.end()).size() ==
               document.sections.size());
    for (const std::u16string& section : document.sections) {
        const auto& order = document.keyOrder.at(section);
        const auto& entries = document.values.at(section);
        FUZZ_CHECK(order.size() == entries.size());
        for (const std::u16string& key : order) {
            FUZZ_CHECK(entries.count(key) == 1);
            (void)document.GetInt(section, key, -7);
        }
    }

    // Saved and read again, the document is the same, and so is its text.
    const std::u16string text = FormatIniText(document);
    IniFile reread;
    ParseIniText(text, reread);
    FUZZ_CHECK(SameDocument(document, reread));
    FUZZ_CHECK(FormatIniText(reread) == text);

    const std::string file = EncodeIniFile(document);
    FUZZ_CHECK(file.empty() == text.empty());
    if (!file.empty() && fuzz::WellFormed(text) == text) FUZZ_CHECK(DecodeIniBytes(file) == text);

    (void)ConfigFromIni(document);

    // Integers: written and read back unchanged.
    if (size >= 4) {
        const int value = static_cast<int>(static_cast<unsigned>(data[0]) | (static_cast<unsigned>(data[1]) << 8) |
                                           (static_cast<unsigned>(data[2]) << 16) |
                                           (static_cast<unsigned>(data[3]) << 24));
        FUZZ_CHECK(ParseIniInt(FormatIniInt(value), 0) == value);
    }
    return 0;
}
