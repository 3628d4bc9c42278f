#include "platform/case_fold.h"

#include <algorithm>

namespace quillpane {
namespace {

void Shift(LowerTable& table, unsigned first, unsigned last, int by) {
    for (unsigned u = first; u <= last; ++u) table[u] = static_cast<char16_t>(static_cast<int>(u) + by);
}

// Pairs of capital and small letters side by side: the capital at even
// (evenCapitals) or odd code points.
void Pairs(LowerTable& table, unsigned first, unsigned last, bool evenCapitals) {
    for (unsigned u = first; u < last; ++u) {
        if ((u % 2 == 0) == evenCapitals) table[u] = static_cast<char16_t>(u + 1);
    }
}

// The simple lowercase mappings of the scripts a memo is likely to hold:
// Latin, Greek, Cyrillic, Armenian and the fullwidth forms.
LowerTable BuildLowerTable() {
    LowerTable table {};
    for (unsigned u = 0; u < table.size(); ++u) table[u] = static_cast<char16_t>(u);
    Shift(table, 'A', 'Z', 32);
    Shift(table, 0x00C0, 0x00D6, 32);
    Shift(table, 0x00D8, 0x00DE, 32);
    Pairs(table, 0x0100, 0x012F, true);
    table[0x0130] = u'i';
    Pairs(table, 0x0132, 0x0137, true);
    Pairs(table, 0x0139, 0x0148, false);
    Pairs(table, 0x014A, 0x0177, true);
    table[0x0178] = 0x00FF;
    Pairs(table, 0x0179, 0x017E, false);
    table[0x0386] = 0x03AC;
    Shift(table, 0x0388, 0x038A, 37);
    table[0x038C] = 0x03CC;
    Shift(table, 0x038E, 0x038F, 63);
    Shift(table, 0x0391, 0x03A1, 32);
    Shift(table, 0x03A3, 0x03AB, 32);
    Shift(table, 0x0400, 0x040F, 80);
    Shift(table, 0x0410, 0x042F, 32);
    Pairs(table, 0x0460, 0x0481, true);
    Pairs(table, 0x048A, 0x04BF, true);
    Pairs(table, 0x04C1, 0x04CE, false);
    Pairs(table, 0x04D0, 0x052F, true);
    Shift(table, 0x0531, 0x0556, 48);
    Pairs(table, 0x1E00, 0x1E95, true);
    Pairs(table, 0x1EA0, 0x1EFF, true);
    Shift(table, 0xFF21, 0xFF3A, 32);
    return table;
}

}  // namespace

const LowerTable& Lower() {
    static const LowerTable table = BuildLowerTable();
    return table;
}

char16_t LowerUnit(char16_t unit) {
    return Lower()[unit];
}

std::u16string LowerCopy(std::u16string_view text) {
    const LowerTable& lower = Lower();
    std::u16string copy(text.size(), u'\0');
    std::transform(text.begin(), text.end(), copy.begin(), [&lower](char16_t c) { return lower[c]; });
    return copy;
}

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    const LowerTable& lower = Lower();
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&lower](char16_t x, char16_t y) { return lower[x] == lower[y]; });
}

}  // namespace quillpane
